#pragma once

#include <QDateTime>
#include <QString>

namespace kvt {

// "yymmdd.hhmm.kvt" for the given local time.
QString defaultKvtFileName(const QDateTime &now);

struct SaveNameDecision {
    QString name;
    bool askAgain = false; // the dialog comes back, proposing the corrected name
};

// The extension rules of the save dialog, case-sensitive: a material list's
// ".mtkvt" brings the dialog back with ".kvt" in its place, a trailing dot
// becomes ".kvt", and any other name not ending in ".kvt" gets ".kvt" appended.
SaveNameDecision correctedKvtSaveName(const QString &chosenName);

} // namespace kvt
