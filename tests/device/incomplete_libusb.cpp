// A library with some of libusb 0.1's names but not usb_bulk_read: the program
// must refuse it rather than call through a missing function.
extern "C" {
void usb_init() {}
int usb_find_busses() { return 0; }
int usb_find_devices() { return 0; }
void *usb_get_busses() { return nullptr; }
}
