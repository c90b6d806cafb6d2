#include "windows1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kvt {

QString fromWindows1251(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

QByteArray toWindows1251(QStringView text)
{
    QByteArray result;
    result.reserve(text.size());
    QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
    // One character at a time, so that an unmappable character (or a lone
    // surrogate) yields exactly one '?' and never shifts the rest.
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype width = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            width = 2;
        const QByteArray one = encoder.encode(text.mid(i, width));
        if (encoder.hasError() || one.size() != 1) {
            result.append('?');
            encoder.resetState();
        } else {
            result.append(one);
        }
        i += width - 1;
    }
    return result;
}

} // namespace kvt
