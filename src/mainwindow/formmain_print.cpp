// The printed report of the series table.
#include "formmain.h"

#include "exports/modulus_report.h"
#include "mainwindow/text_grid_model.h"
#include "report/report_preview.h"
#include "store/table_texts.h"

#include <memory>

namespace kvt {

void TForm1::APrintExecute()
{
    if (m_table1->cell(0, SeriesTableHeaderRows).isEmpty())
        return; // no series to report
    // The report keeps Table 1 as it reads now.
    auto report = std::make_shared<ModulusReport>(m_table1->cells(), m_language);
    auto *preview = new ReportPreview([report](const PageSetup &page) { return report->prepare(page); },
                                      ModulusReport::defaultPage(), fileContext(), this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    offerHelp(preview);
    preview->open();
}

} // namespace kvt
