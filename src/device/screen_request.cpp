#include "screen_request.h"

namespace kvt {

bool postScreenRequest(LinkShared &shared, ScreenBlock &buffer)
{
    const std::lock_guard lock(shared.screenLock);
    for (quint8 replaced : {StateIdle, StateSearch, StateReadScreen}) {
        quint8 expected = replaced;
        if (shared.linkState.compare_exchange_strong(expected, StateReadScreen)) {
            shared.screenBuffer = &buffer;
            return true;
        }
    }
    return false;
}

void deliverScreen(LinkShared &shared, const ScreenBlock &reply)
{
    const std::lock_guard lock(shared.screenLock);
    if (shared.screenBuffer)
        *shared.screenBuffer = reply;
}

void releaseScreenBuffer(LinkShared &shared, const ScreenBlock &buffer)
{
    const std::lock_guard lock(shared.screenLock);
    if (shared.screenBuffer == &buffer)
        shared.screenBuffer = nullptr;
}

} // namespace kvt
