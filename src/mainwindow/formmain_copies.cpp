// The clipboard copies of the tables, the chart and the calibration values.
#include "formmain.h"

#include "chart/signal_chart.h"
#include "clipboard_texts.h"
#include "text_grid_model.h"
#include "support/common_texts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTableView>

namespace kvt {

void TForm1::showMessage(const QString &text)
{
    m_prompts.showMessage({ApplicationTitle.text(m_language), text});
}

bool TForm1::noData()
{
    if (!m_store.isEmpty())
        return false;
    showMessage(MsgNoData.text(m_language));
    return true;
}

void TForm1::putText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void TForm1::copyBlock(QTableView *grid, const TextGridModel *model)
{
    const QRect block = selectedBlock(grid);
    if (block.isNull())
        return; // nothing selected: nothing to copy
    putText(blockText(model->cells(), block.top(), block.left(), block.bottom(), block.right()));
}

void TForm1::ACopyTable1Execute()
{
    if (!noData())
        putText(tableText(m_table1->cells()));
}

void TForm1::ACopyBlockTable1Execute()
{
    if (!noData())
        copyBlock(m_grid1, m_table1);
}

void TForm1::ACopyTable2Execute()
{
    putText(tableText(m_table2->cells()));
}

void TForm1::ACopyBlockTable2Execute()
{
    if (!noData())
        copyBlock(m_grid2, m_table2);
}

void TForm1::ACopyGraphExecute()
{
    QGuiApplication::clipboard()->setPixmap(m_chart->toPixmap());
}

void TForm1::ACopyGraphDataExecute()
{
    if (const auto text = chartDataText(m_chart->curves(), m_chart->options().checked, m_language))
        putText(*text);
}

void TForm1::itmCopyCalibrDataFClick()
{
    putText(calibrationText(m_store, CalibrationValue::Force));
}

void TForm1::itmCopyCalibrDataSClick()
{
    putText(calibrationText(m_store, CalibrationValue::Displacement));
}

} // namespace kvt
