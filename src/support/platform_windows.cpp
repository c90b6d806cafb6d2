#include "platform.h"

#include <windows.h>

namespace kvt {

bool isPathSeparator(QChar character)
{
    return character == u'/' || character == u'\\';
}

char16_t windows1251Character(unsigned char byte)
{
    // Qt built without ICU has no named converters here; the system's own
    // code page 1251 gives the same table.
    const char raw = char(byte);
    wchar_t character = 0;
    if (MultiByteToWideChar(1251, 0, &raw, 1, &character, 1) != 1)
        return u'\xFFFD';
    return char16_t(character);
}

} // namespace kvt
