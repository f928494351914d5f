#include "playback/stagehook.h"

#include "playback/blackwin.h"

#include <QMouseEvent>
#include <QWidget>

StageMessageHook::StageMessageHook(TBlackWin& stage) : stage_(stage) {}

bool StageMessageHook::isStage(QObject* object) const {
    return object == &stage_ || object == stage_.Panel1;
}

bool StageMessageHook::eventFilter(QObject* watched, QEvent* event) {
    // Windows see every mouse event before their widgets do: act for widgets only.
    if (!watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseMove:
        SetCursorShown(!isStage(watched));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && isStage(watched) &&
            stage_.onStartStop)
            stage_.onStartStop();
        break;
    default:
        break;
    }
    return false;
}
