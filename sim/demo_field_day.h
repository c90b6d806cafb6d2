#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <vector>

namespace kvt::sim {

// One series as a crew measures it: a spot on one layer (object) of one
// material, the ground's stiffness there, and the blows struck on it at a
// steady rhythm from the start time on.
struct DemoSeries {
    int objectSlot = 1;   // in the default object list
    int materialSlot = 1; // in the default material list
    double modulusMPa = 60;
    int impacts = 5;
    int secondsBetweenBlows = 30;
    QDateTime start;
    quint64 seed = 1; // the blows' scatter and the sensors' noise
};

// A working day on a road site, in the order measured: the subgrade in the
// morning, the base after it, the bearing course in the afternoon, each layer
// on two materials that alternate along it as the soil changes. Every object
// and material is a group of 3 to 6 series of 3 to 9 blows whose stiffness
// scatters around the group's own level; the bearing course on sandy loam
// falls short of what such a layer usually has to reach. The same day on every
// run.
std::vector<DemoSeries> demoFieldDay();

} // namespace kvt::sim
