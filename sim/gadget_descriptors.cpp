#include "gadget_descriptors.h"

#include "sim_bus.h"

#include <QtEndian>

#include <iterator>

#include <linux/usb/ch9.h>
#include <linux/usb/functionfs.h>

namespace kvt::sim {
namespace {

constexpr char InterfaceName[] = "KVT-1.0";
constexpr quint16 UsEnglish = 0x0409;

void appendLe32(QByteArray &bytes, quint32 value)
{
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
}

void appendLe16(QByteArray &bytes, quint16 value)
{
    char le[2];
    qToLittleEndian(value, le);
    bytes.append(le, 2);
}

// dummy_hcd's bulk endpoints have fixed numbers and are handed out in its
// list's order: 0x02, 0x07 and 0x0C before 0x01 for OUT, 0x81, 0x86 and 0x8B
// before 0x82 for IN. Spare endpoints, declared first and never used, take
// those, so that the instrument's own get the numbers the program uses.
// (Declaring 0x01 and 0x82 with FunctionFS's virtual addresses instead shows
// the host the right numbers, but the kernel then cannot enable endpoints
// whose real numbers differ from their descriptors'.)
constexpr int SpareEndpoints[] = {0x02, 0x07, 0x0C, 0x81, 0x86, 0x8B};
constexpr int EndpointCount = int(std::size(SpareEndpoints)) + 2;

void appendEndpoint(QByteArray &bytes, int address, quint16 maxPacket)
{
    bytes.append(char(USB_DT_ENDPOINT_SIZE));
    bytes.append(char(USB_DT_ENDPOINT));
    bytes.append(char(address));
    bytes.append(char(USB_ENDPOINT_XFER_BULK));
    appendLe16(bytes, maxPacket);
    bytes.append(char(0)); // bInterval
}

// The interface and its endpoints at one speed's packet size.
QByteArray interfaceDescriptors(quint16 maxPacket)
{
    QByteArray bytes;
    bytes.append(char(USB_DT_INTERFACE_SIZE));
    bytes.append(char(USB_DT_INTERFACE));
    bytes.append(char(0)); // bInterfaceNumber
    bytes.append(char(0)); // bAlternateSetting
    bytes.append(char(EndpointCount));
    bytes.append(char(USB_CLASS_VENDOR_SPEC));
    bytes.append(char(0)); // bInterfaceSubClass
    bytes.append(char(0)); // bInterfaceProtocol
    bytes.append(char(1)); // iInterface: the first string
    for (int address : SpareEndpoints)
        appendEndpoint(bytes, address, maxPacket);
    appendEndpoint(bytes, SimOutEndpoint, maxPacket);
    appendEndpoint(bytes, SimInEndpoint, maxPacket);
    return bytes;
}

} // namespace

QByteArray functionFsDescriptors()
{
    const QByteArray fullSpeed = interfaceDescriptors(64);
    const QByteArray highSpeed = interfaceDescriptors(512);
    QByteArray bytes;
    appendLe32(bytes, FUNCTIONFS_DESCRIPTORS_MAGIC_V2);
    appendLe32(bytes, 0); // the length, below
    appendLe32(bytes, FUNCTIONFS_HAS_FS_DESC | FUNCTIONFS_HAS_HS_DESC);
    appendLe32(bytes, 1 + EndpointCount); // descriptors at full speed
    appendLe32(bytes, 1 + EndpointCount); // at high speed
    bytes += fullSpeed + highSpeed;
    qToLittleEndian(quint32(bytes.size()), bytes.data() + 4);
    return bytes;
}

QByteArray functionFsStrings()
{
    QByteArray bytes;
    appendLe32(bytes, FUNCTIONFS_STRINGS_MAGIC);
    appendLe32(bytes, 0); // the length, below
    appendLe32(bytes, 1); // strings
    appendLe32(bytes, 1); // languages
    appendLe16(bytes, UsEnglish);
    bytes.append(InterfaceName, sizeof InterfaceName); // with its 0
    qToLittleEndian(quint32(bytes.size()), bytes.data() + 4);
    return bytes;
}

} // namespace kvt::sim
