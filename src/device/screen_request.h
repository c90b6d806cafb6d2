#pragma once

#include "link_state.h"

namespace kvt {

// The screen viewers' side of the link. A viewer's buffer is written by the
// worker only under the screen lock and only while the viewer holds it, so a
// viewer closed during a read never has its freed buffer written.

// Posts the screen request for this buffer. It replaces a search, an idle
// worker, or another viewer's screen request (that viewer then sees nothing
// new); while the worker reads the measurements or serves a name list it is
// not posted (false), so that neither is cut short and lost.
bool postScreenRequest(LinkShared &shared, ScreenBlock &buffer);

// The worker's reply, into the buffer of the viewer that asked last, if any.
void deliverScreen(LinkShared &shared, const ScreenBlock &reply);

// A closing viewer lets go of its buffer.
void releaseScreenBuffer(LinkShared &shared, const ScreenBlock &buffer);

} // namespace kvt
