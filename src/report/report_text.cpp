#include "report_text.h"

#include "report_bounds.h"
#include "support/csv_text.h"

namespace kvt {
namespace {

constexpr qreal MillimetresPerCharacter = 2;

// The band's texts on one line, each at its column as its alignment places it
// there; a text wider than its column pushes the next one on, one blank after it.
// Nothing when a text would start further in than any report's line.
std::optional<QString> textLine(const PreparedBand &band, qreal leftMargin)
{
    QString line;
    for (const ReportText &text : band.texts) {
        if (text.text.isEmpty())
            continue;
        const int column = qRound((text.box.left() - leftMargin) / MillimetresPerCharacter);
        const int width = qRound(text.box.width() / MillimetresPerCharacter);
        const int room = qMax<int>(0, width - int(text.text.size()));
        int at = column + (text.alignment & Qt::AlignLeft ? 0 : text.alignment & Qt::AlignRight ? room : room / 2);
        if (at > report_bounds::LineStart)
            return std::nullopt;
        if (!line.isEmpty())
            at = qMax<int>(at, int(line.size()) + 1);
        if (line.size() < at)
            line.resize(at, u' ');
        line += text.text;
    }
    return line;
}

} // namespace

QList<ReportContent> reportSections(const PreparedReport &report)
{
    QList<ReportContent> sections{ReportContent{}};
    bool headsSeen = false;
    for (const PreparedPage &page : report.pages) {
        for (const PreparedBand &band : page.bands) {
            ReportContent *content = &sections.last();
            switch (band.kind) {
            case BandKind::ReportTitle:
                if (!content->title.isEmpty() || headsSeen || !content->records.isEmpty()) {
                    content = &sections.emplace_back();
                    headsSeen = false;
                }
                content->title = band.texts;
                break;
            case BandKind::PageHeader:
                if (!headsSeen)
                    content->heads = band.texts;
                headsSeen = true;
                break;
            case BandKind::MasterData:
                content->records << band.texts;
                break;
            case BandKind::PageFooter:
                break;
            }
        }
    }
    return sections;
}

ReportContent reportContent(const PreparedReport &report)
{
    return reportSections(report).first();
}

std::optional<QByteArray> reportPlainText(const PreparedReport &report)
{
    QString text;
    for (const PreparedPage &page : report.pages) {
        if (!text.isEmpty())
            text += u'\f';
        for (const PreparedBand &band : page.bands) {
            const std::optional<QString> line = textLine(band, report.page.margins.left());
            if (!line || text.size() + line->size() >= report_bounds::PlainTextCharacters)
                return std::nullopt;
            text += *line + u'\n';
        }
    }
    return text.toUtf8();
}

QByteArray reportCsv(const PreparedReport &report)
{
    const ReportContent content = reportContent(report);
    QList<QStringList> rows;
    for (const QList<ReportText> &row : QList<QList<ReportText>>{content.title, content.heads} + content.records) {
        QStringList fields;
        for (const ReportText &field : row)
            fields << field.text;
        rows << fields;
    }
    return csvBytes(rows);
}

} // namespace kvt
