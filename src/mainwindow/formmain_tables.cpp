// The series and impact tables, the chart they drive, and the two deletions.
#include "formmain.h"

#include "chart/signal_chart.h"
#include "main_window_texts.h"
#include "text_grid_model.h"
#include "store/table_deletions.h"
#include "store/table_texts.h"
#include "support/common_texts.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>

namespace kvt {

QRect TForm1::selectedBlock(const QTableView *grid)
{
    QRect block;
    for (const QModelIndex &index : grid->selectionModel()->selectedIndexes())
        block |= QRect(index.column(), index.row() + 1, 1, 1);
    return block;
}

int TForm1::currentSeriesRow() const
{
    const QModelIndex current = m_grid1->currentIndex();
    return current.isValid() ? current.row() + 1 : -1;
}

void TForm1::setCurrentSeriesRow(int row)
{
    m_grid1->setCurrentIndex(m_table1->index(row - 1, 0));
}

void TForm1::fillSeriesTable()
{
    m_table1->setCells(seriesTableGrid(m_store, m_language));
    markSeriesTable();
    refreshStatistics();
    if (m_store.isEmpty()) {
        // Table 2 keeps its date cell; the chart keeps the last impact.
        QList<QStringList> impacts(ImpactTableRows, QStringList(2));
        impacts[0][0] = m_table2->cell(0, 0);
        m_table2->setCells(impacts);
        FormResize();
        return;
    }
    // The refill leaves no current row, so making row 2 current is always a
    // row change: StringGrid1Click fills Table 2 with the first series.
    setCurrentSeriesRow(SeriesTableHeaderRows);
}

void TForm1::fillImpactTable(quint32 series)
{
    if (series >= m_store.seriesCount()) {
        showMessage(QString::fromUtf16(Table2DataError));
        return;
    }
    const quint32 first = m_store.seriesStart(series);
    m_store.loadCurrentRecord(first);
    m_table2->setCells(impactTableGrid(m_store, series, m_language));
    m_store.setDisplayedImpact(qint32(first));
    DrawImpact(qint32(first));
    FormResize();
}

void TForm1::StringGrid1Click()
{
    const int row = currentSeriesRow();
    if (m_store.isEmpty() || row < SeriesTableHeaderRows)
        return;
    fillImpactTable(quint32(row - SeriesTableHeaderRows));
    AStringGridSelectCancelExecute(m_grid2);
}

void TForm1::StringGrid2Click()
{
    const int row = currentSeriesRow();
    const int column = m_grid2->currentIndex().isValid() ? m_grid2->currentIndex().column() : -1;
    if (m_store.isEmpty() || row < SeriesTableHeaderRows || column < 1)
        return;
    const quint32 series = quint32(row - SeriesTableHeaderRows);
    if (series >= m_store.seriesCount() || quint32(column) > m_store.seriesSize(series))
        return;
    const quint32 position = m_store.seriesStart(series) + quint32(column) - 1;
    m_store.setDisplayedImpact(qint32(position));
    DrawImpact(qint32(position));
    // The corner cell shows the chosen impact's own date and time.
    m_table2->setCell(0, 0, impactDateTimeCell(m_store.record(position)));
}

ChartOptions TForm1::chartOptions() const
{
    ChartOptions options;
    options.fullView = m_modes.fullView;
    options.longCurves = m_modes.longCurves;
    options.codeView = m_modes.codeView;
    for (int c = 0; c < CurveCount; ++c)
        options.checked[c] = m_checkBoxes[c]->isChecked();
    return options;
}

void TForm1::DrawImpact(qint32 position)
{
    if (position >= 0)
        m_store.loadCurrentRecord(quint32(position));
    m_chart->DrawImpact(m_store.currentRecord(), chartOptions(), m_language);
}

void TForm1::CheckBoxAccelClick()
{
    DrawImpact(m_store.displayedImpact());
}

void TForm1::ADelSeriesExecute()
{
    if (noData())
        return;
    const int row = currentSeriesRow();
    QRect block = selectedBlock(m_grid1);
    if (block.isNull() && row >= SeriesTableHeaderRows)
        block = QRect(0, row, 1, 1);
    if (block.isNull())
        return;
    deleteSeriesRange(m_store, quint32(block.top() - SeriesTableHeaderRows),
                      quint32(block.bottom() - SeriesTableHeaderRows));
    fillSeriesTable();
    setCurrentSeriesRow(currentRowAfterDeletion(row, m_table1->gridRowCount()));
}

void TForm1::ADelImpactExecute()
{
    if (noData())
        return;
    const int row = currentSeriesRow();
    const QRect block = selectedBlock(m_grid2);
    if (block.isNull() || row < SeriesTableHeaderRows)
        return; // nothing selected in Table 2: nothing to delete
    deleteImpactColumns(m_store, quint32(row - SeriesTableHeaderRows), block.left(), block.right());
    fillSeriesTable();
    setCurrentSeriesRow(currentRowAfterDeletion(row, m_table1->gridRowCount()));
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched == m_grid1->viewport())
        m_rowBeforePress = currentSeriesRow();
    if (event->type() == QEvent::KeyPress && (watched == m_grid1 || watched == m_grid2)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_C && (key->modifiers() & Qt::ControlModifier)) {
            auto *grid = static_cast<QTableView *>(watched);
            const QRect block = selectedBlock(grid);
            // A single cell, or nothing selected, copies the whole table.
            const bool single = block.width() <= 1 && block.height() <= 1;
            if (grid == m_grid1)
                single ? ACopyTable1Execute() : ACopyBlockTable1Execute();
            else
                single ? ACopyTable2Execute() : ACopyBlockTable2Execute();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kvt
