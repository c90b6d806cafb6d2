#include "save_name.h"

#include "file_texts.h"
#include "support/path_parts.h"

namespace kvt {

QString timeStampedFileName(const QDateTime &now, const QString &extension)
{
    return now.toString(QStringLiteral("yyMMdd.hhmm")) + extension;
}

QString defaultKvtFileName(const QDateTime &now)
{
    return timeStampedFileName(now, KvtExtension);
}

SaveNameDecision correctedSaveName(const QString &chosenName, const QString &extension,
                                   const QStringList &replacedExtensions)
{
    const QString chosenExtension = extensionOf(chosenName);
    const QString stem = chosenName.left(chosenName.size() - chosenExtension.size());
    if (replacedExtensions.contains(chosenExtension))
        return {stem + extension, true};
    if (chosenExtension == u".")
        return {stem + extension, false};
    if (chosenExtension != extension)
        return {chosenName + extension, false};
    return {chosenName, false};
}

SaveNameDecision correctedKvtSaveName(const QString &chosenName)
{
    return correctedSaveName(chosenName, KvtExtension, {MaterialListExtension});
}

} // namespace kvt
