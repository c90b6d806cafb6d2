#pragma once

#include "chart/chart_curves.h"
#include "store/measurement_store.h"
#include "support/bilingual.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace kvt {

// A text grid as the window's tables hold it: [row][column], header rows included.
using TextGrid = QList<QStringList>;

// Rows of tab-separated cells, each line ending in CR LF; empty cells give empty fields.
QString tableText(const TextGrid &grid);
// The same, for rows top … bottom and columns left … right (grid coordinates).
QString blockText(const TextGrid &grid, int top, int left, int bottom, int right);

// The drawn curves as text: an empty line, a header line, then one line per
// point, time first; every line ends in a tab before CR LF. Nothing when no
// curve is drawn.
std::optional<QString> chartDataText(const CurvePoints &curves, const std::array<bool, CurveCount> &checked,
                                     Language language);

// One value per impact in position order, each line ending in LF alone.
enum class CalibrationValue { Force, Displacement };
QString calibrationText(const MeasurementStore &store, CalibrationValue value);

} // namespace kvt
