#pragma once

#include "fault_plan.h"
#include "instrument.h"
#include "instrument_content.h"

#include <QString>
#include <QStringList>

namespace kvt::sim {

// What the environment asks of the simulated instrument:
//   KVT10_SIM_DATA    a .kvt file whose impacts the instrument holds
//   KVT10_SIM_IMPACTS a full instrument of N generated impacts (without DATA)
//   KVT10_SIM_FAULTS  the faults, see FaultPlan
//   KVT10_SIM_TIMING  "fullspeed" for the USB full-speed timing model
//   KVT10_SIM_STRICT  "1": take only what a real instrument takes
struct SimSettings {
    QString dataPath;
    int fullImpacts = -1; // -1: the demo series
    FaultPlan faults;
    bool fullSpeed = false;
    Strictness strictness = Strictness::Lenient;
    QStringList warnings; // for stderr: what was asked but could not be done
};

SimSettings settingsFrom(const QString &data, const QString &impacts, const QString &faults, const QString &timing,
                         const QString &strict = {});
SimSettings settingsFromEnvironment();

// The memory the settings ask for; a data file that cannot be read leaves a
// warning and the demo series.
InstrumentContent contentFor(const SimSettings &settings, QStringList *warnings);

// The settings from the environment and the memory they ask for; what could
// not be done is said on stderr, after the program's name.
InstrumentContent contentFromEnvironment(const char *program, SimSettings &settings);

} // namespace kvt::sim
