#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <utility>

namespace kvt {

// The program's settings file in the private-profile form. Every call reads the
// file afresh and every write replaces it safely, so the file is never left half
// written and another program's edits between two calls are kept.
class SettingsFile {
public:
    // defaultsPath, when given, names a file that is only read: a key missing
    // from the file at path is looked up there before the caller's default.
    explicit SettingsFile(QString path, QString defaultsPath = {});

    // The file that is written.
    const QString &path() const { return m_path; }

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
    // could not be written; the old file is then unchanged. The defaults file
    // is never written.
    bool writeString(QStringView section, QStringView key, const QString &value);

    // Replaces the whole section by these keys in one write, so that keys a
    // shorter list no longer has do not linger; other sections stay as they were.
    bool writeSection(QStringView section, const QList<std::pair<QString, QString>> &entries);

private:
    QString m_path;
    QString m_defaultsPath;
};

} // namespace kvt
