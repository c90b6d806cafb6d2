#pragma once

#include <QUrl>

#include <functional>

class QWidget;

namespace kvt {

// Opens a web page, a new mail message ("mailto:") or a local file with the
// desktop's own program for it: on Windows through the shell's "open" verb, in
// a normal window owned by the given one (shell_open_windows.cpp), elsewhere
// through the desktop's opener (shell_open_posix.cpp). A failure is not
// reported: the desktop says why where it can.
void shellOpen(const QUrl &target, QWidget *owner);

// Tests see what would be opened instead of starting the desktop's programs;
// an empty function gives the desktop back.
void replaceShellForTests(std::function<void(const QUrl &)> opener);

// The platform's part of shellOpen.
void systemShellOpen(const QUrl &target, QWidget *owner);

} // namespace kvt
