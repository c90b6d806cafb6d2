#pragma once

#include "evaluation/group_trend.h"

#include <qcustomplot.h>

#include <array>

namespace kvt {

// The trend of one group's mean dynamic moduli, drawn by QCustomPlot: one
// point per series, coloured by its verdict, and the group's requirements as
// labelled horizontal lines. A click on a point names that series' Table 1 row.
class TrendChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TrendChart(QWidget *parent = nullptr);

    void DrawTrend(const GroupTrend &trend);

    // What is drawn, as the tests read it.
    const GroupTrend &trend() const { return m_trend; }
    QCPGraph *points(PointClass pointClass) const { return m_points[int(pointClass)]; }
    const QList<QCPItemStraightLine *> &lines() const { return m_lines; }

signals:
    void seriesClicked(int table1Row);

private:
    void pointClicked(QCPAbstractPlottable *plottable, int dataIndex);

    std::array<QCPGraph *, 3> m_points{}; // by PointClass
    // The Table 1 rows of each graph's points, in the graph's (position) order.
    std::array<QList<int>, 3> m_rows;
    QList<QCPItemStraightLine *> m_lines;
    QList<QCPItemText *> m_lineLabels;
    GroupTrend m_trend;
};

} // namespace kvt
