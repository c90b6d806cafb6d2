#pragma once

#include "store/impact_record.h"
#include "support/bilingual.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <array>

namespace kvt {

// The four curves of the chart, in this order everywhere: a(t), v(t), s(t), F(t).
enum Curve : int { CurveAccel = 0, CurveVelocity = 1, CurveDisplacement = 2, CurveForce = 3 };
constexpr int CurveCount = 4;

// Colours as 0xRRGGBB; the window turns them into its own colour type.
using RgbColor = quint32;
inline constexpr RgbColor CurveColors[CurveCount] = {0x000000, 0x008000, 0xFF0000, 0x0000A0};

constexpr int ShortCurveSamples = 312;
constexpr double SamplePeriodMs = 0.064;

enum class ChartAxis { Left, Right };

struct ChartOptions {
    bool fullView = false;
    bool longCurves = false;
    bool codeView = false;
    std::array<bool, CurveCount> checked{}; // a checked but hidden box still gets its curve
};

// The axis a curve is drawn against: a(t) always left; s(t) left in the standard
// view; F(t) left in the code view; the rest right.
ChartAxis curveAxis(Curve curve, const ChartOptions &options);

// The points of every checked curve (the others stay empty): time in ms from
// 0.064 on, acceleration m/s², velocity m/s and displacement mm integrated in
// single precision from the acceleration, force kN. In the code view force
// is in raw codes and acceleration on the reference scale.
using CurvePoints = std::array<QList<QPointF>, CurveCount>;
CurvePoints plotCurves(const ImpactRecord &record, const ChartOptions &options);

// Both vertical axes are symmetric about zero: ±1.05 × the largest magnitude of
// their curves; the right axis spans at least ±1.05; the code view's left axis
// spans ±32768.
double axisLimit(ChartAxis axis, const CurvePoints &curves, const ChartOptions &options);

// The desired label step of an axis, from the spread of its curves' values.
double labelIncrement(ChartAxis axis, const CurvePoints &curves, const ChartOptions &options);

struct AxisTitle {
    QString text;
    RgbColor color = 0x000000;
};
struct ChartTitles {
    AxisTitle left;
    AxisTitle right;
    QString bottom;
};
ChartTitles chartTitles(const ChartOptions &options, Language language);

// What the chart shows before anything is drawn, whatever the language.
ChartTitles designChartTitles();

} // namespace kvt
