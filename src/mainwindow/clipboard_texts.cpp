#include "clipboard_texts.h"

#include "support/number_format.h"

namespace kvt {
namespace {

const TextPair CurveNames[CurveCount] = {
    {u"Виброускорение", u"Vibr.acceleration"},
    {u"Виброскорость", u"Vibr.velocity"},
    {u"Виброперемещение", u"Vibr.displacement"},
    {u"Сила удара", u"Impact force"},
};
const TextPair TimeHeader{u"Время, мс", u"Time, ms"};

} // namespace

QString tableText(const TextGrid &grid)
{
    if (grid.isEmpty())
        return {};
    return blockText(grid, 0, 0, int(grid.size()) - 1, int(grid.front().size()) - 1);
}

QString blockText(const TextGrid &grid, int top, int left, int bottom, int right)
{
    QString text;
    for (int row = qMax(top, 0); row <= bottom && row < grid.size(); ++row) {
        const QStringList &cells = grid[row];
        for (int column = qMax(left, 0); column <= right; ++column) {
            if (column > qMax(left, 0))
                text += u'\t';
            text += cells.value(column);
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

std::optional<QString> chartDataText(const CurvePoints &curves, const std::array<bool, CurveCount> &checked,
                                     Language language)
{
    // The time column comes from the last drawn curve; all share the same times.
    int timeCurve = -1;
    for (int c = 0; c < CurveCount; ++c)
        if (checked[c])
            timeCurve = c;
    if (timeCurve < 0 || curves[timeCurve].isEmpty())
        return std::nullopt;

    QString text = QStringLiteral("\r\n") + TimeHeader.text(language) + u'\t';
    for (int c = 0; c < CurveCount; ++c)
        if (checked[c])
            text += CurveNames[c].text(language) + u'\t';
    text += QStringLiteral("\r\n");

    const qsizetype points = curves[timeCurve].size();
    for (qsizetype i = 0; i < points; ++i) {
        text += formatNumberOrNan(curves[timeCurve][i].x(), NumberPattern::Hundredths) + u'\t';
        for (int c = 0; c < CurveCount; ++c)
            if (checked[c])
                text += formatNumberOrNan(curves[c].value(i).y(), NumberPattern::Hundredths) + u'\t';
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString calibrationText(const MeasurementStore &store, CalibrationValue value)
{
    QString text;
    for (quint32 series = 0; series < store.seriesCount(); ++series) {
        for (quint32 p = store.seriesStart(series); p < store.seriesStart(series + 1); ++p) {
            const ImpactRecord &record = store.record(p);
            text += value == CalibrationValue::Force
                ? formatNumberOrNan(record.floatAt(ImpactRecord::ImpactForce), NumberPattern::Tenths)
                : formatNumberOrNan(record.floatAt(ImpactRecord::DisplacementValue), NumberPattern::TenThousandths);
            text += u'\n';
        }
    }
    return text;
}

} // namespace kvt
