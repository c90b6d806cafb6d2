#pragma once

#include "demo_field_day.h"
#include "store/impact_record.h"

#include <vector>

namespace kvt::sim {

// The records an instrument in the field makes of these series: series
// numbered from 1 upwards in the order given, impacts numbered from 1 in each
// series, the material and the object from the default lists, the curves of
// each blow simulated. The first blows of a series still compact the ground,
// so its modulus rises a little and levels off.
//
// Series with the same stiffness and seed get the same curves, simulated once,
// so a full instrument that repeats a day needs only that day simulated.
std::vector<ImpactRecord> makeDemoRecords(const std::vector<DemoSeries> &series);

} // namespace kvt::sim
