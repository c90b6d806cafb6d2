#include "profile_file.h"

#include "bounded_read.h"

#include <QFileInfo>

namespace kvt {

ProfileFile readProfileFile(const QString &path, qint64 maxBytes, ProfileText::Encoding encoding)
{
    const BoundedRead read = readRegularFile(path, maxBytes);
    if (read.status == BoundedReadStatus::CannotOpen && !QFileInfo::exists(path))
        return {ProfileFileStatus::Missing, ProfileText::parse({}, encoding)};
    if (read.status != BoundedReadStatus::Read)
        return {ProfileFileStatus::Refused, {}};
    if (ProfileText::isUtf16(read.bytes))
        return {ProfileFileStatus::Utf16, {}};
    return {ProfileFileStatus::Read, ProfileText::parse(read.bytes, encoding)};
}

} // namespace kvt
