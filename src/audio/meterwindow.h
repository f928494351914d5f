#pragma once

#include "ui_meterwindow.h"

#include <QWidget>
#include <array>
#include <cstdint>

class QAction;
class QMenu;
class QTimer;

// The level meter: the live left and right output levels as bars of nine segments with their held
// maxima, and the master and wave volume bars. A timer samples the mixer's peak meter while the
// window is shown; the right-click menu sets the interval and the volume correction.
class TMeterWindow : public QWidget, public Ui::TMeterWindow {
    Q_OBJECT
public:
    // Sets up the mixer and loads the interval and the volume correction.
    explicit TMeterWindow(QWidget* parent = nullptr);
    // Closes the mixer and stores the interval and the volume correction.
    ~TMeterWindow() override;

    QMenu* PopupMenu1 = nullptr;
    QMenu* K1 = nullptr;
    QAction* K2 = nullptr;
    QAction* N1ms = nullptr;
    QAction* N5ms = nullptr;
    QAction* N10ms = nullptr;
    QAction* N50ms = nullptr;
    QAction* N100ms = nullptr;
    QTimer* Timer = nullptr;

    // One level sample.
    void TimerTimer();
    void RefreshVolumeDisplay();
    void MasterVolScroll(int position);
    void WaveVolScroll(int position);
    void K2Click();
    void ClearButtonClick();
    void AnalyzeButtonClick();
    // Ends an armed analysis and shows its result.
    void FinishAnalysis();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormShow();
    void FormHide();
    void chooseInterval(QAction* item, int32_t interval);
    void showSegments(const std::array<TShape*, 9>& bar, int lit);

    std::array<TShape*, 9> leftBar_{};
    std::array<TShape*, 9> rightBar_{};
    bool volOverShown_ = false;
};

extern TMeterWindow* MeterWindow;

// The highest left and right levels in percent since the last Clear.
extern int64_t MaxLevelLeft;
extern int64_t MaxLevelRight;
// The timer interval in milliseconds and the volume correction, as stored in the settings.
extern int32_t Interval;
extern bool Volflag;
