// A measurement file dropped on the window: the Open command with that name,
// the path a file named on the command line takes.
#include "formmain.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace kvt {

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedFileName(event->mimeData()->urls()))
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    const std::optional<QString> fileName = droppedFileName(event->mimeData()->urls());
    if (!fileName)
        return;
    event->acceptProposedAction();
    // Opened once the drop is over: the file manager waits for its end, and
    // opening may ask questions.
    QMetaObject::invokeMethod(this, [this, name = *fileName] { AOpenExecute(name); }, Qt::QueuedConnection);
}

} // namespace kvt
