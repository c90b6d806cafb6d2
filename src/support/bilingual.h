#pragma once

#include <QString>

namespace kvt {

// The language index: 0 Russian, 1 English. Russian is the instrument's own language.
enum class Language : quint8 { Russian = 0, English = 1 };

// Every user-visible text exists in both languages; the language index picks one.
struct TextPair {
    const char16_t *russian;
    const char16_t *english;

    QString text(Language language) const
    {
        return QString::fromUtf16(language == Language::Russian ? russian : english);
    }
};

} // namespace kvt
