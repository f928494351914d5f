#include "app/centreonscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->geometry().center() - window->frameGeometry().center() +
                     window->pos());
}
