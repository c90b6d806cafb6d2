#include "signal_chart.h"

namespace kvt {
namespace {

// The space right of the right axis labels, as a share of the chart's width.
constexpr double RightMarginShare = 0.02;

QColor colorOf(RgbColor rgb)
{
    return QColor::fromRgb(QRgb(0xFF000000u | rgb));
}

void styleAxis(QCPAxis *axis)
{
    axis->setBasePen(QPen(Qt::black, 1));
    axis->setTickLength(0, 5);
    axis->grid()->setVisible(true); // QCustomPlot hides the right axis's grid by default
    axis->grid()->setPen(QPen(QColor(160, 160, 160), 1, Qt::DotLine));
    axis->grid()->setZeroLinePen(Qt::NoPen);
    axis->setTicker(QSharedPointer<QCPAxisTickerFixed>::create());
}

void setLabelStep(QCPAxis *axis, double step)
{
    auto ticker = axis->ticker().dynamicCast<QCPAxisTickerFixed>();
    ticker->setTickStep(step);
    // The step may widen so that the labels do not crowd.
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
}

// Ratio positions keep the frame on the plot area's border whatever the size.
void addDottedFrame(QCustomPlot *chart)
{
    auto *frame = new QCPItemRect(chart);
    frame->setLayer(QStringLiteral("grid")); // beneath the curves and the axis lines
    frame->setClipToAxisRect(false);
    frame->topLeft->setType(QCPItemPosition::ptAxisRectRatio);
    frame->topLeft->setCoords(0, 0);
    frame->bottomRight->setType(QCPItemPosition::ptAxisRectRatio);
    frame->bottomRight->setCoords(1, 1);
    frame->setPen(QPen(Qt::black, 1, Qt::DotLine));
}

// An axis whose curves are all empty has no extent; it keeps a unit span so
// that it can still be drawn.
QCPRange symmetric(double limit)
{
    return limit > 0 ? QCPRange(-limit, limit) : QCPRange(-1, 1);
}

} // namespace

SignalChart::SignalChart(QWidget *parent) : QCustomPlot(parent)
{
    setObjectName(QStringLiteral("Chart1"));
    setCursor(Qt::CrossCursor);
    // Reached with Tab like the window's other controls, so the context-menu
    // key opens its menu.
    setFocusPolicy(Qt::StrongFocus);
    // Axis labels use the decimal comma, as every number the program writes.
    QLocale comma(QLocale::Russian, QLocale::Russia);
    comma.setNumberOptions(QLocale::OmitGroupSeparator);
    setLocale(comma);
    setBackground(Qt::white);
    legend->setVisible(false);
    xAxis2->setVisible(false);
    yAxis2->setVisible(true);
    for (QCPAxis *axis : {xAxis, yAxis, yAxis2})
        styleAxis(axis);
    yAxis->grid()->setPen(QPen(QColor(160, 160, 160), 2, Qt::DotLine));
    setLabelStep(xAxis, 1);
    addDottedFrame(this);

    for (int c = 0; c < CurveCount; ++c) {
        m_series[c] = addGraph(xAxis, yAxis);
        m_series[c]->setName(QStringLiteral("Series%1").arg(c + 1));
        m_series[c]->setPen(QPen(colorOf(CurveColors[c])));
    }
    m_zeroLine = addGraph(xAxis, yAxis);
    m_zeroLine->setName(QStringLiteral("Series16"));
    m_zeroLine->setPen(QPen(Qt::black));

    setTitles(designChartTitles());
    setSelectionRectMode(QCP::srmZoom);
    // Both vertical axes follow the rectangle, so the curves on the right axis
    // zoom with the others and the two zero lines stay at one height.
    axisRect()->setRangeZoomAxes({xAxis}, {yAxis, yAxis2});
    connect(selectionRect(), &QCPSelectionRect::accepted, this, [this] { Chart1Zoom(); });
}

void SignalChart::setTitles(const ChartTitles &titles)
{
    xAxis->setLabel(titles.bottom);
    yAxis->setLabel(titles.left.text);
    yAxis->setLabelColor(colorOf(titles.left.color));
    yAxis2->setLabel(titles.right.text);
    yAxis2->setLabelColor(colorOf(titles.right.color));
}

void SignalChart::DrawImpact(const ImpactRecord &record, const ChartOptions &options, Language language)
{
    m_options = options;
    setTitles(chartTitles(options, language));
    m_curves = plotCurves(record, options);

    for (int c = 0; c < CurveCount; ++c) {
        m_series[c]->setValueAxis(axis(curveAxis(Curve(c), options)));
        QVector<double> keys;
        QVector<double> values;
        keys.reserve(m_curves[c].size());
        values.reserve(m_curves[c].size());
        for (const QPointF &point : m_curves[c]) {
            keys << point.x();
            values << point.y();
        }
        m_series[c]->setData(keys, values, true);
    }
    DrawZeroLine();

    m_fullLeft = symmetric(axisLimit(ChartAxis::Left, m_curves, options));
    m_fullRight = symmetric(axisLimit(ChartAxis::Right, m_curves, options));
    UndoZoom();
    Chart1Zoom();
}

void SignalChart::DrawZeroLine()
{
    // From 0 to the last plotted time: the largest X of the drawn curves.
    double lastX = 0;
    for (const QList<QPointF> &curve : m_curves)
        if (!curve.isEmpty())
            lastX = qMax(lastX, curve.back().x());
    m_zeroLine->setData({0, lastX}, {0, 0}, true);
    m_fullX = lastX > 0 ? QCPRange(0, lastX) : QCPRange(0, 1);
}

void SignalChart::Chart1Zoom()
{
    setLabelStep(yAxis, labelIncrement(ChartAxis::Left, m_curves, m_options));
    setLabelStep(yAxis2, labelIncrement(ChartAxis::Right, m_curves, m_options));
    replot(rpQueuedReplot);
}

void SignalChart::UndoZoom()
{
    xAxis->setRange(m_fullX);
    yAxis->setRange(m_fullLeft);
    yAxis2->setRange(m_fullRight);
    replot(rpQueuedReplot);
}

void SignalChart::resizeEvent(QResizeEvent *event)
{
    // The right margin is a share of the width, so it follows every resize.
    plotLayout()->setMargins(QMargins(0, 0, qRound(width() * RightMarginShare), 0));
    QCustomPlot::resizeEvent(event);
}

void SignalChart::mousePressEvent(QMouseEvent *event)
{
    m_pressPosition = event->pos();
    // The right button only opens the menu; it never starts a zoom rectangle.
    if (event->button() != Qt::RightButton)
        QCustomPlot::mousePressEvent(event);
}

void SignalChart::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse's right button is served on its release; the keyboard's menu
    // key opens the menu over the plot.
    if (event->reason() == QContextMenuEvent::Keyboard)
        emit contextMenuRequested(mapToGlobal(axisRect()->rect().center()));
}

void SignalChart::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        if (event->pos() == m_pressPosition)
            emit contextMenuRequested(event->globalPosition().toPoint() + QPoint(3, 3));
        return;
    }
    // A left click is what QCustomPlot takes for one: the pointer may wander a
    // few pixels, as a hand does, before a drag becomes a zoom rectangle.
    const bool click = !mMouseHasMoved;
    QCustomPlot::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && click)
        UndoZoom();
}

} // namespace kvt
