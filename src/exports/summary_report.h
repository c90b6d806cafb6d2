#pragma once

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
    // statistics: statisticsGrid's rows (evaluation/statistics_table.h), its header row first.
    SummaryReport(QList<QStringList> statistics, Language language);
    SummaryReport(const SummaryReport &) = delete;
    SummaryReport &operator=(const SummaryReport &) = delete;

    // The summary on new pages after the report's, on the report's page.
    void appendTo(PreparedReport &report);

    // Record r stands for the statistics' row r + 1.
    UserDataSet groups{QStringLiteral("SummaryGroups")};

    static ReportLayout layout(const PageSetup &page);

private:
    void getValue(const QString &name, QString &value) const;

    QList<QStringList> m_statistics;
    Language m_language;
};

} // namespace kvt
