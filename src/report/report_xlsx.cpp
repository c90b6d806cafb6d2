#include "report_xlsx.h"

#include "report_sheet.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <clocale>
#include <string>

namespace kvt {
namespace {

// Spreadsheet column widths count characters of the default font, seven
// pixels wide at 96 pixels an inch, plus five pixels of padding.
double columnCharacters(qreal millimetres)
{
    return qMax(0.0, (millimetres * 96 / 25.4 - 5) / 7);
}

double rowPoints(qreal millimetres)
{
    return millimetres * 72 / 25.4;
}

// The library prints numbers with the C library, in the C library's locale:
// a comma there would leave numbers in the file that no reader takes.
class CNumbers {
public:
    CNumbers()
    {
        if (const char *locale = std::setlocale(LC_NUMERIC, nullptr))
            m_saved = locale;
        std::setlocale(LC_NUMERIC, "C");
    }
    ~CNumbers() { std::setlocale(LC_NUMERIC, m_saved.c_str()); }
    CNumbers(const CNumbers &) = delete;
    CNumbers &operator=(const CNumbers &) = delete;

private:
    std::string m_saved = "C";
};

uint8_t horizontalAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignLeft)
        return LXW_ALIGN_LEFT;
    if (alignment & Qt::AlignRight)
        return LXW_ALIGN_RIGHT;
    return LXW_ALIGN_CENTER;
}

uint8_t verticalAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignTop)
        return LXW_ALIGN_VERTICAL_TOP;
    if (alignment & Qt::AlignBottom)
        return LXW_ALIGN_VERTICAL_BOTTOM;
    return LXW_ALIGN_VERTICAL_CENTER;
}

// One format for each look; the workbook owns them.
class Formats {
public:
    Formats(lxw_workbook *workbook, const QString &fontFamily)
        : m_workbook(workbook), m_fontFamily(fontFamily.toUtf8())
    {
    }

    lxw_format *of(const SheetCell &cell)
    {
        const QString key = QStringLiteral("%1 %2 %3 %4")
                                .arg(cell.pointSize)
                                .arg(cell.framed)
                                .arg(int(cell.alignment))
                                .arg(cell.number ? cell.decimals : -1);
        if (lxw_format *format = m_formats.value(key))
            return format;
        lxw_format *format = workbook_add_format(m_workbook);
        format_set_font_name(format, m_fontFamily.constData());
        format_set_font_size(format, cell.pointSize);
        format_set_align(format, horizontalAlignment(cell.alignment));
        format_set_align(format, verticalAlignment(cell.alignment));
        if (cell.framed)
            format_set_border(format, LXW_BORDER_THIN);
        if (cell.number) {
            const QByteArray pattern = cell.decimals > 0 ? "0." + QByteArray(cell.decimals, '0') : "0";
            format_set_num_format(format, pattern.constData());
        }
        m_formats.insert(key, format);
        return format;
    }

private:
    lxw_workbook *m_workbook;
    QByteArray m_fontFamily;
    QHash<QString, lxw_format *> m_formats;
};

// False when a cell was refused (beyond the sheet's rows or columns, say):
// a workbook that lacks some of the report is not written at all.
bool writeRow(lxw_worksheet *sheet, lxw_row_t row, const SheetRow &cells, Formats &formats)
{
    bool written = worksheet_set_row(sheet, row, rowPoints(cells.height), nullptr) == LXW_NO_ERROR;
    lxw_col_t column = 0;
    for (const SheetCell &cell : cells.cells) {
        lxw_format *format = formats.of(cell);
        const QByteArray text = cell.text.toUtf8();
        lxw_error error = LXW_NO_ERROR;
        if (cell.columnsSpanned > 1)
            error = worksheet_merge_range(sheet, row, column, row, lxw_col_t(column + cell.columnsSpanned - 1),
                                          text.constData(), format);
        else if (cell.number)
            error = worksheet_write_number(sheet, row, column, *cell.number, format);
        else
            error = worksheet_write_string(sheet, row, column, text.constData(), format);
        written = written && error == LXW_NO_ERROR;
        column += lxw_col_t(cell.columnsSpanned);
    }
    return written;
}

} // namespace

std::optional<QByteArray> reportXlsx(const PreparedReport &report)
{
    const std::optional<ReportSheet> sheetContent = reportSheet(report);
    if (!sheetContent)
        return std::nullopt;
    const ReportSheet &content = *sheetContent;
    QTemporaryDir folder;
    if (!folder.isValid())
        return std::nullopt;
    const QString fileName = folder.filePath(QStringLiteral("report.xlsx"));

    const CNumbers numbers;
    // The library takes UTF-8 names on every system.
    lxw_workbook *workbook = workbook_new(fileName.toUtf8().constData());
    if (!workbook)
        return std::nullopt;
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, content.name.toUtf8().constData());
    bool complete = sheet != nullptr;
    if (sheet) {
        for (qsizetype column = 0; column < content.columnWidths.size(); ++column)
            complete = complete && worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column),
                                                        columnCharacters(content.columnWidths[column]),
                                                        nullptr) == LXW_NO_ERROR;
        Formats formats(workbook, content.fontFamily);
        for (qsizetype row = 0; complete && row < content.rows.size(); ++row)
            complete = writeRow(sheet, lxw_row_t(row), content.rows[row], formats);
    }
    // Closing writes the file and frees the workbook, complete or not.
    if (workbook_close(workbook) != LXW_NO_ERROR || !complete)
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace kvt
