#include "prepared_report.h"

namespace kvt {
namespace {

// Band heights add up in floating point: a band that fits exactly must fit.
constexpr qreal Tolerance = 1e-6;

const ReportBand *bandOf(const ReportLayout &layout, BandKind kind)
{
    for (const ReportBand &band : layout.bands)
        if (band.kind == kind)
            return &band;
    return nullptr;
}

class PageBuilder {
public:
    PageBuilder(PreparedReport &report, const ReportLayout &layout, const ReportVariables &variables)
        : m_layout(layout), m_page(layout.page), m_variables(variables), m_report(report),
          m_firstPage(report.pages.size() + 1)
    {
        m_report.page = m_page;
        m_report.fontFamily = m_layout.fontFamily;
    }

    void startPage()
    {
        m_report.pages.append(PreparedPage{});
        m_top = 0;
        m_records = 0;
        if (m_report.pages.size() == m_firstPage)
            place(bandOf(m_layout, BandKind::ReportTitle));
        place(bandOf(m_layout, BandKind::PageHeader));
    }

    // Places a record's band, on a new page when it does not fit on this one.
    void placeRecord(const ReportBand &band)
    {
        if (m_records > 0 && m_top + band.height > bottomOfRecords() + Tolerance) {
            finishPage();
            startPage();
        }
        place(&band);
        ++m_records;
    }

    void finish() { finishPage(); }

private:
    qreal printableHeight() const { return m_page.paper.height() - m_page.margins.top() - m_page.margins.bottom(); }
    const ReportBand *footer() const
    {
        const ReportBand *band = bandOf(m_layout, BandKind::PageFooter);
        return band && (band->onFirstPage || m_report.pages.size() > 1) ? band : nullptr;
    }
    qreal bottomOfRecords() const
    {
        const ReportBand *band = footer();
        return printableHeight() - (band ? band->height : 0);
    }

    void finishPage()
    {
        if (const ReportBand *band = footer()) {
            m_top = printableHeight() - band->height;
            place(band);
        }
    }

    void place(const ReportBand *band)
    {
        if (!band)
            return;
        PreparedBand placed{band->kind, {}};
        const QPointF origin(m_page.margins.left(), m_page.margins.top() + m_top);
        for (ReportText text : band->texts) {
            text.box.translate(origin);
            text.text = expandVariables(text.text, int(m_report.pages.size()), m_variables);
            placed.texts.append(std::move(text));
        }
        m_report.pages.last().bands.append(std::move(placed));
        m_top += band->height;
    }

    const ReportLayout &m_layout;
    const PageSetup &m_page;
    const ReportVariables &m_variables;
    PreparedReport &m_report;
    const qsizetype m_firstPage; // the number of this layout's first page
    qreal m_top = 0;
    int m_records = 0;
};

} // namespace

QString expandVariables(const QString &text, int pageNumber, const ReportVariables &variables)
{
    QString expanded;
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'[', from);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u']', open + 1);
        if (close < 0)
            return expanded + text.mid(from);
        expanded += text.mid(from, open - from);
        const QString name = text.mid(open + 1, close - open - 1);
        QString value;
        if (name == u"PAGE#")
            value = QString::number(pageNumber);
        else if (variables)
            variables(name, value);
        expanded += value;
        from = close + 1;
    }
}

PreparedReport prepareReport(const ReportLayout &layout, UserDataSet &data, const ReportVariables &variables)
{
    PreparedReport report;
    appendReport(report, layout, data, variables);
    return report;
}

void appendReport(PreparedReport &report, const ReportLayout &layout, UserDataSet &data,
                  const ReportVariables &variables)
{
    PageBuilder builder(report, layout, variables);
    builder.startPage();
    if (const ReportBand *master = bandOf(layout, BandKind::MasterData)) {
        for (data.first(); !data.eof(); data.next())
            builder.placeRecord(*master);
    }
    builder.finish();
}

} // namespace kvt
