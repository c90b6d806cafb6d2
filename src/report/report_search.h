#pragma once

#include "prepared_report.h"
#include "support/bilingual.h"

#include <QList>
#include <QRectF>
#include <QString>

namespace kvt {

// A text of a prepared report that holds what is looked for: its page,
// counting from 0, and its box on the paper.
struct ReportHit {
    qsizetype page = 0;
    QRectF box;

    friend bool operator==(const ReportHit &, const ReportHit &) = default;
};

// The texts that hold `what`, whatever the case of its letters: page by page,
// each page's from top to bottom and, side by side, from left to right.
// Nothing for an empty `what`.
QList<ReportHit> findInReport(const PreparedReport &report, const QString &what);

// The preview's search: its hits and the one shown now. Stepping on from the
// last hit comes back to the first, and back from the first to the last.
class ReportSearch {
public:
    // Looks for a text afresh; the first hit becomes the current one.
    void find(const PreparedReport &report, const QString &what);
    // The same text in a report prepared again (another page set-up, another
    // report opened): the current hit keeps its number where there are as many.
    void findAgain(const PreparedReport &report);
    void next();
    void previous();

    const QString &text() const { return m_text; }
    const QList<ReportHit> &hits() const { return m_hits; }
    // The current hit's place among the hits, or -1 when there is none.
    qsizetype current() const { return m_current; }

private:
    QString m_text;
    QList<ReportHit> m_hits;
    qsizetype m_current = -1;
};

// What the search says: nothing before a text is typed, that the text is not
// found, or which hit of how many is shown.
QString searchStatus(const ReportSearch &search, Language language);

} // namespace kvt
