#include "name_list_file.h"

#include "name_list_kind.h"
#include "store/short_name20.h"
#include "support/profile_file.h"

namespace kvt {
namespace {

QString slotKey(int slot)
{
    return QStringLiteral("Name%1").arg(slot, 2, 10, QLatin1Char('0'));
}

QByteArray withNames(ProfileText profile, const QString &section, const QStringList &names)
{
    for (int slot = 0; slot < NameCount; ++slot)
        profile.setValue(section, slotKey(slot), names.value(slot));
    return profile.bytes();
}

} // namespace

std::optional<QStringList> readNameListFile(const QString &path, const QString &section)
{
    const ProfileFile file = readProfileFile(path, NameListFileMaxBytes, ProfileText::Encoding::Windows1251);
    if (file.status != ProfileFileStatus::Read)
        return std::nullopt;
    const ProfileText &profile = file.text;
    QStringList names;
    bool anyName = false;
    for (int slot = 0; slot < NameCount; ++slot) {
        const QString name = profile.value(section, slotKey(slot)).value_or(QString()).left(ShortName20MaxChars);
        anyName = anyName || !name.isEmpty();
        names << name;
    }
    if (!anyName)
        return std::nullopt;
    return names;
}

QByteArray nameListFileBytes(const QByteArray &existing, const QString &section, const QStringList &names)
{
    return withNames(ProfileText::parse(existing, ProfileText::Encoding::Windows1251), section, names);
}

std::optional<QByteArray> updatedNameListFile(const QString &path, const QString &section, const QStringList &names)
{
    ProfileFile file = readProfileFile(path, NameListFileMaxBytes, ProfileText::Encoding::Windows1251);
    if (file.status != ProfileFileStatus::Read && file.status != ProfileFileStatus::Missing)
        return std::nullopt;
    return withNames(std::move(file.text), section, names);
}

} // namespace kvt
