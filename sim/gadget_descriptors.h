#pragma once

#include <QByteArray>

namespace kvt::sim {

// What the instrument's USB function tells the host, in FunctionFS's own
// layout for ep0: one vendor-specific interface (0) with a bulk OUT endpoint
// 0x01 and a bulk IN endpoint 0x82 on dummy_hcd, for full and high speed.
// Their FunctionFS files are the last two: ep7 (OUT) and ep8 (IN).
QByteArray functionFsDescriptors();
inline constexpr char OutEndpointFile[] = "ep7";
inline constexpr char InEndpointFile[] = "ep8";
// The interface's name, in US English.
QByteArray functionFsStrings();

} // namespace kvt::sim
