#include "program_icon.h"

namespace kvt {

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/kvt10-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace kvt
