#include "settings_file.h"

#include "profile_text.h"
#include "safe_write.h"

#include <QFile>

namespace kvt {
namespace {

QByteArray readAllOrEmpty(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

SettingsFile::SettingsFile(QString path, QString defaultsPath)
    : m_path(std::move(path)), m_defaultsPath(std::move(defaultsPath))
{
}

QString SettingsFile::readString(QStringView section, QStringView key, const QString &defaultValue,
                                 int bufferSize) const
{
    std::optional<QString> value = ProfileText::parse(readAllOrEmpty(m_path)).value(section, key);
    if (!value && !m_defaultsPath.isEmpty())
        value = ProfileText::parse(readAllOrEmpty(m_defaultsPath)).value(section, key);
    return value.value_or(defaultValue).left(qMax(0, bufferSize - 1));
}

int SettingsFile::readInteger(QStringView section, QStringView key, int missingValue, int notIntegerValue,
                              int bufferSize) const
{
    bool ok = false;
    const int value = readString(section, key, QString::number(missingValue), bufferSize).toInt(&ok);
    return ok ? value : notIntegerValue;
}

bool SettingsFile::writeString(QStringView section, QStringView key, const QString &value)
{
    ProfileText profile = ProfileText::parse(readAllOrEmpty(m_path));
    profile.setValue(section, key, value);
    return writeFileSafely(m_path, profile.bytes()) == SafeWriteStatus::Written;
}

bool SettingsFile::writeSection(QStringView section, const QList<std::pair<QString, QString>> &entries)
{
    ProfileText profile = ProfileText::parse(readAllOrEmpty(m_path));
    profile.removeSection(section);
    for (const auto &[key, value] : entries)
        profile.setValue(section, key, value);
    return writeFileSafely(m_path, profile.bytes()) == SafeWriteStatus::Written;
}

} // namespace kvt
