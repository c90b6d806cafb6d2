// The printed report of the series table.
#include "formmain.h"

#include "evaluation/requirement_settings.h"
#include "evaluation/group_statistics.h"
#include "exports/modulus_report.h"
#include "exports/summary_report.h"
#include "mainwindow/text_grid_model.h"
#include "report/report_preview.h"
#include "store/table_texts.h"

#include <memory>

namespace kvt {
namespace {

const ReportChoice SummaryChoice{{u"Сводная страница", u"Summary page"}, QStringLiteral("SummaryButton")};

} // namespace

void TForm1::APrintExecute()
{
    if (m_table1->cell(0, SeriesTableHeaderRows).isEmpty())
        return; // no series to report
    // The report keeps Table 1 and the requirements as they read now.
    auto report = std::make_shared<ModulusReport>(m_table1->cells(), m_language);
    auto summary = std::make_shared<SummaryReport>(
        groupStatistics(seriesValues(m_store), readRequirementRules(m_settings).value_or(QList<RequirementRule>{})),
        m_language);
    auto *preview = new ReportPreview(
        [report, summary](const PageSetup &page, bool withSummary) {
            PreparedReport prepared = report->prepare(page);
            if (withSummary)
                summary->appendTo(prepared);
            return prepared;
        },
        SummaryChoice, ModulusReport::defaultPage(), fileContext(), this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    offerHelp(preview);
    preview->open();
}

} // namespace kvt
