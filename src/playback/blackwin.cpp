#include "playback/blackwin.h"

#include "app/errorreport.h"
#include "app/messages.h"
#include "app/settingsstore.h"
#include "platform/cursor.h"
#include "platform/displaymode.h"
#include "playback/stagehook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShowEvent>
#include <algorithm>

TBlackWin* BlackWin = nullptr;
bool CursorShownMemory = true;

void SetCursorShown(bool show) {
    if (show == CursorShownMemory)
        return;
    ShowSystemCursor(show);
    CursorShownMemory = show;
}

TBlackWin::TBlackWin(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setupUi(this);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    Panel1->setPalette(black);
    Panel1->setAutoFillBackground(true);
    // Presses on the movie area reach the stage itself, so each press is seen exactly once.
    Panel1->setAttribute(Qt::WA_TransparentForMouseEvents);
    qApp->installEventFilter(new StageMessageHook(*this));
}

TBlackWin::~TBlackWin() = default;

void TBlackWin::setStageBounds(int left, int top, int width, int height) {
    setGeometry(left, top, std::max(width, 0), std::max(height, 0));
}

void TBlackWin::showStage() {
    if (!isVisible())
        show();
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void TBlackWin::hideStage() {
    hide();
}

void TBlackWin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TBlackWin::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TBlackWin::keyPressEvent(QKeyEvent* event) {
    event->accept();
    FormKeyDown();
}

void TBlackWin::FormKeyDown() {
    if (onStartStop)
        onStartStop();
}

void TBlackWin::FormShow() {
    switchDisplayMode();
    SetCursorShown(false);
}

void TBlackWin::FormHide() {
    SetCursorShown(true);
    // Releasing the switch gives the previous display mode back.
    displayMode_.reset();
}

void TBlackWin::switchDisplayMode() {
    const int width = PlayerSettings.WinSizeX;
    const int height = PlayerSettings.WinSizeY;
    const bool switchable = (width == 320 && height == 240) || (width == 640 && height == 480);
    if (!PlayerSettings.DirectDrawUse || !switchable)
        return;

    std::unique_ptr<DisplayModeDevice> device = CreateDisplayMode()();
    if (!device) {
        ReportError(1);
        return;
    }
    if (!device->setExclusiveLevel(this)) {
        device->setNormalLevel(this);
        device.reset();
        ReportError(1);
        return;
    }
    const int first = PlayerSettings.Play32 ? 32 : 24;
    const int second = PlayerSettings.Play32 ? 24 : 32;
    bool switched = device->setDisplayMode(width, height, first);
    if (!switched) {
        if (first == 32)
            ShowMessage(QStringLiteral("32bits colorで再生できません\n24bits colorで再生します"));
        switched = device->setDisplayMode(width, height, second);
    }
    device->setNormalLevel(this);
    if (!switched) {
        device.reset();
        ReportError(2);
        return;
    }
    device->flipToNormalSurface();
    displayMode_ = std::move(device);
}
