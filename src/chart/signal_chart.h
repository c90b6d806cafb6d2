#pragma once

#include "chart_curves.h"

#include <qcustomplot.h>

namespace kvt {

// The chart of one impact's curves, drawn by QCustomPlot. The rest of the
// program knows only this class: it draws an impact, zooms by a rectangle
// dragged with the left button, restores the full view on a click, asks for
// the context menu on a right click without movement or on the menu key, and
// renders itself.
class SignalChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit SignalChart(QWidget *parent = nullptr);

    // Rebuilds every curve of the record, scales both vertical axes
    // symmetrically and sets the label steps.
    void DrawImpact(const ImpactRecord &record, const ChartOptions &options, Language language);
    void UndoZoom();

    // What is drawn, as the copies and the tests read it.
    const CurvePoints &curves() const { return m_curves; }
    const ChartOptions &options() const { return m_options; }
    QCPGraph *series(Curve curve) const { return m_series[curve]; }
    QCPGraph *zeroLine() const { return m_zeroLine; }
    QCPAxis *axis(ChartAxis axis) const { return axis == ChartAxis::Left ? yAxis : yAxis2; }

signals:
    // A right click without movement, or the menu key: the menu opens here, in
    // screen coordinates.
    void contextMenuRequested(const QPoint &globalPosition);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void DrawZeroLine();
    void Chart1Zoom();
    void setTitles(const ChartTitles &titles);

    std::array<QCPGraph *, CurveCount> m_series{};
    QCPGraph *m_zeroLine = nullptr;
    CurvePoints m_curves;
    ChartOptions m_options;
    QCPRange m_fullX{0, 1};
    QCPRange m_fullLeft{-1, 1};
    QCPRange m_fullRight{-1, 1};
    QPoint m_pressPosition;
};

} // namespace kvt
