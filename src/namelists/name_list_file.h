#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace kvt {

// A name list file: one section of keys "Name00" to "Name12", Windows-1251.
// The program writes well under a kilobyte; this leaves room for what other
// programs add, and refuses what is no name list at all.
inline constexpr qint64 NameListFileMaxBytes = 64 * 1024;

// The 13 names of the section, each at most 19 characters, a missing key
// giving the empty name; nothing when all 13 are empty (a missing file, the
// other list's file, an empty list) or the file is refused (no regular file,
// larger than the bound, UTF-16).
std::optional<QStringList> readNameListFile(const QString &path, const QString &section);

// The file's bytes with the section's 13 keys set to the names; everything
// else in the existing bytes stays as it was.
QByteArray nameListFileBytes(const QByteArray &existing, const QString &section, const QStringList &names);
// The same for the file of that name as it is now (none: a new file);
// nothing when the file is there but refused as readNameListFile refuses it.
std::optional<QByteArray> updatedNameListFile(const QString &path, const QString &section, const QStringList &names);

} // namespace kvt
