#include "shell_open.h"

#include <QDesktopServices>

namespace kvt {

void systemShellOpen(const QUrl &target, QWidget *)
{
    QDesktopServices::openUrl(target);
}

} // namespace kvt
