#pragma once

#include <QStringList>

#include <array>

namespace kvt::sim {

constexpr int NameSlots = 13;
constexpr int NameListBlockSize = NameSlots * 20;
using NameListBlock = std::array<unsigned char, NameListBlockSize>;

// The lists an instrument leaves the factory with; slot 0 stands for "no choice".
QStringList defaultMaterialNames();
QStringList defaultObjectNames();

// 13 ShortName20 slots, Windows-1251, unused bytes zero.
NameListBlock makeNameListBlock(const QStringList &names);

} // namespace kvt::sim
