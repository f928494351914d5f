#include "app/errorwindow.h"

#include "app/formfont.h"

#include <QGuiApplication>
#include <QScreen>

TErrorWindow::TErrorWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setupUi(this);
    ApplyFormFont(this, 12);
    ApplyFormFont(Error1, 15, true);
    ApplyFormFont(Error2, 15);
    Error1->setStyleSheet(QStringLiteral("color: black"));
    Error2->setStyleSheet(QStringLiteral("color: black"));
    setFixedSize(392, 86);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}
