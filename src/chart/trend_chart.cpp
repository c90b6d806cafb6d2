#include "trend_chart.h"

#include <algorithm>

namespace kvt {
namespace {

// By PointClass: meets, does not meet, not judged.
const QColor PointColors[] = {QColor(0, 160, 0), QColor(220, 0, 0), QColor(150, 150, 150)};
const QColor LineColor(40, 40, 160);

std::optional<double> modulusOf(const TrendPoint &point, TrendAxis axis)
{
    return axis == TrendAxis::Dynamic ? std::optional(point.dynamicModulus) : point.staticModulus;
}

// The vertical span of one axis' points and lines with some room above and
// below, so that a point on a requirement line stays visible; an axis with
// nothing keeps a unit span that can still be drawn.
QCPRange valueRange(const GroupTrend &trend, TrendAxis axis)
{
    QList<double> values;
    for (const TrendPoint &point : trend.points)
        if (const std::optional<double> modulus = modulusOf(point, axis))
            values << *modulus;
    for (const TrendLine &line : trend.lines)
        if (line.axis == axis)
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
    for (int c = 0; c < 3; ++c) {
        QCPGraph *dynamic = addGraph(xAxis, yAxis);
        dynamic->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, PointColors[c], PointColors[c], 9));
        // Hollow, so that a static point beside a dynamic one of the same height stays apart.
        QCPGraph *statical = addGraph(xAxis, yAxis2);
        statical->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, QPen(PointColors[c], 2), Qt::white, 9));
        for (QCPGraph *graph : {dynamic, statical}) {
            graph->setLineStyle(QCPGraph::lsNone);
            graph->setSelectable(QCP::stSingleData);
        }
        m_points[int(TrendAxis::Dynamic)][c] = dynamic;
        m_points[int(TrendAxis::Static)][c] = statical;
    }
    connect(this, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable *plottable, int dataIndex) { pointClicked(plottable, dataIndex); });
}

void TrendChart::DrawTrend(const GroupTrend &trend)
{
    m_trend = trend;
    for (const TrendAxis axis : {TrendAxis::Dynamic, TrendAxis::Static}) {
        for (int c = 0; c < 3; ++c) {
            QVector<double> keys, values;
            QList<int> &rows = m_rows[int(axis)][c];
            rows.clear();
            for (const TrendPoint &point : trend.points) {
                const std::optional<double> modulus = modulusOf(point, axis);
                if (int(point.pointClass) != c || !modulus)
                    continue;
                keys << point.position;
                values << *modulus;
                rows << point.table1Row;
            }
            m_points[int(axis)][c]->setData(keys, values, true);
        }
    }

    for (QCPAbstractItem *item : m_lines)
        removeItem(item);
    for (QCPAbstractItem *item : m_lineLabels)
        removeItem(item);
    m_lines.clear();
    m_lineLabels.clear();
    for (const TrendLine &requirement : trend.lines) {
        QCPAxis *valueAxis = requirement.axis == TrendAxis::Dynamic ? yAxis : yAxis2;
        auto *line = new QCPItemStraightLine(this);
        line->setPen(QPen(LineColor, 1, requirement.axis == TrendAxis::Dynamic ? Qt::DashLine : Qt::DotLine));
        for (QCPItemPosition *end : {line->point1, line->point2})
            end->setAxes(xAxis, valueAxis);
        line->point1->setCoords(0, requirement.value);
        line->point2->setCoords(1, requirement.value);
        m_lines << line;
        // Just above the line: the dynamic one's label at the plot's left
        // edge, the static one's at the right, by the axis it is read on.
        const bool left = requirement.axis == TrendAxis::Dynamic;
        auto *label = new QCPItemText(this);
        label->setText(requirement.label);
        label->setColor(LineColor);
        label->setPositionAlignment((left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignBottom);
        label->position->setAxes(xAxis, valueAxis);
        label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
        label->position->setTypeY(QCPItemPosition::ptPlotCoords);
        label->position->setCoords(left ? 0.01 : 0.99, requirement.value);
        m_lineLabels << label;
    }

    xAxis->setLabel(trend.xTitle);
    yAxis->setLabel(trend.yTitle);
    yAxis2->setLabel(trend.staticTitle);
    yAxis2->setVisible(!trend.staticTitle.isEmpty());
    xAxis->setRange(positionRange(trend));
    yAxis->setRange(valueRange(trend, TrendAxis::Dynamic));
    yAxis2->setRange(valueRange(trend, TrendAxis::Static));
    replot();
}

void TrendChart::pointClicked(QCPAbstractPlottable *plottable, int dataIndex)
{
    for (int axis = 0; axis < 2; ++axis) {
        for (int c = 0; c < 3; ++c) {
            const QList<int> &rows = m_rows[size_t(axis)][size_t(c)];
            if (plottable == m_points[size_t(axis)][size_t(c)] && dataIndex >= 0 && dataIndex < rows.size())
                emit seriesClicked(rows[dataIndex]);
        }
    }
}

} // namespace kvt
