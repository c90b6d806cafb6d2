#include "windows1251.h"

#include "platform.h"

#include <QHash>

#include <array>

namespace kvt {
namespace {

// Windows-1251 is a single-byte code: one table in each direction, asked of
// the system's converter once, serves every name. Asking per name would cost
// more than the rest of a table fill.
struct Tables {
    std::array<char16_t, 256> fromByte{};
    QHash<char16_t, char> toByte;
};

Tables buildTables()
{
    Tables tables;
    for (int b = 0; b < 256; ++b) {
        const char16_t character = windows1251Character(static_cast<unsigned char>(b));
        tables.fromByte[size_t(b)] = character;
        if (character != u'\xFFFD')
            tables.toByte.insert(character, char(b));
    }
    return tables;
}

const Tables &tables()
{
    static const Tables built = buildTables();
    return built;
}

} // namespace

QString fromWindows1251(QByteArrayView bytes)
{
    const Tables &map = tables();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes)
        *out++ = map.fromByte[static_cast<unsigned char>(byte)];
    return text;
}

QByteArray toWindows1251(QStringView text)
{
    const Tables &map = tables();
    QByteArray result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character outside the code: one '?'.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        result.append(map.toByte.value(text[i].unicode(), '?'));
    }
    return result;
}

} // namespace kvt
