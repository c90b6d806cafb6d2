#pragma once

#include <QString>

namespace kvt::testing {

// A library held loaded by the system for the rest of the run, with a handle
// of its own: whatever QLibrary objects of the same file load and unload (they
// share one count in Qt, which their unloads can bring to zero). Nothing when
// it cannot be loaded.
void *holdLibrary(const QString &file);
// A function of a held library; nothing when it has none of that name.
void (*heldFunction(void *library, const char *name))();

} // namespace kvt::testing
