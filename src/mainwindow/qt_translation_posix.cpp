#include "qt_translation.h"

#include <QLibraryInfo>

namespace kvt {

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

} // namespace kvt
