#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kvt {

// "yymmdd.hhmm" and the extension, for the given local time.
QString timeStampedFileName(const QDateTime &now, const QString &extension);
// "yymmdd.hhmm.kvt" for the given local time.
QString defaultKvtFileName(const QDateTime &now);

struct SaveNameDecision {
    QString name;
    bool askAgain = false; // the dialog comes back, proposing the corrected name
};

// The extension rule of the save dialogs, case-sensitive: an extension of the
// replaced ones brings the dialog back with the file's own extension in its
// place, a trailing dot becomes that extension, and any other name not ending in
// it gets it appended.
SaveNameDecision correctedSaveName(const QString &chosenName, const QString &extension,
                                   const QStringList &replacedExtensions);

// The extension rules of the .kvt save dialog, case-sensitive: a material list's
// ".mtkvt" brings the dialog back with ".kvt" in its place, a trailing dot
// becomes ".kvt", and any other name not ending in ".kvt" gets ".kvt" appended.
SaveNameDecision correctedKvtSaveName(const QString &chosenName);

} // namespace kvt
