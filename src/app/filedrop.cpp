#include "app/filedrop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

QStringList localFiles(const QMimeData* mime) {
    QStringList paths;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

void AcceptFileDrag(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TakeFileDrop(QDropEvent* event, QObject* context,
                  const std::function<void(const QStringList&)>& handler) {
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        context, [handler, paths] { handler(paths); }, Qt::QueuedConnection);
}
