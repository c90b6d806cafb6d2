#include "trend_chart.h"

#include <algorithm>

namespace kvt {
namespace {

// By PointClass: meets, does not meet, not judged.
const QColor PointColors[] = {QColor(0, 160, 0), QColor(220, 0, 0), QColor(150, 150, 150)};
const QColor LineColor(40, 40, 160);

// The vertical span of the points and lines with some room above and below,
// so that a point on a requirement line stays visible; a chart with nothing
// keeps a unit span that can still be drawn.
QCPRange valueRange(const GroupTrend &trend)
{
    QList<double> values;
    for (const TrendPoint &point : trend.points)
        values << point.dynamicModulus;
    for (const TrendLine &line : trend.lines)
        values << line.value;
    if (values.isEmpty())
        return {0, 1};
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const double room = std::max((*high - *low) * 0.15, 2.0);
    return {*low - room, *high + room};
}

QCPRange positionRange(const GroupTrend &trend)
{
    if (trend.points.isEmpty())
        return {0, 1};
    return {trend.points.first().position - 0.5, trend.points.last().position + 0.5};
}

} // namespace

TrendChart::TrendChart(QWidget *parent) : QCustomPlot(parent)
{
    setObjectName(QStringLiteral("TrendChart"));
    // Axis labels use the decimal comma, as every number the program writes.
    QLocale comma(QLocale::Russian, QLocale::Russia);
    comma.setNumberOptions(QLocale::OmitGroupSeparator);
    setLocale(comma);
    setBackground(Qt::white);
    auto positions = QSharedPointer<QCPAxisTickerFixed>::create();
    positions->setTickStep(1); // series positions are whole numbers
    positions->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    xAxis->setTicker(positions);
    for (int c = 0; c < int(m_points.size()); ++c) {
        QCPGraph *graph = addGraph();
        graph->setLineStyle(QCPGraph::lsNone);
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, PointColors[c], PointColors[c], 9));
        graph->setSelectable(QCP::stSingleData);
        m_points[c] = graph;
    }
    connect(this, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable *plottable, int dataIndex) { pointClicked(plottable, dataIndex); });
}

void TrendChart::DrawTrend(const GroupTrend &trend)
{
    m_trend = trend;
    for (int c = 0; c < int(m_points.size()); ++c) {
        QVector<double> keys, values;
        m_rows[c].clear();
        for (const TrendPoint &point : trend.points) {
            if (int(point.pointClass) != c)
                continue;
            keys << point.position;
            values << point.dynamicModulus;
            m_rows[c] << point.table1Row;
        }
        m_points[c]->setData(keys, values, true);
    }

    for (QCPAbstractItem *item : m_lines)
        removeItem(item);
    for (QCPAbstractItem *item : m_lineLabels)
        removeItem(item);
    m_lines.clear();
    m_lineLabels.clear();
    for (const TrendLine &requirement : trend.lines) {
        auto *line = new QCPItemStraightLine(this);
        line->setPen(QPen(LineColor, 1, Qt::DashLine));
        line->point1->setCoords(0, requirement.value);
        line->point2->setCoords(1, requirement.value);
        m_lines << line;
        // At the plot's left edge, just above the line.
        auto *label = new QCPItemText(this);
        label->setText(requirement.label);
        label->setColor(LineColor);
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
        label->position->setTypeY(QCPItemPosition::ptPlotCoords);
        label->position->setCoords(0.01, requirement.value);
        m_lineLabels << label;
    }

    xAxis->setLabel(trend.xTitle);
    yAxis->setLabel(trend.yTitle);
    xAxis->setRange(positionRange(trend));
    yAxis->setRange(valueRange(trend));
    replot();
}

void TrendChart::pointClicked(QCPAbstractPlottable *plottable, int dataIndex)
{
    for (int c = 0; c < int(m_points.size()); ++c) {
        if (plottable == m_points[c] && dataIndex >= 0 && dataIndex < m_rows[c].size())
            emit seriesClicked(m_rows[c][dataIndex]);
    }
}

} // namespace kvt
