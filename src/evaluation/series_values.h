#pragma once

#include "store/measurement_store.h"

#include <QString>
#include <optional>
#include <vector>

namespace kvt {

// One series as the evaluation sees it: its names and mean moduli, each mean
// missing where Table 1 shows "NAN".
struct SeriesValues {
    QString object;
    QString material;
    std::optional<double> dynamicModulus;
    std::optional<double> staticModulus;
};

// The series of the store in Table 1's order.
std::vector<SeriesValues> seriesValues(const MeasurementStore &store);

} // namespace kvt
