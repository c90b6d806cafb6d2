#pragma once

// The libusb 0.1 API as the Linux library lays it out: Debian's own header
// (libusb-dev), for the types only; nothing links libusb.
#include <usb.h>
