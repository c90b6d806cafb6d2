#pragma once

#include <QByteArray>

namespace kvt::sim {

// What the instrument's USB function tells the host, in FunctionFS's own
// layout for ep0: one vendor-specific interface (0) with a bulk OUT endpoint
// 0x01 and a bulk IN endpoint 0x82, for full and high speed, the addresses
// kept as written (the controller would otherwise number them its own way).
QByteArray functionFsDescriptors();
// The interface's name, in US English.
QByteArray functionFsStrings();

} // namespace kvt::sim
