// Feeds arbitrary bytes to every exchange of the instrument protocol as the
// replies of a broken instrument or cable would come: lengths of 0 or 2^32-1,
// replies cut short, transfers that fail, nothing at all.
#include "device/device_protocol.h"

#include <cstring>
#include <memory>

namespace {

// Each read takes its transfer from the input: one control byte (0xFF: the
// transfer fails; otherwise the low bits choose how many input bytes it
// delivers), then those bytes. The end of the input fails every read.
class InputLink final : public kvt::ByteLink {
public:
    InputLink(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    bool write(const void *, int count) override { return count > 0; }

    std::optional<int> read(void *bytes, int count) override
    {
        if (m_offset >= m_size)
            return std::nullopt;
        const uint8_t control = m_data[m_offset++];
        if (control == 0xFF)
            return std::nullopt;
        const size_t wanted = control < 0x80 ? control : size_t(control & 0x7F) * 64;
        const size_t available = std::min(wanted, m_size - m_offset);
        const int delivered = int(std::min<size_t>(available, size_t(count)));
        std::memcpy(bytes, m_data + m_offset, size_t(delivered));
        m_offset += available;
        return delivered;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_offset = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static auto store = std::make_unique<kvt::MeasurementStore>();
    kvt::FakeClock clock;
    for (const kvt::TransportKind kind : {kvt::TransportKind::LibUsb, kvt::TransportKind::Pipes}) {
        InputLink link(data, size);
        kvt::DeviceProtocol protocol(link, kind, clock);
        (void)protocol.readVersion();
        if (protocol.readDirectory(*store))
            store->countDirectoryImpacts();
        for (quint32 i = 0; i < 3 && i < store->impactCount(); ++i)
            (void)protocol.readImpact(*store, kvt::MaxImpacts - 1 - i);
        kvt::NameListBlock names{};
        (void)protocol.readNameList(kvt::NameList::Materials, names);
        kvt::ScreenBlock screen{};
        (void)protocol.readScreen(screen);
        protocol.resynchronise();
    }
    return 0;
}
