#include "short_name20.h"

#include "support/windows1251.h"

#include <cstring>

namespace kvt {

QString readShortName20(const unsigned char *field)
{
    const auto length = static_cast<signed char>(field[0]);
    if (length <= 0 || length >= ShortName20Size)
        return {};
    return fromWindows1251(QByteArrayView(reinterpret_cast<const char *>(field + 1), length));
}

void writeShortName20(unsigned char *field, const QString &name)
{
    const QByteArray bytes = toWindows1251(name).left(ShortName20MaxChars);
    field[0] = static_cast<unsigned char>(bytes.size());
    std::memcpy(field + 1, bytes.constData(), size_t(bytes.size()));
    if (bytes.size() < ShortName20MaxChars)
        field[1 + bytes.size()] = 0;
}

} // namespace kvt
