#pragma once

#include "support/bilingual.h"

#include <QString>
#include <QTranslator>

namespace kvt {

// Qt's own texts (the buttons of message boxes, the file dialogs, the report
// preview's tool bar) follow the program's language: Qt's Russian translation
// (qtbase_ru.qm) is installed while the program speaks Russian and removed
// while it speaks English. Without that file Qt's texts stay English.
class QtTranslation {
public:
    void use(Language language);

private:
    QTranslator m_russian;
};

// Where qtbase_ru.qm lies: Qt's translations folder on Linux (Debian's
// qt6-translations-l10n), the "translations" folder beside the program on
// Windows, whose Qt is built without translations.
QString qtTranslationsFolder();

} // namespace kvt
