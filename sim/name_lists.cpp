#include "name_lists.h"

#include "namelists/name_list_kind.h"
#include "namelists/name_table.h"

namespace kvt::sim {

QStringList defaultMaterialNames()
{
    return defaultNames(materialsKind(), Language::Russian);
}

QStringList defaultObjectNames()
{
    return defaultNames(objectsKind(), Language::Russian);
}

NameListBlock makeNameListBlock(const QStringList &names)
{
    NameListBlock block{};
    storeNames(block, names);
    return block;
}

} // namespace kvt::sim
