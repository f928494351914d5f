#pragma once

#include <QStringList>
#include <functional>

class QDragEnterEvent;
class QDropEvent;
class QObject;

// Files dropped from the desktop on a window.

// Accepts a drag that carries local files.
void AcceptFileDrag(QDragEnterEvent* event);
// Takes a drop of local files and hands their paths, in the drop's order and each whole, to the
// handler once the drop is over: the drop's source waits until then, so the handler may open
// dialogs. A drop without local files is left alone.
void TakeFileDrop(QDropEvent* event, QObject* context,
                  const std::function<void(const QStringList&)>& handler);
