#pragma once

#include "evaluation/group_trend.h"

#include <qcustomplot.h>

#include <array>

namespace kvt {

// The trend of one group's mean dynamic moduli, drawn by QCustomPlot: one
// point per series, coloured by its verdict, and the group's requirements as
// labelled horizontal lines. A static requirement is drawn on the right axis
// with the series' static means (hollow squares), each line against the
// moduli it judges. A click on a point names that series' Table 1 row.
class TrendChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TrendChart(QWidget *parent = nullptr);

    void DrawTrend(const GroupTrend &trend);

    // What is drawn, as the tests read it.
    const GroupTrend &trend() const { return m_trend; }
    QCPGraph *points(PointClass pointClass, TrendAxis axis = TrendAxis::Dynamic) const
    {
        return m_points[int(axis)][int(pointClass)];
    }
    const QList<QCPItemStraightLine *> &lines() const { return m_lines; }

signals:
    void seriesClicked(int table1Row);

private:
    void pointClicked(QCPAbstractPlottable *plottable, int dataIndex);

    // By TrendAxis, then PointClass.
    std::array<std::array<QCPGraph *, 3>, 2> m_points{};
    // The Table 1 rows of each graph's points, in the graph's (position) order.
    std::array<std::array<QList<int>, 3>, 2> m_rows;
    QList<QCPItemStraightLine *> m_lines;
    QList<QCPItemText *> m_lineLabels;
    GroupTrend m_trend;
};

} // namespace kvt
