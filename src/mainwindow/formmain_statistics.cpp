// The statistics window of the field evaluation, and its way back to Table 1.
#include "formmain.h"

#include "evaluation/requirement_settings.h"
#include "evaluation/series_values.h"
#include "evaluation/statistics_window.h"
#include "store/table_texts.h"
#include "text_grid_model.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace kvt {

StatisticsWindow *TForm1::statisticsWindow() const
{
    return m_statistics;
}

void TForm1::AStatisticsExecute()
{
    if (m_statistics) {
        m_statistics->raise();
        m_statistics->activateWindow();
        return;
    }
    if (noData())
        return;
    m_statistics = new StatisticsWindow(fileContext(), this);
    m_statistics->setAttribute(Qt::WA_DeleteOnClose);
    offerHelp(m_statistics);
    connect(m_statistics, &StatisticsWindow::seriesChosen, this, &TForm1::showSeriesRow);
    connect(this, &TForm1::requirementsChangedSignal, m_statistics, [this] { refreshStatistics(); });
    refreshStatistics();
    m_statistics->show();
}

void TForm1::refreshStatistics()
{
    // Rules that cannot be trusted judge nothing, as no rules would.
    if (!m_statistics)
        return;
    const QList<RequirementRule> rules = readRequirementRules(m_settings).value_or(QList<RequirementRule>{});
    m_statistics->showStatistics(seriesValues(m_store), rules, m_language);
}

void TForm1::showSeriesRow(int row)
{
    if (row < SeriesTableHeaderRows || row >= m_table1->gridRowCount())
        return;
    // A new current row shows its series; the current row is shown afresh, as
    // a click on it would. Either way the selection is that row alone.
    const bool sameRow = row == currentSeriesRow();
    const QModelIndex index = m_table1->index(row - 1, 0);
    m_grid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (sameRow)
        StringGrid1Click();
    m_grid1->scrollTo(index);
}

} // namespace kvt
