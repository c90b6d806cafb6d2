#include "report_document.h"

#include "report_bounds.h"
#include "report_painter.h"
#include "report_text.h"

#include <QBuffer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>

namespace kvt {
namespace {

QTextCharFormat textFormat(const PreparedReport &report, const ReportText &text)
{
    QTextCharFormat format;
    format.setFont(reportFont(report.fontFamily, text.pointSize));
    return format;
}

QTextBlockFormat centred()
{
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignCenter);
    return format;
}

void fillRow(const PreparedReport &report, QTextTable &table, int row, const QList<ReportText> &texts)
{
    for (int column = 0; column < qMin<int>(table.columns(), int(texts.size())); ++column) {
        QTextCursor cell = table.cellAt(row, column).firstCursorPosition();
        cell.setBlockFormat(centred());
        cell.insertText(texts[column].text, textFormat(report, texts[column]));
    }
}

// A title, and the heads and records as a framed table under it.
void insertSection(const PreparedReport &report, QTextCursor &cursor, const ReportContent &content)
{
    cursor.setBlockFormat(centred());
    for (const ReportText &text : content.title)
        cursor.insertText(text.text, textFormat(report, text));

    if (!content.heads.isEmpty()) {
        qreal width = 0;
        for (const ReportText &head : content.heads)
            width += head.box.width();
        QList<QTextLength> widths;
        for (const ReportText &head : content.heads)
            widths << QTextLength(QTextLength::PercentageLength, 100 * head.box.width() / width);
        QTextTableFormat tableFormat;
        tableFormat.setColumnWidthConstraints(widths);
        tableFormat.setHeaderRowCount(1);
        tableFormat.setBorder(1);
        tableFormat.setBorderBrush(Qt::black);
        tableFormat.setBorderCollapse(true);
        tableFormat.setCellSpacing(0);
        tableFormat.setCellPadding(2);
        QTextTable *table = cursor.insertTable(1 + int(content.records.size()), int(content.heads.size()), tableFormat);
        fillRow(report, *table, 0, content.heads);
        for (qsizetype record = 0; record < content.records.size(); ++record)
            fillRow(report, *table, int(record) + 1, content.records[record]);
    }
    cursor.movePosition(QTextCursor::End);
}

} // namespace

bool documentFits(const PreparedReport &report)
{
    qsizetype cells = 0;
    for (const ReportContent &content : reportSections(report)) {
        if (content.heads.size() > report_bounds::Columns)
            return false;
        cells += (1 + content.records.size()) * content.heads.size();
    }
    return cells <= report_bounds::Cells;
}

std::optional<QByteArray> reportDocument(const PreparedReport &report, const QByteArray &format)
{
    if (!documentFits(report))
        return std::nullopt;
    QTextDocument document;
    QTextCursor cursor(&document);
    for (const ReportContent &content : reportSections(report)) {
        if (!cursor.atStart())
            cursor.insertBlock();
        insertSection(report, cursor, content);
    }

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, format);
    writer.write(&document);
    return buffer.data();
}

} // namespace kvt
