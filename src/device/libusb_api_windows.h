#pragma once

// The libusb 0.1 API as libusb-win32 ("libusb0.dll") lays it out: its own
// path length, structures packed to single bytes and its own error numbers,
// unlike the Linux library's. What the program and the simulated instrument
// use, as libusb-win32's lusb0_usb.h declares it.

#include <cstddef>

#define LIBUSB_PATH_MAX 512

#define USB_CLASS_PER_INTERFACE 0
#define USB_CLASS_VENDOR_SPEC 0xff

#define USB_DT_DEVICE 0x01
#define USB_DT_CONFIG 0x02
#define USB_DT_INTERFACE 0x04
#define USB_DT_ENDPOINT 0x05

#define USB_DT_DEVICE_SIZE 18
#define USB_DT_CONFIG_SIZE 9
#define USB_DT_INTERFACE_SIZE 9
#define USB_DT_ENDPOINT_SIZE 7

#define USB_ENDPOINT_TYPE_BULK 2

#pragma pack(push, 1)

struct usb_endpoint_descriptor {
    unsigned char bLength;
    unsigned char bDescriptorType;
    unsigned char bEndpointAddress;
    unsigned char bmAttributes;
    unsigned short wMaxPacketSize;
    unsigned char bInterval;
    unsigned char bRefresh;
    unsigned char bSynchAddress;
    unsigned char *extra;
    int extralen;
};

struct usb_interface_descriptor {
    unsigned char bLength;
    unsigned char bDescriptorType;
    unsigned char bInterfaceNumber;
    unsigned char bAlternateSetting;
    unsigned char bNumEndpoints;
    unsigned char bInterfaceClass;
    unsigned char bInterfaceSubClass;
    unsigned char bInterfaceProtocol;
    unsigned char iInterface;
    struct usb_endpoint_descriptor *endpoint;
    unsigned char *extra;
    int extralen;
};

struct usb_interface {
    struct usb_interface_descriptor *altsetting;
    int num_altsetting;
};

struct usb_config_descriptor {
    unsigned char bLength;
    unsigned char bDescriptorType;
    unsigned short wTotalLength;
    unsigned char bNumInterfaces;
    unsigned char bConfigurationValue;
    unsigned char iConfiguration;
    unsigned char bmAttributes;
    unsigned char MaxPower;
    struct usb_interface *interface;
    unsigned char *extra;
    int extralen;
};

struct usb_device_descriptor {
    unsigned char bLength;
    unsigned char bDescriptorType;
    unsigned short bcdUSB;
    unsigned char bDeviceClass;
    unsigned char bDeviceSubClass;
    unsigned char bDeviceProtocol;
    unsigned char bMaxPacketSize0;
    unsigned short idVendor;
    unsigned short idProduct;
    unsigned short bcdDevice;
    unsigned char iManufacturer;
    unsigned char iProduct;
    unsigned char iSerialNumber;
    unsigned char bNumConfigurations;
};

struct usb_device {
    struct usb_device *next, *prev;
    char filename[LIBUSB_PATH_MAX];
    struct usb_bus *bus;
    struct usb_device_descriptor descriptor;
    struct usb_config_descriptor *config;
    void *dev;
    unsigned char devnum;
    unsigned char num_children;
    struct usb_device **children;
};

struct usb_bus {
    struct usb_bus *next, *prev;
    char dirname[LIBUSB_PATH_MAX];
    struct usb_device *devices;
    unsigned long location;
    struct usb_device *root_dev;
};

#pragma pack(pop)

static_assert(sizeof(usb_device_descriptor) == 18);
static_assert(offsetof(usb_endpoint_descriptor, extra) == 9);
static_assert(offsetof(usb_interface_descriptor, endpoint) == 9);
static_assert(offsetof(usb_config_descriptor, interface) == 9);
static_assert(offsetof(usb_device, descriptor) == 2 * sizeof(void *) + LIBUSB_PATH_MAX + sizeof(void *));
static_assert(sizeof(usb_bus) == 4 * sizeof(void *) + LIBUSB_PATH_MAX + sizeof(unsigned long));

struct usb_dev_handle;
typedef struct usb_dev_handle usb_dev_handle;

extern "C" {
void usb_init(void);
int usb_find_busses(void);
int usb_find_devices(void);
struct usb_bus *usb_get_busses(void);
usb_dev_handle *usb_open(struct usb_device *dev);
int usb_close(usb_dev_handle *dev);
int usb_set_configuration(usb_dev_handle *dev, int configuration);
int usb_claim_interface(usb_dev_handle *dev, int interface);
int usb_release_interface(usb_dev_handle *dev, int interface);
int usb_bulk_write(usb_dev_handle *dev, int ep, char *bytes, int size, int timeout);
int usb_bulk_read(usb_dev_handle *dev, int ep, char *bytes, int size, int timeout);
int usb_interrupt_write(usb_dev_handle *dev, int ep, char *bytes, int size, int timeout);
int usb_interrupt_read(usb_dev_handle *dev, int ep, char *bytes, int size, int timeout);
int usb_control_msg(usb_dev_handle *dev, int requesttype, int request, int value, int index, char *bytes, int size,
                    int timeout);
int usb_get_string(usb_dev_handle *dev, int index, int langid, char *buf, size_t buflen);
int usb_get_string_simple(usb_dev_handle *dev, int index, char *buf, size_t buflen);
int usb_get_descriptor_by_endpoint(usb_dev_handle *udev, int ep, unsigned char type, unsigned char index, void *buf,
                                   int size);
int usb_get_descriptor(usb_dev_handle *udev, unsigned char type, unsigned char index, void *buf, int size);
int usb_set_altinterface(usb_dev_handle *dev, int alternate);
int usb_clear_halt(usb_dev_handle *dev, unsigned int ep);
int usb_resetep(usb_dev_handle *dev, unsigned int ep);
int usb_reset(usb_dev_handle *dev);
struct usb_device *usb_device(usb_dev_handle *dev);
char *usb_strerror(void);
void usb_set_debug(int level);
}

namespace kvt {
// Data to write goes in as a plain char pointer here.
using LibUsbWriteBytes = char *;
// libusb-win32 numbers its errors itself: a time-out is -116.
inline constexpr int LibUsbTimedOut = -116;
} // namespace kvt
