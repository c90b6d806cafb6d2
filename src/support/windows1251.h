#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace kvt {

// The instrument, its records and its name list files speak Windows-1251.
// Inside the program every text is a QString; these two are the only crossings.
QString fromWindows1251(QByteArrayView bytes);

// Characters Windows-1251 cannot hold become '?', one byte per character,
// so a 19-character name still fits its 19-byte field.
QByteArray toWindows1251(QStringView text);

} // namespace kvt
