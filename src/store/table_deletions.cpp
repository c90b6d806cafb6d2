#include "table_deletions.h"

namespace kvt {

void deleteSeriesRange(MeasurementStore &store, quint32 first, quint32 last)
{
    if (first > last || last >= store.seriesCount())
        return;
    // Each deletion moves the following series up, so the same index is deleted each time.
    for (quint32 n = first; n <= last; ++n)
        store.deleteSeries(first);
    store.rebuildSeriesIndex();
}

void deleteImpactColumns(MeasurementStore &store, quint32 series, int left, int right)
{
    if (series >= store.seriesCount() || left < 1 || right < left || quint32(right) > store.seriesSize(series))
        return;
    if (left == 1 && quint32(right) == store.seriesSize(series)) {
        store.deleteSeries(series);
    } else {
        for (int column = left; column <= right; ++column)
            store.deleteImpact(series, quint32(left - 1));
    }
    store.rebuildSeriesIndex();
}

int currentRowAfterDeletion(int previousRow, int rowCount)
{
    return rowCount <= previousRow ? rowCount - 1 : previousRow;
}

} // namespace kvt
