#pragma once

#include "store/measurement_store.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace kvt {

// Every complete read from the instrument is also kept, so that a reading is
// never lost to a forgotten save: "yymmdd.hhmm.kvt" in the user's data folder,
// the last 50 of them.
constexpr int KeptReadings = 50;

// <the platform's data location>/KVT10/readings
QString readingsFolder();

// Saves the store under the time's name ("-2", "-3", … when that name is
// taken), then removes the oldest readings beyond the number kept. The file
// written, or nothing when it could not be written.
std::optional<QString> archiveReading(const MeasurementStore &store, const QDateTime &now, const QString &folder,
                                      int keep = KeptReadings);

} // namespace kvt
