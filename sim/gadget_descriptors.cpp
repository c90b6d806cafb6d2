#include "gadget_descriptors.h"

#include "sim_bus.h"

#include <QtEndian>

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

// The interface and its two endpoints at one speed's packet size.
QByteArray interfaceDescriptors(quint16 maxPacket)
{
    QByteArray bytes;
    bytes.append(char(USB_DT_INTERFACE_SIZE));
    bytes.append(char(USB_DT_INTERFACE));
    bytes.append(char(0)); // bInterfaceNumber
    bytes.append(char(0)); // bAlternateSetting
    bytes.append(char(2)); // bNumEndpoints
    bytes.append(char(USB_CLASS_VENDOR_SPEC));
    bytes.append(char(0)); // bInterfaceSubClass
    bytes.append(char(0)); // bInterfaceProtocol
    bytes.append(char(1)); // iInterface: the first string
    for (int address : {SimOutEndpoint, SimInEndpoint}) {
        bytes.append(char(USB_DT_ENDPOINT_SIZE));
        bytes.append(char(USB_DT_ENDPOINT));
        bytes.append(char(address));
        bytes.append(char(USB_ENDPOINT_XFER_BULK));
        appendLe16(bytes, maxPacket);
        bytes.append(char(0)); // bInterval
    }
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
    appendLe32(bytes, FUNCTIONFS_HAS_FS_DESC | FUNCTIONFS_HAS_HS_DESC | FUNCTIONFS_VIRTUAL_ADDR);
    appendLe32(bytes, 3); // descriptors at full speed
    appendLe32(bytes, 3); // at high speed
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
