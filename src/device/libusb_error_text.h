#pragma once

#include "support/bilingual.h"

#include <QString>

namespace kvt {

// The text of a negative libusb result in the current language: the C library's
// errno values as libusb 0.1 returns them. 0 gives an empty text, unknown codes
// "LibUsb: Error " and the code.
QString libUsbErrorText(int code, Language language);

// Shown when libusb finds no instrument; it exists in Russian only.
inline constexpr char16_t NotConnectedMessage[] =
    u"Прибор не подключен к шине USB или выключен. Включите прибор, подключите его к шине USB и перезапустите "
    u"программу.";

} // namespace kvt
