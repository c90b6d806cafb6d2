#include "save_name.h"

#include "file_texts.h"
#include "support/path_parts.h"

namespace kvt {

QString defaultKvtFileName(const QDateTime &now)
{
    return now.toString(QStringLiteral("yyMMdd.hhmm")) + KvtExtension;
}

SaveNameDecision correctedKvtSaveName(const QString &chosenName)
{
    const QString extension = extensionOf(chosenName);
    const QString stem = chosenName.left(chosenName.size() - extension.size());
    if (extension == MaterialListExtension)
        return {stem + KvtExtension, true};
    if (extension == u".")
        return {stem + KvtExtension, false};
    if (extension != KvtExtension)
        return {chosenName + KvtExtension, false};
    return {chosenName, false};
}

} // namespace kvt
