#include "report_search.h"

#include <algorithm>

namespace kvt {
namespace {

const TextPair NotFound{u"Текст не найден", u"Text not found"};
const TextPair HitOfHits{u"Найдено: %1 из %2", u"Match %1 of %2"};

} // namespace

QList<ReportHit> findInReport(const PreparedReport &report, const QString &what)
{
    QList<ReportHit> hits;
    if (what.isEmpty())
        return hits;
    for (qsizetype page = 0; page < report.pages.size(); ++page) {
        const qsizetype first = hits.size();
        for (const PreparedBand &band : report.pages[page].bands)
            for (const ReportText &text : band.texts)
                if (text.text.contains(what, Qt::CaseInsensitive))
                    hits.append({page, text.box});
        // In reading order, whatever order the bands and texts came in.
        std::stable_sort(hits.begin() + first, hits.end(), [](const ReportHit &a, const ReportHit &b) {
            return a.box.top() != b.box.top() ? a.box.top() < b.box.top() : a.box.left() < b.box.left();
        });
    }
    return hits;
}

void ReportSearch::find(const PreparedReport &report, const QString &what)
{
    m_text = what;
    m_hits = findInReport(report, what);
    m_current = m_hits.isEmpty() ? -1 : 0;
}

void ReportSearch::findAgain(const PreparedReport &report)
{
    const qsizetype current = m_current;
    m_hits = findInReport(report, m_text);
    m_current = m_hits.isEmpty() ? -1 : qBound<qsizetype>(0, current, m_hits.size() - 1);
}

void ReportSearch::next()
{
    if (!m_hits.isEmpty())
        m_current = (m_current + 1) % m_hits.size();
}

void ReportSearch::previous()
{
    if (!m_hits.isEmpty())
        m_current = (m_current + m_hits.size() - 1) % m_hits.size();
}

QString searchStatus(const ReportSearch &search, Language language)
{
    if (search.text().isEmpty())
        return {};
    if (search.hits().isEmpty())
        return NotFound.text(language);
    return HitOfHits.text(language).arg(search.current() + 1).arg(search.hits().size());
}

} // namespace kvt
