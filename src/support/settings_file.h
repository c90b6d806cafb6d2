#pragma once

#include "profile_file.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

namespace kvt {

// A settings file that was not read although it is there: its reads gave
// the defaults, and no write replaces it.
struct SettingsRefusal {
    QString path;
    ProfileFileStatus status = ProfileFileStatus::Refused; // Refused or Utf16
};

// The settings files as one read found them, parsed once: a command that
// needs many keys (the start's twenty, the requirements' five a rule) reads
// them all from one snapshot.
class SettingsSnapshot {
public:
    SettingsSnapshot(const QString &path, ProfileFile file, const QString &defaultsPath, ProfileFile defaults);

    // As SettingsFile::readString and readInteger.
    QString readString(QStringView section, QStringView key, const QString &defaultValue, int bufferSize) const;
    int readInteger(QStringView section, QStringView key, int missingValue, int notIntegerValue,
                    int bufferSize) const;

    // The first file that is there but was not read, the written one first.
    std::optional<SettingsRefusal> refusal() const { return m_refusal; }
    // Whether the written file was there, read or not.
    bool fileExists() const { return m_file.status != ProfileFileStatus::Missing; }

private:
    ProfileFile m_file;
    ProfileFile m_defaults;
    std::optional<SettingsRefusal> m_refusal;
};

// The program's settings file in the private-profile form. Each use reads the
// file afresh (read(), or one readString), and every write reads it again and
// replaces it safely, so the file is never left half written and another
// program's edits between two uses are kept.
class SettingsFile {
public:
    // Larger than any settings file the program writes (thousands of
    // requirements fit); a larger one is refused, not read.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    // defaultsPath, when given, names a file that is only read: a key missing
    // from the file at path is looked up there before the caller's default.
    explicit SettingsFile(QString path, QString defaultsPath = {});

    // The file that is written.
    const QString &path() const { return m_path; }

    // Both files as they are now.
    SettingsSnapshot read() const;

    // The value of the key, or the default when neither file holds the key.
    // Like the fixed buffers the values were read into, at most bufferSize − 1
    // characters come back.
    QString readString(QStringView section, QStringView key, const QString &defaultValue,
                       int bufferSize) const;

    // The value as a decimal integer: missingValue when the file or the key is
    // missing, notIntegerValue when its text (cut like readString's) is no integer.
    int readInteger(QStringView section, QStringView key, int missingValue, int notIntegerValue,
                    int bufferSize) const;

    // Creates the file, the section or the key as needed. False when the file
    // could not be written, or is there but cannot be read (it is then left
    // as it is, rather than replaced by the one key); the old file is then
    // unchanged. The defaults file is never written.
    bool writeString(QStringView section, QStringView key, const QString &value);

    // Replaces the whole section by these keys in one write, so that keys a
    // shorter list no longer has do not linger; other sections stay as they were.
    bool writeSection(QStringView section, const QList<std::pair<QString, QString>> &entries);

private:
    std::optional<ProfileText> readForChange() const;
    bool write(const ProfileText &profile);

    QString m_path;
    QString m_defaultsPath;
};

} // namespace kvt
