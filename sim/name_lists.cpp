#include "name_lists.h"

#include "store/short_name20.h"

namespace kvt::sim {
namespace {

QStringList numbered(const QStringList &named, const QString &prefix)
{
    QStringList names = named;
    for (int n = 1; names.size() < NameSlots; ++n)
        names << prefix + QString::number(n);
    return names;
}

} // namespace

QStringList defaultMaterialNames()
{
    return numbered({QStringLiteral("Не выбран"), QStringLiteral("Песок"), QStringLiteral("Супесь"),
                     QStringLiteral("Суглинок"), QStringLiteral("Глина")},
                    QStringLiteral("Грунт - "));
}

QStringList defaultObjectNames()
{
    return numbered({QStringLiteral("Не выбран"), QStringLiteral("Подстилающий грунт"),
                     QStringLiteral("Грунтовое основание"), QStringLiteral("Несущий слой"),
                     QStringLiteral("Поверхностный слой")},
                    QStringLiteral("Объект "));
}

NameListBlock makeNameListBlock(const QStringList &names)
{
    NameListBlock block{};
    for (int slot = 0; slot < NameSlots && slot < names.size(); ++slot)
        writeShortName20(&block[size_t(slot) * 20], names[slot]);
    return block;
}

} // namespace kvt::sim
