#include "qt_translation.h"

#include <QCoreApplication>

namespace kvt {

void QtTranslation::use(Language language)
{
    // Out before it goes in again, so that it is never in Qt's list twice and
    // English always leaves none behind.
    QCoreApplication::removeTranslator(&m_russian);
    if (language == Language::English)
        return;
    // Read once; without the file there is nothing to install.
    if (m_russian.isEmpty())
        (void)m_russian.load(QStringLiteral("qtbase_ru"), qtTranslationsFolder());
    if (!m_russian.isEmpty())
        QCoreApplication::installTranslator(&m_russian);
}

} // namespace kvt
