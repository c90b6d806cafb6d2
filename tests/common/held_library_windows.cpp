#include "held_library.h"

#include <QDir>

#include <windows.h>

namespace kvt::testing {

void *holdLibrary(const QString &file)
{
    return LoadLibraryW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(file).utf16()));
}

void (*heldFunction(void *library, const char *name))()
{
    return library ? reinterpret_cast<void (*)()>(GetProcAddress(HMODULE(library), name)) : nullptr;
}

} // namespace kvt::testing
