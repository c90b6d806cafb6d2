#include "series_values.h"

#include "store/table_texts.h"

#include <cmath>

namespace kvt {
namespace {

// The means are taken from Table 1's own cells, rounded to the tenth it shows,
// not from the unrounded sums: the engineer checks a verdict against the table,
// and a series Table 1 shows at "85" must meet a requirement of 85 MPa even if
// its sum came to 84,96. A cell that reads "NAN" has no value.
std::optional<double> shownValue(const QString &cell)
{
    // toDouble would read "NAN" itself as a not-a-number.
    bool ok = false;
    const double value = QString(cell).replace(u',', u'.').toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

std::vector<SeriesValues> seriesValues(const MeasurementStore &store)
{
    std::vector<SeriesValues> values;
    values.reserve(store.seriesCount());
    for (quint32 series = 0; series < store.seriesCount(); ++series) {
        const auto cells = seriesRowCells(store, series);
        values.push_back({cells[SeriesObjectColumn], cells[SeriesMaterialColumn],
                          shownValue(cells[SeriesDynamicColumn]), shownValue(cells[SeriesStaticColumn])});
    }
    return values;
}

} // namespace kvt
