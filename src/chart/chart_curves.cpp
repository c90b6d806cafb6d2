#include "chart_curves.h"

#include <algorithm>
#include <cmath>

namespace kvt {
namespace {

constexpr RgbColor Black = 0x000000;
constexpr RgbColor Green = 0x008000;
constexpr RgbColor Red = 0xFF0000;
constexpr RgbColor Navy = 0x000080;

struct Spread {
    double smallest = 0;
    double largest = 0;
    bool any = false;
};

Spread spreadOf(ChartAxis axis, const CurvePoints &curves, const ChartOptions &options)
{
    Spread spread;
    for (int c = 0; c < CurveCount; ++c) {
        if (curveAxis(Curve(c), options) != axis)
            continue;
        for (const QPointF &point : curves[c]) {
            spread.smallest = spread.any ? std::min(spread.smallest, point.y()) : point.y();
            spread.largest = spread.any ? std::max(spread.largest, point.y()) : point.y();
            spread.any = true;
        }
    }
    return spread;
}

} // namespace

ChartAxis curveAxis(Curve curve, const ChartOptions &options)
{
    switch (curve) {
    case CurveAccel: return ChartAxis::Left;
    case CurveVelocity: return ChartAxis::Right;
    case CurveDisplacement: return options.fullView ? ChartAxis::Right : ChartAxis::Left;
    case CurveForce: return options.codeView ? ChartAxis::Left : ChartAxis::Right;
    }
    return ChartAxis::Right;
}

CurvePoints plotCurves(const ImpactRecord &record, const ChartOptions &options)
{
    const int samples = options.longCurves ? SamplesPerCurve : ShortCurveSamples;
    const float peakNeg = record.floatAt(ImpactRecord::AccelPeakNeg);
    const float peakPos = record.floatAt(ImpactRecord::AccelPeakPos);
    const float forceScale = record.floatAt(ImpactRecord::ForceScale);
    const float auxScale = record.floatAt(ImpactRecord::AuxScale);
    const float k = std::max(-peakNeg, peakPos) * (1.0f / 32767.0f);
    const float kc = auxScale == 0 ? 1.0f : std::max(-peakNeg / auxScale / 3, peakPos / auxScale / 3);

    CurvePoints curves;
    for (int c = 0; c < CurveCount; ++c)
        if (options.checked[c])
            curves[c].reserve(samples);

    // Single precision throughout, as the instrument's own software computes.
    float t = 0, v = 0, s = 0;
    for (int i = 0; i < samples; ++i) {
        t += float(SamplePeriodMs);
        float a = record.accelSample(i) * k;
        v += a * 0.000064f;
        s += v * 1000.0f * 0.000064f;
        float force = record.forceSample(i) * (1.0f / 32767.0f) * 0.001f * forceScale;
        if (options.codeView) {
            force = record.forceSample(i);
            a = record.accelSample(i) * kc;
        }
        const float values[CurveCount] = {a, v, s, force};
        for (int c = 0; c < CurveCount; ++c)
            if (options.checked[c])
                curves[c].append(QPointF(t, values[c]));
    }
    return curves;
}

double axisLimit(ChartAxis axis, const CurvePoints &curves, const ChartOptions &options)
{
    if (axis == ChartAxis::Left && options.codeView)
        return 32768;
    const Spread spread = spreadOf(axis, curves, options);
    double m = std::max(spread.largest, -spread.smallest);
    if (axis == ChartAxis::Right && m < 1)
        m = 1;
    return m * 1.05;
}

double labelIncrement(ChartAxis axis, const CurvePoints &curves, const ChartOptions &options)
{
    const Spread spread = spreadOf(axis, curves, options);
    const double range = spread.largest - spread.smallest;
    if (range < 0.1)
        return 0.01;
    if (range < 1)
        return 0.1;
    if (range < 10)
        return 1;
    return 10;
}

ChartTitles chartTitles(const ChartOptions &options, Language language)
{
    const bool russian = language == Language::Russian;
    const QString acceleration = russian ? QStringLiteral("Виброускорение, м/с2") : QStringLiteral("Vibroacceleration, m/s2");
    const QString velocity = russian ? QStringLiteral("Виброскорость, м/с") : QStringLiteral("Vibrovelocity, m/s");
    const QString displacement =
        russian ? QStringLiteral("Виброперемещение, мм") : QStringLiteral("Vibrodisplacement, mm");
    const QString force = russian ? QStringLiteral("Сила удара, кН") : QStringLiteral("Impact force, kN");

    ChartTitles titles;
    titles.bottom = russian ? QStringLiteral("Время, мс") : QStringLiteral("Time, ms");
    if (!options.fullView) {
        titles.left = {displacement, Red};
        titles.right = {force, Navy};
        return titles;
    }

    titles.left = {options.checked[CurveAccel] ? acceleration : QString(), Black};
    QStringList parts;
    if (options.checked[CurveVelocity])
        parts << velocity;
    if (options.checked[CurveDisplacement])
        parts << displacement;
    if (options.checked[CurveForce])
        parts << force;
    titles.right.text = parts.join(QStringLiteral("; "));
    // The colour is that of the displacement when it is shown, else of the first curve named.
    if (options.checked[CurveDisplacement])
        titles.right.color = Red;
    else if (options.checked[CurveVelocity])
        titles.right.color = Green;
    else if (options.checked[CurveForce])
        titles.right.color = Navy;
    else
        titles.right.color = Black;
    return titles;
}

ChartTitles designChartTitles()
{
    return {{QStringLiteral("Виброперемещение, мм"), Black}, {QStringLiteral("Сила удара, кН"), Black},
            QStringLiteral("Время, мс")};
}

} // namespace kvt
