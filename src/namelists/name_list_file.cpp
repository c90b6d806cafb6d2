#include "name_list_file.h"

#include "name_list_kind.h"
#include "store/short_name20.h"
#include "support/profile_text.h"

#include <QFile>

namespace kvt {
namespace {

QString slotKey(int slot)
{
    return QStringLiteral("Name%1").arg(slot, 2, 10, QLatin1Char('0'));
}

} // namespace

std::optional<QStringList> readNameListFile(const QString &path, const QString &section)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const ProfileText profile = ProfileText::parse(file.readAll(), ProfileText::Encoding::Windows1251);
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
    ProfileText profile = ProfileText::parse(existing, ProfileText::Encoding::Windows1251);
    for (int slot = 0; slot < NameCount; ++slot)
        profile.setValue(section, slotKey(slot), names.value(slot));
    return profile.bytes();
}

QByteArray updatedNameListFile(const QString &path, const QString &section, const QStringList &names)
{
    QFile file(path);
    return nameListFileBytes(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), section, names);
}

} // namespace kvt
