#pragma once

#include <QtGlobal>

#include <exception>

namespace kvt {

// Runs a handler called from Qt's event loop or from a thread's entry, where
// nothing may unwind: whatever it throws is reported and dropped.
template <typename Call>
void callGuarded(const char *where, Call &&call)
{
    try {
        call();
    } catch (const std::exception &error) {
        qWarning("%s: exception: %s", where, error.what());
    } catch (...) {
        qWarning("%s: unknown exception", where);
    }
}

} // namespace kvt
