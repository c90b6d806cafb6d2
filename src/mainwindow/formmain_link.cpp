// What the device worker shows in the window: the status panels, the link
// indicator, the progress bar, and the hand-over of a complete read.
#include "formmain.h"

#include "chart/signal_chart.h"
#include "link_indicator.h"
#include "files/reading_archive.h"

#include <QDateTime>
#include <QLabel>
#include <QProgressBar>

namespace kvt {

void TForm1::AGaugeReadExecute()
{
    requestInstrumentRead(m_link);
}

void TForm1::setStatusText(const QString &text)
{
    m_statusPanels[1]->setText(text);
}

void TForm1::setDeviceText(const QString &text)
{
    m_statusPanels[0]->setText(text);
}

void TForm1::setLinkIndicator(LinkColor color)
{
    switch (color) {
    case LinkColor::Green: m_shapeLink->setColor(QColor(0, 255, 0)); break;
    case LinkColor::Black: m_shapeLink->setColor(Qt::black); break;
    case LinkColor::Red: m_shapeLink->setColor(QColor(255, 0, 0)); break;
    case LinkColor::ButtonFace: m_shapeLink->setColor(palette().color(QPalette::Button)); break;
    }
}

void TForm1::setProgress(std::optional<int> position)
{
    m_progressBar->setVisible(position.has_value());
    if (position)
        m_progressBar->setValue(*position);
}

void TForm1::finishRead(std::unique_ptr<MeasurementStore> result)
{
    m_store.replaceMeasurements(std::move(*result));
    m_chart->hide();
    fillSeriesTable();
    m_chart->show();
    // A reading is kept even if nobody saves it.
    if (!m_store.isEmpty())
        (void)archiveReading(m_store, QDateTime::currentDateTime(), readingsFolder());
}

} // namespace kvt
