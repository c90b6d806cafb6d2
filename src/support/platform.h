#pragma once

// What the operating systems do differently for the support services. Each
// platform implements these in its own file (platform_posix.cpp,
// platform_windows.cpp), chosen by CMake; the rest never asks which system
// it runs on.

#include <QChar>
#include <QString>

#include <optional>

namespace kvt {

// "/" everywhere; "\" as well on Windows.
bool isPathSeparator(QChar character);

// The character a Windows-1251 byte stands for, as the system's own converter
// says (the unassigned 0x98 comes through as U+0098); U+FFFD if it has none.
char16_t windows1251Character(unsigned char byte);

// The Qt platform plugin for drawing without a display (the report of
// kvt10-cli): "offscreen" here, "windows" on Windows, where it needs no
// display and brings the system's fonts, which offscreen there has not.
const char *windowlessGuiPlatform();

// Standard output and error pass bytes as they are: LF stays LF, as on Linux,
// where Windows' text mode would write CR LF.
void useBinaryStandardStreams();

// An executable's version strings, as the about box shows them.
struct VersionData {
    QString internalName;
    QString fileVersion;
    QString legalCopyright;
};
// On Windows, the version resource of that file: the values under its first
// translation, a missing one empty; nothing when it has no resource or no
// translation. Programs elsewhere carry no version resource: there it is
// what this build was made with, whatever the file.
std::optional<VersionData> executableVersionData(const QString &executable);

} // namespace kvt
