#include "name_list_kind.h"

#include "files/file_texts.h"

namespace kvt {

const NameListKind &materialsKind()
{
    static const NameListKind kind{
        NameList::Materials,
        {u"Названия материалов", u"Materials names"},
        QStringLiteral("Materials Names"),
        MaterialListExtension,
        QStringLiteral("Materials (*.mtkvt);;All files (*.*)"),
        {KvtExtension, ObjectListExtension},
        StateReadMaterials,
        StateWriteMaterials,
        &LinkShared::materialNamesBuffer,
        {{{u"Не выбран", u"Not def."},
          {u"Песок", u"Sand"},
          {u"Супесь", u"Clay sand"},
          {u"Суглинок", u"Loam"},
          {u"Глина", u"Clay"},
          {u"Грунт - 1", u"Ground - 1"},
          {u"Грунт - 2", u"Ground - 2"},
          {u"Грунт - 3", u"Ground - 3"},
          {u"Грунт - 4", u"Ground - 4"},
          {u"Грунт - 5", u"Ground - 5"},
          {u"Грунт - 6", u"Ground - 6"},
          {u"Грунт - 7", u"Ground - 7"},
          {u"Грунт - 8", u"Ground - 8"}}},
    };
    return kind;
}

const NameListKind &objectsKind()
{
    static const NameListKind kind{
        NameList::Objects,
        {u"Названия объектов", u"Objects names"},
        QStringLiteral("Objects Names"),
        ObjectListExtension,
        QStringLiteral("Objects (*.objkvt);;All files (*.*)"),
        {KvtExtension, MaterialListExtension},
        StateReadObjects,
        StateWriteObjects,
        &LinkShared::objectNamesBuffer,
        {{{u"Не выбран", u"Not defined"},
          {u"Подстилающий грунт", u"Lower layer"},
          {u"Грунтовое основание", u"Ground base"},
          {u"Несущий слой", u"Bearing course"},
          {u"Поверхностный слой", u"Blanket"},
          {u"Объект 1", u"Object 1"},
          {u"Объект 2", u"Object 2"},
          {u"Объект 3", u"Object 3"},
          {u"Объект 4", u"Object 4"},
          {u"Объект 5", u"Object 5"},
          {u"Объект 6", u"Object 6"},
          {u"Объект 7", u"Object 7"},
          {u"Объект 8", u"Object 8"}}},
    };
    return kind;
}

QStringList defaultNames(const NameListKind &kind, Language language)
{
    QStringList names;
    for (const TextPair &name : kind.defaultNames)
        names << name.text(language);
    return names;
}

} // namespace kvt
