#pragma once

#include "group_statistics.h"
#include "support/bilingual.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace kvt {

// How a series' point is coloured: green when it meets the group's rule, red
// when not, grey when it is not judged (no rule, or a static mean the rule
// asks about reads "NAN").
enum class PointClass { Meets, DoesNotMeet, NotJudged };

// One series of the group on the trend chart.
struct TrendPoint {
    int position = 0;  // 1, 2, 3 … over all series of the store, in Table 1's order
    int table1Row = 0; // its row in Table 1, header rows counted
    double dynamicModulus = 0;
    PointClass pointClass = PointClass::NotJudged;
    // Drawn against the static axis while the rule asks for a static modulus
    // and Table 1 shows one.
    std::optional<double> staticModulus;

    bool operator==(const TrendPoint &) const = default;
};

// The modulus a requirement is drawn against: the dynamic one on the left
// axis, the static one on the right.
enum class TrendAxis { Dynamic, Static };

// A requirement drawn across the chart.
struct TrendLine {
    double value = 0;
    QString label; // "Din.modulus ≥ 85 MPa"
    TrendAxis axis = TrendAxis::Dynamic;
};

struct GroupTrend {
    QList<TrendPoint> points; // in store order
    QList<TrendLine> lines;   // the dynamic requirement, then the static one if the rule has it
    QString xTitle, yTitle;
    QString staticTitle; // the right axis': empty unless the rule asks for a static modulus
};

// The group's series (named as groupStatistics names them) that have a mean
// dynamic modulus; a series whose dynamic mean reads "NAN" has no point. A
// static requirement comes with the series' static means, since a line of
// 40 MPa among dynamic moduli of 90 would read as a requirement of them.
GroupTrend groupTrend(const std::vector<SeriesValues> &series, const GroupStatistics &group, Language language);

} // namespace kvt
