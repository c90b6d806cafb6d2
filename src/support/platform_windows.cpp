#include "platform.h"

#include <QDir>

#include <vector>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
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

const char *windowlessGuiPlatform()
{
    return "windows";
}

void useBinaryStandardStreams()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::optional<VersionData> executableVersionData(const QString &executable)
{
    const std::wstring file = QDir::toNativeSeparators(executable).toStdWString();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
        return std::nullopt;
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void *translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &length)
        || length < sizeof(Translation))
        return std::nullopt;
    const auto *first = static_cast<const Translation *>(translations);
    // "041904E3": language and code page, 8 upper-case hexadecimal digits.
    const quint32 languageAndCodePage = quint32(first->language) << 16 | first->codePage;
    const QString key = QString::number(languageAndCodePage, 16).rightJustified(8, u'0').toUpper();
    const auto value = [&](const char *name) {
        const std::wstring path = QStringLiteral("\\StringFileInfo\\%1\\%2").arg(key, QLatin1String(name)).toStdWString();
        void *text = nullptr;
        UINT characters = 0;
        if (!VerQueryValueW(block.data(), path.c_str(), &text, &characters) || characters == 0)
            return QString();
        return QString::fromWCharArray(static_cast<const wchar_t *>(text));
    };
    return VersionData{value("InternalName"), value("FileVersion"), value("LegalCopyright")};
}

} // namespace kvt
