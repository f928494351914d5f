#pragma once

#include "ui_blackwin.h"

#include <QWidget>
#include <functional>
#include <memory>

class DisplayModeDevice;

// The stage: a borderless black window on top of all others over the region the scan converter
// shows. Its child Panel1 is the movie area. Keys and left presses on it are the start/stop input.
class TBlackWin : public QWidget, public Ui::TBlackWin {
    Q_OBJECT
public:
    explicit TBlackWin(QWidget* parent = nullptr);
    ~TBlackWin() override;

    // Client area at (left, top) of size width x height, in desktop pixels.
    void setStageBounds(int left, int top, int width, int height);
    // Shows the stage; when it is already shown only brings it to the front.
    void showStage();
    void hideStage();

    // Called for every start/stop input (every key-down, every physical left press).
    std::function<void()> onStartStop;

    // Whether the display mode was switched and the switch is still held.
    bool displayModeChanged() const { return displayMode_ != nullptr; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void FormHide();
    void FormKeyDown();
    void switchDisplayMode();

    std::unique_ptr<DisplayModeDevice> displayMode_;
};

extern TBlackWin* BlackWin;

// Whether this program last asked for the cursor to be shown; true at start.
extern bool CursorShownMemory;
// Shows or hides the system cursor, moving it at most one step from where it stood at start.
void SetCursorShown(bool show);
