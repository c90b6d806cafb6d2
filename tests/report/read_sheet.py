"""Reads a spreadsheet the report exported, with Debian's own readers, and
prints what a user of a spreadsheet program would find as JSON: the sheets'
names, the merged ranges, the column widths in millimetres and, for each
row, every cell's text or number, its number format's decimals, font and
frame.

    read_sheet.py xlsx FILE     by openpyxl
    read_sheet.py ods FILE      by odfpy
"""
import json
import re
import sys


def read_xlsx(path):
    import openpyxl
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    rows = []
    for row in sheet.iter_rows():
        cells = []
        for cell in row:
            if cell.value is None:
                continue
            entry = {"column": cell.column - 1, "type": cell.data_type, "value": cell.value,
                     "font": cell.font.name, "size": cell.font.sz, "framed": cell.border.left.style is not None}
            if cell.data_type == "n":
                decimals = re.fullmatch(r"0(?:\.(0+))?", cell.number_format)
                entry["decimals"] = len(decimals.group(1) or "") if decimals else None
            cells.append(entry)
        rows.append(cells)
    # A stored width counts characters of seven pixels, padding included, 96 an inch.
    widths = [sheet.column_dimensions[chr(ord("A") + i)].width * 7 * 25.4 / 96
              for i in range(sheet.max_column)]
    return {"sheets": book.sheetnames, "merged": [str(r) for r in sheet.merged_cells.ranges],
            "widths": widths, "rows": rows}


def read_ods(path):
    from odf.opendocument import load
    from odf import number, style, table, text
    document = load(path)
    styles = {s.getAttribute("name"): s for s in document.automaticstyles.getElementsByType(style.Style)}
    decimals = {s.getAttribute("name"): int(s.getElementsByType(number.Number)[0].getAttribute("decimalplaces"))
                for s in document.automaticstyles.getElementsByType(number.NumberStyle)}

    def properties(name, kind):
        found = styles[name].getElementsByType(kind)
        return found[0] if found else None

    tables = document.spreadsheet.getElementsByType(table.Table)
    sheet = tables[0]
    widths = [float(properties(c.getAttribute("stylename"), style.TableColumnProperties)
                    .getAttribute("columnwidth").rstrip("m")) for c in sheet.getElementsByType(table.TableColumn)]
    rows, merged = [], []
    for r, row in enumerate(sheet.getElementsByType(table.TableRow)):
        cells, column = [], 0
        for cell in row.childNodes:
            spanned = int(cell.getAttribute("numbercolumnsspanned") or 1) if cell.qname[1] == "table-cell" else 1
            if cell.qname[1] == "table-cell":
                name = cell.getAttribute("stylename")
                shown = "\n".join(str(p) for p in cell.getElementsByType(text.P))
                entry = {"column": column, "type": "n" if cell.getAttribute("valuetype") == "float" else "s",
                         "value": float(cell.getAttribute("value")) if cell.getAttribute("valuetype") == "float"
                         else shown, "shown": shown}
                text_properties = properties(name, style.TextProperties)
                entry["font"] = text_properties.getAttribute("fontfamily")
                entry["size"] = float(text_properties.getAttribute("fontsize").rstrip("pt"))
                entry["framed"] = bool(properties(name, style.TableCellProperties).getAttribute("border"))
                if entry["type"] == "n":
                    entry["decimals"] = decimals.get(styles[name].getAttribute("datastylename"))
                if spanned > 1:
                    merged.append((r, column, spanned))
                cells.append(entry)
            column += 1
        rows.append(cells)
    # As openpyxl names merged ranges.
    merged = ["%s%d:%s%d" % (chr(65 + c), r + 1, chr(65 + c + n - 1), r + 1) for r, c, n in merged]
    return {"sheets": [t.getAttribute("name") for t in tables], "merged": merged, "widths": widths, "rows": rows}


kind, path = sys.argv[1], sys.argv[2]
print(json.dumps(read_xlsx(path) if kind == "xlsx" else read_ods(path), ensure_ascii=False))
