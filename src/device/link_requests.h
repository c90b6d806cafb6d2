#pragma once

#include "link_state.h"

#include <optional>
#include <span>

namespace kvt {

// The hand-over between the window's requests and the worker. The worker
// touches a requester's buffer only under the request lock and only while
// that very request still stands, so a requester that withdrew (or a viewer
// that closed) can use or free its buffer at once.

// The requester's side.
// Posts a request when the worker is idle: its serial, or nothing when busy.
std::optional<quint32> postRequest(LinkShared &shared, LinkState request);
// Whether the worker completed the request of that serial.
bool requestServed(LinkShared &shared, quint32 serial);
// The requester gives up: its request, if still posted, becomes StateIdle.
void withdrawRequest(LinkShared &shared, LinkState request);

// Posts the screen request for this buffer. It replaces a search, an idle
// worker, or another viewer's screen request (that viewer then sees nothing
// new); while the worker reads the measurements or serves a name list it is
// not posted (nothing), so that neither is cut short and lost.
std::optional<quint32> postScreenRequest(LinkShared &shared, ScreenBlock &buffer);
// A closing viewer lets go of its buffer.
void releaseScreenBuffer(LinkShared &shared, const ScreenBlock &buffer);

// The worker's side, for the request it is about to serve.
struct StandingRequest {
    LinkState request;
    quint32 serial;
};
// The request as it stands now; nothing when it was withdrawn meanwhile.
std::optional<StandingRequest> standingRequest(LinkShared &shared, LinkState request);
// The name table to send, copied while the request stands.
std::optional<NameListBlock> takeOutgoingNames(LinkShared &shared, const StandingRequest &standing,
                                               const NameListBlock &table);
// The bytes of a reply that arrived, copied over the start of their
// destination; a reply cut short leaves the rest of it as it was.
// The list read from the instrument, into the table while the request stands.
void deliverNames(LinkShared &shared, const StandingRequest &standing, NameListBlock &table,
                  std::span<const unsigned char> reply);
// The screen read from the instrument, into the buffer of the viewer that asked last.
void deliverScreen(LinkShared &shared, std::span<const unsigned char> reply);
// The request is done: the worker goes idle, unless the request was withdrawn
// or replaced meanwhile.
void completeRequest(LinkShared &shared, const StandingRequest &standing);

} // namespace kvt
