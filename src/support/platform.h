#pragma once

// What the operating systems do differently for the support services. Each
// platform implements these in its own file (platform_posix.cpp,
// platform_windows.cpp), chosen by CMake; the rest never asks which system
// it runs on.

#include <QChar>

namespace kvt {

// "/" everywhere; "\" as well on Windows.
bool isPathSeparator(QChar character);

// The character a Windows-1251 byte stands for, as the system's own converter
// says (the unassigned 0x98 comes through as U+0098); U+FFFD if it has none.
char16_t windows1251Character(unsigned char byte);

} // namespace kvt
