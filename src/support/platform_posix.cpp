#include "platform.h"

#include "kvt_version.h"

#include <QStringDecoder>

namespace kvt {

bool isPathSeparator(QChar character)
{
    return character == u'/';
}

char16_t windows1251Character(unsigned char byte)
{
    // Debian's Qt has the code page through ICU.
    QStringDecoder decoder("windows-1251");
    const char raw = char(byte);
    const QString decoded = decoder.decode(QByteArrayView(&raw, 1));
    return decoded.size() == 1 ? decoded.front().unicode() : u'\xFFFD';
}

const char *windowlessGuiPlatform()
{
    return "offscreen";
}

void useBinaryStandardStreams() {}

std::optional<VersionData> executableVersionData(const QString &)
{
    return VersionData{QStringLiteral(KVT10_INTERNAL_NAME), QStringLiteral(KVT10_FILE_VERSION),
                       QStringLiteral(KVT10_LEGAL_COPYRIGHT)};
}

} // namespace kvt
