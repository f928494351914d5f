#include "playback/stagehook.h"

#include "playback/blackwin.h"

#include <QMouseEvent>
#include <QWidget>

StageMessageHook::StageMessageHook(TBlackWin& stage) : QObject(&stage), stage_(stage) {}

bool StageMessageHook::isStage(QObject* object) const {
    return object == &stage_ || object == stage_.Panel1;
}

bool StageMessageHook::eventFilter(QObject* watched, QEvent* event) {
    // A press reaches its window, then the widget under the mouse, then (as a copy) each parent
    // that the widget leaves it to. Only the first widget's delivery comes from the window system.
    if (!watched->isWidgetType() || !event->spontaneous())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseMove:
        SetCursorShown(!isStage(watched));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && isStage(watched) &&
            stage_.onStartStop) {
            stage_.onStartStop();
        }
        break;
    default:
        break;
    }
    return false;
}
