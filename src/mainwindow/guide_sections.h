#pragma once

#include "support/bilingual.h"

#include <QList>
#include <QString>

namespace kvt {

// Where F1 and the help commands open the guide: the section that explains
// the window in use or, in the main window, the part that has the focus. A
// window or widget is known by its object name.
struct GuideSection {
    const char *objectName;
    const char *anchor; // an id in both guides
};
const QList<GuideSection> &guideWindowSections();
const QList<GuideSection> &guideFocusSections();
inline constexpr char GuideStartAnchor[] = "start";

// The anchor for the active window and the widget focused in it; the start of
// the guide for anything not in the tables.
QString guideSection(const QString &windowName, const QString &focusName);

// The guide file beside the program, in the language's file name.
QString guideFileName(Language language);

} // namespace kvt
