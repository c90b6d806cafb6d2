#pragma once

// The libusb 0.1 C API's types and functions as this system's libusb 0.1 lays
// them out. The layouts differ between Linux and Windows, so CMake names the
// platform's header (libusb_api_posix.h or libusb_api_windows.h).
#include KVT_LIBUSB_API_HEADER
