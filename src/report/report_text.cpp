#include "report_text.h"

#include <QRegularExpression>

namespace kvt {
namespace {

constexpr qreal MillimetresPerCharacter = 2;

// The band's texts on one line, each at its column as its alignment places it
// there; a text wider than its column pushes the next one on, one blank after it.
QString textLine(const PreparedBand &band, qreal leftMargin)
{
    QString line;
    for (const ReportText &text : band.texts) {
        if (text.text.isEmpty())
            continue;
        const int column = qRound((text.box.left() - leftMargin) / MillimetresPerCharacter);
        const int width = qRound(text.box.width() / MillimetresPerCharacter);
        const int room = qMax<int>(0, width - int(text.text.size()));
        int at = column + (text.alignment & Qt::AlignLeft ? 0 : text.alignment & Qt::AlignRight ? room : room / 2);
        if (!line.isEmpty())
            at = qMax<int>(at, int(line.size()) + 1);
        line = line.leftJustified(at, u' ') + text.text;
    }
    return line;
}

// A spreadsheet takes a field that begins with "=", "+", "-" or "@" for a
// formula; names come from the instrument, so such a name is opened with an
// apostrophe and stays text. Numbers ("-35,2") stay numbers.
QString defused(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?\\d+(,\\d+)?$"));
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !formulaStarts.contains(text.front()) || number.match(text).hasMatch())
        return text;
    return u'\'' + text;
}

QString csvField(const QString &field)
{
    const QString text = defused(field);
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

ReportContent reportContent(const PreparedReport &report)
{
    ReportContent content;
    bool headsSeen = false;
    for (const PreparedPage &page : report.pages) {
        for (const PreparedBand &band : page.bands) {
            switch (band.kind) {
            case BandKind::ReportTitle:
                content.title = band.texts;
                break;
            case BandKind::PageHeader:
                if (!headsSeen)
                    content.heads = band.texts;
                headsSeen = true;
                break;
            case BandKind::MasterData:
                content.records << band.texts;
                break;
            case BandKind::PageFooter:
                break;
            }
        }
    }
    return content;
}

QByteArray reportPlainText(const PreparedReport &report)
{
    QString text;
    for (const PreparedPage &page : report.pages) {
        if (!text.isEmpty())
            text += u'\f';
        for (const PreparedBand &band : page.bands)
            text += textLine(band, report.page.margins.left()) + u'\n';
    }
    return text.toUtf8();
}

QByteArray reportCsv(const PreparedReport &report)
{
    const ReportContent content = reportContent(report);
    QString csv;
    for (const QList<ReportText> &row : QList<QList<ReportText>>{content.title, content.heads} + content.records) {
        QStringList fields;
        for (const ReportText &field : row)
            fields << csvField(field.text);
        csv += fields.join(u';') + QStringLiteral("\r\n");
    }
    return "\xEF\xBB\xBF" + csv.toUtf8();
}

} // namespace kvt
