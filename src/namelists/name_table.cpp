#include "name_table.h"

#include "store/short_name20.h"

namespace kvt {

QStringList namesFromTable(const NameListBlock &table)
{
    QStringList names;
    for (int slot = 0; slot < NameListSlots; ++slot)
        names << readShortName20(&table[size_t(slot) * ShortName20Size]);
    return names;
}

void storeNames(NameListBlock &table, const QStringList &names)
{
    for (int slot = 0; slot < NameListSlots; ++slot)
        writeShortName20(&table[size_t(slot) * ShortName20Size], names.value(slot));
}

} // namespace kvt
