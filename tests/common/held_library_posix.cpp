#include "held_library.h"

#include <QFile>

#include <dlfcn.h>

namespace kvt::testing {

void *holdLibrary(const QString &file)
{
    return dlopen(QFile::encodeName(file).constData(), RTLD_NOW);
}

void (*heldFunction(void *library, const char *name))()
{
    return library ? reinterpret_cast<void (*)()>(dlsym(library, name)) : nullptr;
}

} // namespace kvt::testing
