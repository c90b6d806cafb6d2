#pragma once

#include "device/device_protocol.h"

#include <QStringList>

namespace kvt {

// The 13 names of a list's table, slot 0 first.
QStringList namesFromTable(const NameListBlock &table);

// Stores the names into the table's slots, each cut to 19 characters; a
// missing name stores the empty one.
void storeNames(NameListBlock &table, const QStringList &names);

} // namespace kvt
