#include "report_sheet.h"

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

SheetRow sheetRow(const QList<ReportText> &texts, ReportSheet &sheet, QList<qreal> &lefts, bool numbers)
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
            lefts << text.box.left();
            sheet.columnWidths << text.box.width();
        }
        SheetCell cell{text.text, std::nullopt, 0, 1, text.pointSize, text.framed, text.alignment};
        if (numbers)
            cell.number = numberIn(text.text, cell.decimals);
        while (column + cell.columnsSpanned < lefts.size()
               && lefts[column + cell.columnsSpanned] < text.box.right() - ColumnTolerance)
            ++cell.columnsSpanned;
        // Spanned columns belong to this cell.
        column += cell.columnsSpanned - 1;
        row.cells << cell;
        row.height = qMax(row.height, text.box.height());
    }
    return row;
}

} // namespace

ReportSheet reportSheet(const PreparedReport &report)
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
    QList<qreal> lefts;
    for (const ReportText &text : columns) {
        lefts << text.box.left();
        sheet.columnWidths << text.box.width();
    }
    // Placed first, so that the title spans the columns.
    const SheetRow heads = sheetRow(content.heads, sheet, lefts, false);
    QList<SheetRow> records;
    for (const QList<ReportText> &record : content.records)
        records << sheetRow(record, sheet, lefts, true);
    if (!content.title.isEmpty())
        sheet.rows << sheetRow(content.title, sheet, lefts, false);
    if (!content.heads.isEmpty())
        sheet.rows << heads;
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
