#include "shell_open.h"

#include <QDir>
#include <QWidget>

#include <windows.h>
#include <shellapi.h>

namespace kvt {

void systemShellOpen(const QUrl &target, QWidget *owner)
{
    const QString text = target.isLocalFile() ? QDir::toNativeSeparators(target.toLocalFile()) : target.toString();
    const HWND window = owner ? HWND(owner->window()->winId()) : nullptr;
    ShellExecuteW(window, L"open", reinterpret_cast<const wchar_t *>(text.utf16()), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace kvt
