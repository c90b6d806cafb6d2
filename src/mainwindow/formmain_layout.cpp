// The layout pass of the main window: it runs on every resize, at the end of a
// splitter drag, after every language change and after Table 2 is refilled.
#include "formmain.h"

#include "text_grid_model.h"
#include "window_layout.h"
#include "chart/signal_chart.h"
#include "store/table_texts.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>

namespace kvt {
namespace {

void setColumnWidths(QTableView *grid, const QList<int> &widths)
{
    for (int column = 0; column < widths.size(); ++column)
        grid->horizontalHeader()->resizeSection(column, qMax(0, widths[column]));
}

} // namespace

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::Splitter1CanResize(int proposedWidth)
{
    m_table1Share = layout::shareFromDrag(proposedWidth, m_splitter->width());
    FormResize();
}

void TForm1::FormResize()
{
    // Table 1 takes its share of the client width, leaving at least 40 pixels.
    const int clientWidth = m_splitter->width();
    const int table1Width = layout::table1Width(clientWidth, m_table1Share);
    m_splitter->setSizes({table1Width, clientWidth - table1Width - layout::SplitterWidth});

    // At least 3 rows, the two header rows in the current language.
    if (m_table1->gridRowCount() < SeriesTableHeaderRows + 1)
        m_table1->setGridSize(SeriesTableColumns, SeriesTableHeaderRows + 1);
    for (int column = 0; column < SeriesTableColumns; ++column)
        for (int row = 0; row < SeriesTableHeaderRows; ++row)
            m_table1->setCell(column, row, seriesTableHeader(column, row, m_language));
    setColumnWidths(m_grid1, layout::seriesColumnWidths(table1Width, m_splitter->height(), m_table1->gridRowCount(),
                                                        m_table1->gridColumnCount()));
    layOutRightPanel();
}

void TForm1::layOutRightPanel()
{
    // Table 2: at least 2 columns, its headers and labels in the current language.
    if (m_table2->gridColumnCount() < 2)
        m_table2->setGridSize(2, ImpactTableRows);
    for (int column = 1; column < m_table2->gridColumnCount(); ++column)
        m_table2->setCell(column, 0, impactColumnHeader(column, m_language));
    for (int row = 1; row < ImpactTableRows; ++row)
        m_table2->setCell(0, row, impactRowLabel(row, m_language));
    const QList<int> widths = layout::impactColumnWidths(m_panelRight->width(), m_table2->gridColumnCount());
    // The label column is the rows' header, so it stays when the impacts scroll.
    m_grid2->verticalHeader()->setFixedWidth(widths[0]);
    setColumnWidths(m_grid2, widths);
    placeUnderImpactTable();
}

void TForm1::placeUnderImpactTable()
{
    const int panelWidth = m_panelRight->width();
    // Impact columns that still overflow scroll; the table grows by its scroll
    // bar, so that every row stays in sight.
    const QScrollBar *bar = m_grid2->horizontalScrollBar();
    const int barHeight = bar->maximum() > bar->minimum() ? bar->sizeHint().height() : 0;
    // A style whose header is taller than a row (Windows') still shows every row.
    const int rowsHeight = m_grid2->horizontalHeader()->sizeHint().height() + m_grid2->verticalHeader()->length()
                           + 2 * m_grid2->frameWidth();
    const int tableHeight = qMax(layout::impactTableHeight(ImpactTableRows), rowsHeight);
    m_grid2->setGeometry(0, 0, panelWidth, tableHeight + barHeight);

    // The check boxes flow under Table 2; hidden ones have width 0.
    QList<QSize> sizes;
    for (QCheckBox *box : m_checkBoxes)
        sizes << box->size();
    const QList<QRect> places = layout::checkBoxPlaces(panelWidth, m_grid2->height() + 5, sizes);
    for (int i = 0; i < 4; ++i)
        m_checkBoxes[i]->move(places[i].topLeft());

    const int chartHeight = qMax(0, layout::chartHeight(m_panelRight->height(), places.back()));
    m_chart->setGeometry(0, m_panelRight->height() - chartHeight, panelWidth, chartHeight);
}

} // namespace kvt
