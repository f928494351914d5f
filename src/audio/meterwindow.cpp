#include "audio/meterwindow.h"

#include "app/formfont.h"
#include "app/hooks.h"
#include "app/messages.h"
#include "app/processflags.h"
#include "app/settingsstore.h"
#include "audio/analyzewin.h"
#include "audio/levelanalysis.h"
#include "audio/levelmath.h"
#include "audio/mixer.h"
#include "platform/settingskey.h"

#include <QActionGroup>
#include <QMenu>
#include <QShowEvent>
#include <QTimer>

TMeterWindow* MeterWindow = nullptr;
int64_t MaxLevelLeft = 0;
int64_t MaxLevelRight = 0;
int32_t Interval = 0;
bool Volflag = false;

namespace {

QString percentText(int64_t percent) {
    return QStringLiteral("%1%").arg(percent);
}

} // namespace

TMeterWindow::TMeterWindow(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setupUi(this);
    ApplyFormFont(this, 12);
    for (QLabel* heading : {Label1, Label2})
        ApplyFormFont(heading, 12, true);
    setFixedSize(141, 215);
    leftBar_ = {L_Vol_1, L_Vol_2, L_Vol_3, L_Vol_4, L_Vol_5, L_Vol_6, L_Vol_7, L_Vol_8, L_Vol_9};
    rightBar_ = {R_Vol_1, R_Vol_2, R_Vol_3, R_Vol_4, R_Vol_5, R_Vol_6, R_Vol_7, R_Vol_8, R_Vol_9};
    for (TShape* segment : leftBar_)
        segment->hide();
    for (TShape* segment : rightBar_)
        segment->hide();
    L_Vol_9->setOutlined(false);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    // A 1 ms interval must really tick about a thousand times a second.
    Timer->setTimerType(Qt::PreciseTimer);
    Timer->setInterval(10);
    connect(Timer, &QTimer::timeout, this, &TMeterWindow::TimerTimer);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    K1 = PopupMenu1->addMenu(QStringLiteral("更新間隔"));
    K1->setObjectName(QStringLiteral("K1"));
    auto* intervals = new QActionGroup(this);
    intervals->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const std::pair<QAction**, int32_t> items[] = {
        {&N1ms, 1}, {&N5ms, 5}, {&N10ms, 10}, {&N50ms, 50}, {&N100ms, 100}};
    for (const auto& [item, interval] : items) {
        *item = K1->addAction(QStringLiteral("%1ms").arg(interval));
        (*item)->setObjectName(QStringLiteral("N%1ms").arg(interval));
        (*item)->setCheckable(true);
        intervals->addAction(*item);
        QAction* action = *item;
        const int32_t value = interval;
        connect(action, &QAction::triggered, this,
                [this, action, value] { chooseInterval(action, value); });
    }
    K2 = PopupMenu1->addAction(QStringLiteral("ボリューム補正"));
    K2->setObjectName(QStringLiteral("K2"));
    K2->setCheckable(true);
    connect(K2, &QAction::triggered, this, &TMeterWindow::K2Click);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(mapToGlobal(at)); });

    // The bars react to the user's moves only; the program setting them is no volume change.
    connect(MasterVol, &QScrollBar::actionTriggered, this,
            [this] { MasterVolScroll(MasterVol->sliderPosition()); });
    connect(WaveVol, &QScrollBar::actionTriggered, this,
            [this] { WaveVolScroll(WaveVol->sliderPosition()); });
    connect(ClearButton, &QPushButton::clicked, this, &TMeterWindow::ClearButtonClick);
    connect(AnalyzeButton, &QPushButton::clicked, this, &TMeterWindow::AnalyzeButtonClick);

    ::RefreshVolumeDisplay = [this] {
        RefreshVolumeDisplay();
    };
    ::FinishAnalysis = [this] {
        FinishAnalysis();
    };

    // The mixer first: a failed set-up hides the window, which is hidden already.
    if (!OpenMixer())
        hide();
    LoadMeterSettings(Interval, Volflag);
    for (const auto& [item, interval] : items) {
        if (interval == Interval) {
            (*item)->setChecked(true);
            Timer->setInterval(interval);
        }
    }
}

TMeterWindow::~TMeterWindow() {
    ::RefreshVolumeDisplay = nullptr;
    ::FinishAnalysis = nullptr;
    CloseMixer();
    try {
        SaveMeterSettings(Interval, Volflag);
    } catch (const SettingsKeyError&) {
        // The program is ending: a key that cannot be written keeps its old values.
    }
}

void TMeterWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMeterWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TMeterWindow::FormShow() {
    if (MainForm)
        move(MainForm->x() + 213, MainForm->y());
    RefreshVolumeDisplay();
    ClearButtonClick();
    K2->setChecked(Volflag);
    Timer->start();
}

void TMeterWindow::FormHide() {
    Timer->stop();
}

void TMeterWindow::showSegments(const std::array<TShape*, 9>& bar, int lit) {
    for (int i = 0; i < 9; ++i) {
        const bool on = i < lit;
        // Only a change of state redraws.
        if (bar[i]->isHidden() == on)
            bar[i]->setVisible(on);
    }
}

void TMeterWindow::TimerTimer() {
    if (!MixerState.MixerReady || !MixerState.PeakControlId)
        return;
    const std::optional<PeakLevels> peaks = ReadPeakLevels();
    if (!peaks)
        return;
    const VolumeCorrection correction{Volflag, ReadMasterRaw(), ReadWaveRaw(), MixerState.MasterMax,
                                      MixerState.WaveMax};
    const ChannelLevel left = LeftChannelLevel(peaks->left, MixerState.PeakRange, correction);
    showSegments(leftBar_, left.segments);
    const ChannelLevel right = RightChannelLevel(peaks->right, MixerState.PeakRange, correction);

    if (CountLevel(left.percent, right.percent) == LevelCount::OutOfRange && !volOverShown_) {
        // Further ticks go on while the message is up; they open no second one.
        volOverShown_ = true;
        ShowMessage(QStringLiteral("Vol Over!"));
        volOverShown_ = false;
    }

    if (MaxLevelLeft < left.percent) {
        MaxLevelLeft = left.percent;
        LMaxLevel->setText(percentText(MaxLevelLeft));
    }
    if (MaxLevelRight < right.percent) {
        MaxLevelRight = right.percent;
        RMaxLevel->setText(percentText(MaxLevelRight));
    }
    showSegments(rightBar_, right.segments);
}

void TMeterWindow::RefreshVolumeDisplay() {
    MasterVol->setValue(100 - GetMasterVolume());
    WaveVol->setValue(100 - GetWaveVolume());
    MVol->setText(percentText(100 - MasterVol->value()));
    WVol->setText(percentText(100 - WaveVol->value()));
}

void TMeterWindow::MasterVolScroll(int position) {
    if (!MixerState.MixerReady)
        return;
    SetMasterVolume(100 - position);
    MVol->setText(percentText(100 - position));
}

void TMeterWindow::WaveVolScroll(int position) {
    if (!MixerState.MixerReady)
        return;
    SetWaveVolume(100 - position);
    WVol->setText(percentText(100 - position));
}

void TMeterWindow::chooseInterval(QAction* item, int32_t interval) {
    item->setChecked(true);
    Interval = interval;
    Timer->setInterval(interval);
}

void TMeterWindow::K2Click() {
    Volflag = !Volflag;
    K2->setChecked(Volflag);
}

void TMeterWindow::ClearButtonClick() {
    MaxLevelLeft = 0;
    MaxLevelRight = 0;
    LMaxLevel->setText(QStringLiteral("0%"));
    RMaxLevel->setText(QStringLiteral("0%"));
}

void TMeterWindow::AnalyzeButtonClick() {
    if (AnalysisArmed)
        return;
    LevelHistogram.fill(0);
    AnalysisArmed = true;
    AnalyzeButton->setEnabled(false);
}

void TMeterWindow::FinishAnalysis() {
    AnalysisArmed = false;
    AnalyzeButton->setEnabled(true);
    if (AnalyzeWin) {
        AnalyzeWin->hide();
        AnalyzeWin->show();
        AnalyzeWin->raise();
    }
}
