#pragma once

// The libusb 0.1 API as libusb-win32 ("libusb0.dll") lays it out: its own
// path length and structures packed to single bytes, unlike the Linux
// library's. Only what the program and the simulated instrument use.

#include <cstddef>

#define LIBUSB_PATH_MAX 512

#pragma pack(push, 1)

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

struct usb_config_descriptor;

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
int usb_clear_halt(usb_dev_handle *dev, unsigned int ep);
int usb_resetep(usb_dev_handle *dev, unsigned int ep);
int usb_reset(usb_dev_handle *dev);
struct usb_device *usb_device(usb_dev_handle *dev);
char *usb_strerror(void);
void usb_set_debug(int level);
}
