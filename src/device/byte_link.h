#pragma once

#include <optional>

namespace kvt {

// One open channel to the instrument, whichever backend carries it. A failed
// transfer is reported, never retried: retries belong to the worker.
class ByteLink {
public:
    virtual ~ByteLink() = default;
    // True when the bytes went out.
    virtual bool write(const void *bytes, int count) = 0;
    // The number of bytes delivered (libusb may deliver fewer than asked), or
    // nothing when the transfer failed.
    virtual std::optional<int> read(void *bytes, int count) = 0;
};

} // namespace kvt
