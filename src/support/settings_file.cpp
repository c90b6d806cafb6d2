#include "settings_file.h"

#include "safe_write.h"

namespace kvt {
namespace {

std::optional<SettingsRefusal> refusalOf(const QString &path, const ProfileFile &file)
{
    if (file.status == ProfileFileStatus::Refused || file.status == ProfileFileStatus::Utf16)
        return SettingsRefusal{path, file.status};
    return std::nullopt;
}

} // namespace

SettingsSnapshot::SettingsSnapshot(const QString &path, ProfileFile file, const QString &defaultsPath,
                                   ProfileFile defaults)
    : m_file(std::move(file)), m_defaults(std::move(defaults)), m_refusal(refusalOf(path, m_file))
{
    if (!m_refusal)
        m_refusal = refusalOf(defaultsPath, m_defaults);
}

QString SettingsSnapshot::readString(QStringView section, QStringView key, const QString &defaultValue,
                                     int bufferSize) const
{
    std::optional<QString> value = m_file.text.value(section, key);
    if (!value)
        value = m_defaults.text.value(section, key);
    return value.value_or(defaultValue).left(qMax(0, bufferSize - 1));
}

int SettingsSnapshot::readInteger(QStringView section, QStringView key, int missingValue, int notIntegerValue,
                                  int bufferSize) const
{
    bool ok = false;
    const int value = readString(section, key, QString::number(missingValue), bufferSize).toInt(&ok);
    return ok ? value : notIntegerValue;
}

SettingsFile::SettingsFile(QString path, QString defaultsPath)
    : m_path(std::move(path)), m_defaultsPath(std::move(defaultsPath))
{
}

SettingsSnapshot SettingsFile::read() const
{
    return SettingsSnapshot(m_path, readProfileFile(m_path, MaxBytes), m_defaultsPath,
                            m_defaultsPath.isEmpty() ? ProfileFile{} : readProfileFile(m_defaultsPath, MaxBytes));
}

QString SettingsFile::readString(QStringView section, QStringView key, const QString &defaultValue,
                                 int bufferSize) const
{
    return read().readString(section, key, defaultValue, bufferSize);
}

int SettingsFile::readInteger(QStringView section, QStringView key, int missingValue, int notIntegerValue,
                              int bufferSize) const
{
    return read().readInteger(section, key, missingValue, notIntegerValue, bufferSize);
}

std::optional<ProfileText> SettingsFile::readForChange() const
{
    ProfileFile file = readProfileFile(m_path, MaxBytes);
    switch (file.status) {
    case ProfileFileStatus::Read:
    case ProfileFileStatus::Missing:
        return std::move(file.text);
    case ProfileFileStatus::Refused:
    case ProfileFileStatus::Utf16:
        break;
    }
    return std::nullopt;
}

bool SettingsFile::write(const ProfileText &profile)
{
    return writeFileSafely(m_path, profile.bytes()) == SafeWriteStatus::Written;
}

bool SettingsFile::writeString(QStringView section, QStringView key, const QString &value)
{
    std::optional<ProfileText> profile = readForChange();
    if (!profile)
        return false;
    profile->setValue(section, key, value);
    return write(*profile);
}

bool SettingsFile::writeSection(QStringView section, const QList<std::pair<QString, QString>> &entries)
{
    std::optional<ProfileText> profile = readForChange();
    if (!profile)
        return false;
    profile->replaceSection(section, entries);
    return write(*profile);
}

} // namespace kvt
