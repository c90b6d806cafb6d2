#pragma once

#include "bilingual.h"
#include "profile_text.h"

#include <QString>

namespace kvt {

// A file in the profile form as its reader finds it: read, not there at all
// (a first start, a new file), or there but not to be read: no regular file,
// larger than any file of its kind can be, not to be opened, or UTF-16.
enum class ProfileFileStatus { Read, Missing, Refused, Utf16 };

struct ProfileFile {
    ProfileFileStatus status = ProfileFileStatus::Missing;
    ProfileText text; // empty unless status is Read; a missing file's in its encoding, for a new file
};

// Read whole, through readRegularFile, so that a FIFO, a device or a huge file
// is refused before it can block the program or fill its memory.
ProfileFile readProfileFile(const QString &path, qint64 maxBytes,
                            ProfileText::Encoding encoding = ProfileText::Encoding::Detect);

// Said before the file's name when a settings or rules file is in UTF-16.
inline constexpr TextPair Utf16FileRefused{u"Файл в кодировке UTF-16 не читается (сохраните его в UTF-8 или Windows-1251): ",
                                           u"A UTF-16 file cannot be read (save it as UTF-8 or Windows-1251): "};

} // namespace kvt
