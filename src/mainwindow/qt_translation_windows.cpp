#include "qt_translation.h"

#include <QCoreApplication>

namespace kvt {

QString qtTranslationsFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
}

} // namespace kvt
