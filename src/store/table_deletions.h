#pragma once

#include "measurement_store.h"

namespace kvt {

// The two deletion commands of the tables. Both leave a consistent series index
// behind: series whose neighbours shared their number merge, as they would when
// the saved file is opened again. Out-of-range selections delete nothing.

// Series first … last (0-based, inclusive).
void deleteSeriesRange(MeasurementStore &store, quint32 first, quint32 last);

// The impacts in Table 2 columns left … right (1-based) of a series; selecting
// every impact removes the series.
void deleteImpactColumns(MeasurementStore &store, quint32 series, int left, int right);

// Table 1's current row after a deletion: the same row, or the last one when the
// table has become too short.
int currentRowAfterDeletion(int previousRow, int rowCount);

} // namespace kvt
