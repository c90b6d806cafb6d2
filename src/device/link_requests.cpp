#include "link_requests.h"

#include <algorithm>

namespace kvt {
namespace {

bool stands(const LinkShared &shared, const StandingRequest &standing)
{
    return shared.linkState == standing.request && shared.requestSerial == standing.serial;
}

template <std::size_t Size>
void copyArrived(std::array<unsigned char, Size> &destination, std::span<const unsigned char> reply)
{
    std::copy_n(reply.begin(), std::min(reply.size(), Size), destination.begin());
}

} // namespace

std::optional<quint32> postRequest(LinkShared &shared, LinkState request)
{
    const std::lock_guard lock(shared.requestLock);
    quint8 idle = StateIdle;
    if (!shared.linkState.compare_exchange_strong(idle, request))
        return std::nullopt;
    return ++shared.requestSerial;
}

bool requestServed(LinkShared &shared, quint32 serial)
{
    const std::lock_guard lock(shared.requestLock);
    return shared.servedSerial == serial;
}

void withdrawRequest(LinkShared &shared, LinkState request)
{
    const std::lock_guard lock(shared.requestLock);
    quint8 posted = request;
    shared.linkState.compare_exchange_strong(posted, StateIdle);
}

std::optional<quint32> postScreenRequest(LinkShared &shared, ScreenBlock &buffer)
{
    const std::lock_guard lock(shared.requestLock);
    for (quint8 replaced : {StateIdle, StateSearch, StateReadScreen}) {
        quint8 expected = replaced;
        if (shared.linkState.compare_exchange_strong(expected, StateReadScreen)) {
            shared.screenBuffer = &buffer;
            return ++shared.requestSerial;
        }
    }
    return std::nullopt;
}

void releaseScreenBuffer(LinkShared &shared, const ScreenBlock &buffer)
{
    const std::lock_guard lock(shared.requestLock);
    if (shared.screenBuffer == &buffer)
        shared.screenBuffer = nullptr;
}

std::optional<StandingRequest> standingRequest(LinkShared &shared, LinkState request)
{
    const std::lock_guard lock(shared.requestLock);
    if (shared.linkState != request)
        return std::nullopt;
    return StandingRequest{request, shared.requestSerial};
}

std::optional<NameListBlock> takeOutgoingNames(LinkShared &shared, const StandingRequest &standing,
                                               const NameListBlock &table)
{
    const std::lock_guard lock(shared.requestLock);
    if (!stands(shared, standing))
        return std::nullopt;
    return table;
}

void deliverNames(LinkShared &shared, const StandingRequest &standing, NameListBlock &table,
                  std::span<const unsigned char> reply)
{
    const std::lock_guard lock(shared.requestLock);
    if (stands(shared, standing))
        copyArrived(table, reply);
}

void deliverScreen(LinkShared &shared, std::span<const unsigned char> reply)
{
    const std::lock_guard lock(shared.requestLock);
    if (shared.screenBuffer)
        copyArrived(*shared.screenBuffer, reply);
}

void completeRequest(LinkShared &shared, const StandingRequest &standing)
{
    const std::lock_guard lock(shared.requestLock);
    if (!stands(shared, standing))
        return;
    shared.linkState = StateIdle;
    shared.servedSerial = standing.serial;
}

} // namespace kvt
