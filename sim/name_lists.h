#pragma once

#include "device/device_protocol.h"

#include <QStringList>

#include <array>

namespace kvt::sim {

// The block layout is the program's own (device/device_protocol.h).
constexpr int NameSlots = NameListSlots;

// The lists an instrument leaves the factory with; slot 0 stands for "no choice".
QStringList defaultMaterialNames();
QStringList defaultObjectNames();

// 13 ShortName20 slots, Windows-1251, unused bytes zero.
NameListBlock makeNameListBlock(const QStringList &names);

} // namespace kvt::sim
