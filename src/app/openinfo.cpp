#include "app/openinfo.h"

#include "app/formfont.h"
#include "playlist/movielist.h"

#include <QPalette>
#include <QShowEvent>

TOpenInfo* OpenInfo = nullptr;

TOpenInfo::TOpenInfo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setupUi(this);
    ApplyFormFont(Label1, 16, true);
    QPalette black = Label1->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(black);
    setFixedSize(156, 32);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void TOpenInfo::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TOpenInfo::FormShow() {
    // Over the playlist window, wherever that window is.
    if (MovieList)
        move(MovieList->pos() + QPoint(238, 144));
}
