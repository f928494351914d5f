#include "platform/cursor.h"

#include <QCursor>
#include <QGuiApplication>

void ShowSystemCursor(bool show) {
    if (show)
        QGuiApplication::restoreOverrideCursor();
    else
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
}
