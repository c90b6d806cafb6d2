#pragma once

#include "store/impact_record.h"

#include <vector>

namespace kvt::sim {

// Series as an instrument in the field records them: numbered from 1 upwards,
// impacts numbered from 1 in each series, dates and times increasing, a
// material and an object from the default lists for each series, moduli of
// about 30 to 140 MPa that creep up a little within a series.
//
// Series k takes its curves from pattern k mod `curvePatterns`, so a full
// instrument needs only a few dozen impacts simulated, not thousands.
std::vector<ImpactRecord> makeDemoSeries(const std::vector<int> &seriesLengths, int curvePatterns);

} // namespace kvt::sim
