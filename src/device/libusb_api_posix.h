#pragma once

// The libusb 0.1 API as the Linux library lays it out: Debian's own header
// (libusb-dev), for the types only; nothing links libusb.
#include <usb.h>
#include <cerrno>

namespace kvt {
// Data to write goes in as a pointer to const.
using LibUsbWriteBytes = const char *;
// A time-out is -ETIMEDOUT, which is -110 on Linux.
inline constexpr int LibUsbTimedOut = -ETIMEDOUT;
} // namespace kvt
