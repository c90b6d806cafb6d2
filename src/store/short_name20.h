#pragma once

#include <QString>

namespace kvt {

constexpr int ShortName20Size = 20;
constexpr int ShortName20MaxChars = 19;

// A 20-byte name field: a length byte, then up to 19 Windows-1251 characters.
// A length byte of 0, of 20 or more, or negative as a signed byte reads as empty.
QString readShortName20(const unsigned char *field);

// Stores at most 19 characters and a 0 byte after the last one when there is room;
// the bytes after that are left as they were.
void writeShortName20(unsigned char *field, const QString &name);

} // namespace kvt
