#pragma once

#include "store/measurement_store.h"

#include <QList>
#include <QString>
#include <vector>

namespace kvt::testing {

// A record with recognisable contents: the given series and impact numbers,
// a date and time, names, moduli, scales, curves and reserved bytes that differ
// from record to record, so that a lost or shifted byte shows.
ImpactRecord makeRecord(quint32 seriesNumber, quint32 impactNumber, quint32 salt = 0);

// Fills the store as the instrument would: one in-use directory entry and one
// record per series number given (impact numbers count from 1 in each run), in order, then the series index.
void fillStore(MeasurementStore &store, const std::vector<quint32> &seriesNumbers);
// Series numbered 1, 2, 3 … with the given numbers of impacts.
void fillStoreWithSeries(MeasurementStore &store, const std::vector<quint32> &seriesLengths);

// One series to put into a store: its names and each impact's moduli.
struct SeriesContent {
    QString object;
    QString material;
    QList<float> dynamicModuli; // one per impact
    QList<float> staticModuli;  // as many
};
// Series numbered 1, 2, 3 … in the given order, otherwise as fillStore makes them.
void fillStoreWith(MeasurementStore &store, const QList<SeriesContent> &series);

} // namespace kvt::testing
