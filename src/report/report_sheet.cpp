#include "report_sheet.h"

#include "report_bounds.h"
#include "report_text.h"

#include <QRegularExpression>

namespace kvt {
namespace {

// Boxes that start this close to a column's left edge start in that column.
constexpr qreal ColumnTolerance = 0.5;
constexpr qsizetype SheetNameLength = 31;

// Only what shows again exactly as it was written: no leading zeros, no
// exponent, no more digits than a double keeps.
std::optional<double> numberIn(const QString &text, int &decimals)
{
    static const QRegularExpression number(QStringLiteral("^-?(0|[1-9]\\d{0,14})(,(\\d{1,6}))?$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    decimals = int(match.capturedLength(3));
    return QString(text).replace(u',', u'.').toDouble();
}

// Nothing once the sheet would have more columns or cells than any report's;
// `cells` counts the cells of the rows placed so far, spanned ones included.
std::optional<SheetRow> sheetRow(const QList<ReportText> &texts, ReportSheet &sheet, QList<qreal> &lefts,
                                 bool numbers, qsizetype &cells)
{
    SheetRow row;
    int column = -1;
    for (const ReportText &text : texts) {
        int at = 0;
        for (qsizetype i = 0; i < lefts.size(); ++i)
            if (lefts[i] <= text.box.left() + ColumnTolerance)
                at = int(i);
        // A text that overlaps the one before it takes the next column.
        column = qMax(at, column + 1);
        if (column >= lefts.size()) {
            if (lefts.size() == report_bounds::Columns)
                return std::nullopt;
            lefts << text.box.left();
            sheet.columnWidths << text.box.width();
        }
        SheetCell cell{text.text, std::nullopt, 0, 1, text.pointSize, text.framed, text.alignment};
        if (numbers)
            cell.number = numberIn(text.text, cell.decimals);
        while (column + cell.columnsSpanned < lefts.size()
               && lefts[column + cell.columnsSpanned] < text.box.right() - ColumnTolerance)
            ++cell.columnsSpanned;
        cells += cell.columnsSpanned;
        if (cells > report_bounds::Cells)
            return std::nullopt;
        // Spanned columns belong to this cell.
        column += cell.columnsSpanned - 1;
        row.cells << cell;
        row.height = qMax(row.height, text.box.height());
    }
    return row;
}

} // namespace

std::optional<ReportSheet> reportSheet(const PreparedReport &report)
{
    const ReportContent content = reportContent(report);
    ReportSheet sheet;
    sheet.fontFamily = report.fontFamily;
    if (!content.title.isEmpty())
        sheet.name = content.title.first().text;
    sheet.name = sheetName(sheet.name);

    // The columns are the heads' (the records' where there are none).
    const QList<ReportText> &columns = content.heads.isEmpty() && !content.records.isEmpty()
                                           ? content.records.first()
                                           : content.heads;
    if (columns.size() > report_bounds::Columns)
        return std::nullopt;
    QList<qreal> lefts;
    for (const ReportText &text : columns) {
        lefts << text.box.left();
        sheet.columnWidths << text.box.width();
    }
    qsizetype cells = 0;
    // Placed first, so that the title spans the columns.
    const std::optional<SheetRow> heads = sheetRow(content.heads, sheet, lefts, false, cells);
    if (!heads)
        return std::nullopt;
    QList<SheetRow> records;
    for (const QList<ReportText> &record : content.records) {
        std::optional<SheetRow> row = sheetRow(record, sheet, lefts, true, cells);
        if (!row)
            return std::nullopt;
        records << std::move(*row);
    }
    if (!content.title.isEmpty()) {
        std::optional<SheetRow> title = sheetRow(content.title, sheet, lefts, false, cells);
        if (!title)
            return std::nullopt;
        sheet.rows << std::move(*title);
    }
    if (!content.heads.isEmpty())
        sheet.rows << *heads;
    sheet.rows << records;
    return sheet;
}

QString sheetName(const QString &title)
{
    QString name = title;
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    name.replace(forbidden, QStringLiteral(" "));
    name = name.simplified();
    if (name.size() > SheetNameLength)
        name.truncate(name.at(SheetNameLength - 1).isHighSurrogate() ? SheetNameLength - 1 : SheetNameLength);
    while (name.startsWith(u'\'') || name.endsWith(u'\''))
        name = name.startsWith(u'\'') ? name.mid(1) : name.chopped(1);
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

} // namespace kvt
