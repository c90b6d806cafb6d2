#pragma once

#include "evaluation/group_statistics.h"
#include "report/prepared_report.h"
#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// The summary page of the printed report: the statistics of the series
// against their requirements, after the series list, in the series list's
// font, frames and page footer. The page is narrower than the statistics, so
// it holds the columns that judge a lot: the names, the number of series, the
// mean and CV of the dynamic moduli, the mean static modulus, the rule's
// moduli, the share of series meeting it and the verdict.
class SummaryReport {
public:
    // The groups as groupStatistics judged them (evaluation/group_statistics.h).
    SummaryReport(const QList<GroupStatistics> &statistics, Language language);
    SummaryReport(const SummaryReport &) = delete;
    SummaryReport &operator=(const SummaryReport &) = delete;

    // The summary on new pages after the report's, on the report's page.
    void appendTo(PreparedReport &report);

    // Record r stands for the statistics' row r + 1.
    UserDataSet groups{QStringLiteral("SummaryGroups")};

    // withNote: the title band explains the verdicts marked "*".
    static ReportLayout layout(const PageSetup &page, bool withNote);

private:
    void getValue(const QString &name, QString &value) const;

    QList<QStringList> m_statistics; // statisticsGrid's rows, its header row first
    QList<bool> m_marked;            // by group: does not meet for a CV one series cannot have
    Language m_language;
};

} // namespace kvt
