#include "app/processflags.h"
#include "audio/analyzewin.h"
#include "audio/levelanalysis.h"
#include "audio/levelmath.h"
#include "audio/meterwindow.h"
#include "audio/mixer.h"
#include "support/mixerdouble.h"
#include "support/modal.h"
#include "support/testenv.h"

#include "app/hooks.h"

#include <QMenu>
#include <QSettings>
#include <QtTest>

namespace {

constexpr MixerId masterId = 1;
constexpr MixerId waveId = 2;
constexpr MixerId peakId = 3;

// The number of lit segments of a bar, checking that they are lit from the bottom up.
int litSegments(const TMeterWindow& meter, char side) {
    int lit = 0;
    for (int i = 1; i <= 9; ++i) {
        auto* segment = meter.findChild<TShape*>(QStringLiteral("%1_Vol_%2").arg(side).arg(i));
        if (!segment->isHidden()) {
            if (lit != i - 1)
                return -1;
            ++lit;
        }
    }
    return lit;
}

} // namespace

class TestLevelMeter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void channelLevels_data();
    void channelLevels();
    void analysisCountsTheLargerLevelOnlyWhileArmedAndActive();
    void analysisGraphAndList();
    void meterLayout();
    void tickShowsLevelsAndHoldsMaxima();
    void volumeBarsFollowTheUserAndTheMixer();
    void intervalAndCorrectionSurviveARestart_data();
    void intervalAndCorrectionSurviveARestart();
    void armingAndFinishing();
};

void TestLevelMeter::init() {
    ClearModalActions();
    ResetProcessState();
    LevelHistogram.fill(0);
}

void TestLevelMeter::channelLevels_data() {
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("reading");
    QTest::addColumn<int>("peakRange");
    QTest::addColumn<bool>("correction");
    QTest::addColumn<uint>("master");
    QTest::addColumn<uint>("wave");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("segments");

    // Left: the magnitude is held at full scale.
    QTest::newRow("left full scale") << false << -32768 << 32768 << false << 0u << 0u << 100 << 9;
    QTest::newRow("left beyond full scale")
        << false << -32768 << 32767 << false << 0u << 0u << 100 << 9;
    QTest::newRow("silence") << false << 0 << 32768 << false << 0u << 0u << 0 << 0;
    QTest::newRow("smallest sound") << false << 1 << 32768 << false << 0u << 0u << 0 << 1;
    QTest::newRow("below second segment") << false << 3640 << 32768 << false << 0u << 0u << 11 << 1;
    QTest::newRow("second segment") << false << 3641 << 32768 << false << 0u << 0u << 11 << 2;
    QTest::newRow("half") << false << 16384 << 32768 << false << 0u << 0u << 50 << 5;
    QTest::newRow("corrected to a quarter")
        << false << 32768 << 32768 << true << 32768u << 32768u << 25 << 3;
    QTest::newRow("correction off ignores volumes")
        << false << 32768 << 32768 << false << 1u << 1u << 100 << 9;
    QTest::newRow("volume 0 shows nothing")
        << false << 32768 << 32768 << true << 0u << 32768u << 0 << 0;
    // Right: exactly full scale counts one less; beyond it is kept.
    QTest::newRow("right full scale") << true << -32768 << 32768 << false << 0u << 0u << 99 << 9;
    QTest::newRow("right beyond full scale")
        << true << -32768 << 32767 << false << 0u << 0u << 100 << 9;
    QTest::newRow("right far beyond") << true << -32768 << 16384 << false << 0u << 0u << 200 << 9;
    QTest::newRow("right most negative")
        << true << int(-2147483647 - 1) << 32767 << false << 0u << 0u << 6553800 << 9;
}

void TestLevelMeter::channelLevels() {
    QFETCH(bool, right);
    QFETCH(int, reading);
    QFETCH(int, peakRange);
    QFETCH(bool, correction);
    QFETCH(uint, master);
    QFETCH(uint, wave);
    QFETCH(int, percent);
    QFETCH(int, segments);
    const VolumeCorrection c{correction, master, wave, 65535, 65535};
    const ChannelLevel level =
        right ? RightChannelLevel(reading, peakRange, c) : LeftChannelLevel(reading, peakRange, c);
    QCOMPARE(level.percent, int64_t{percent});
    QCOMPARE(level.segments, segments);
}

void TestLevelMeter::analysisCountsTheLargerLevelOnlyWhileArmedAndActive() {
    QCOMPARE(CountLevel(40, 55), LevelCount::NotCounted);
    AnalysisArmed = true;
    QCOMPARE(CountLevel(40, 55), LevelCount::NotCounted);
    MovieActive = true;
    QCOMPARE(CountLevel(40, 55), LevelCount::Counted);
    QCOMPARE(CountLevel(0, 0), LevelCount::Counted);
    QCOMPARE(CountLevel(20, 101), LevelCount::OutOfRange);
    QCOMPARE(LevelHistogram[55], 1);
    QCOMPARE(LevelHistogram[0], 1);
    QCOMPARE(std::accumulate(LevelHistogram.begin(), LevelHistogram.end(), 0), 2);
    // Level 0 is counted but never sets the scale.
    LevelHistogram[0] = 1000;
    QCOMPARE(HistogramMaxCount(LevelHistogram), 1);
}

void TestLevelMeter::analysisGraphAndList() {
    TAnalyzeWin window;
    LevelHistogram[50] = 10;
    LevelHistogram[20] = 5;
    window.show();
    const QImage& image = window.surface();
    const auto rowOf = [&image](int y) {
        int black = 0;
        while (black < image.width() && image.pixelColor(black, y) == Qt::black)
            ++black;
        return black;
    };
    // Level 50 covers rows 100 and 101 over 300 pixels, level 20 rows 160 and 161 over 150.
    QCOMPARE(rowOf(100), 300);
    QCOMPARE(rowOf(101), 300);
    QCOMPARE(rowOf(160), 150);
    QCOMPARE(rowOf(161), 150);
    QCOMPARE(image.pixelColor(150, 161), QColor(Qt::white));
    for (int y : {99, 102, 159, 162, 0, 199})
        QCOMPARE(rowOf(y), 0);

    QCOMPARE(window.AnalizeList->topLevelItemCount(), 100);
    QCOMPARE(window.AnalizeList->topLevelItem(0)->text(0), QStringLiteral("50"));
    QCOMPARE(window.AnalizeList->topLevelItem(0)->text(1), QStringLiteral("10"));
    QCOMPARE(window.AnalizeList->topLevelItem(1)->text(0), QStringLiteral("20"));
    QCOMPARE(window.AnalizeList->topLevelItem(2)->text(1), QStringLiteral("0"));

    // Selecting a row turns its bar red and the one before black again.
    window.AnalizeList->setCurrentItem(window.AnalizeList->topLevelItem(0));
    QCOMPARE(image.pixelColor(10, 101), QColor(Qt::red));
    window.AnalizeList->setCurrentItem(window.AnalizeList->topLevelItem(1));
    QCOMPARE(image.pixelColor(10, 101), QColor(Qt::black));
    QCOMPARE(image.pixelColor(10, 161), QColor(Qt::red));
    QCOMPARE(image.pixelColor(150, 161), QColor(Qt::white));

    // Showing it again rebuilds it and drops the highlight.
    window.hide();
    LevelHistogram.fill(0);
    window.show();
    QCOMPARE(rowOf(101), 0);
    window.AnalizeList->setCurrentItem(window.AnalizeList->topLevelItem(0));
    QCOMPARE(rowOf(1), 0);
}

void TestLevelMeter::meterLayout() {
    TestEnvironment env;
    MixerDouble mixer({PlainDevice(masterId, waveId, peakId)});
    UseMixerDevices use(&mixer);
    TMeterWindow meter;
    QCOMPARE(meter.windowTitle(), QStringLiteral("Level"));
    QCOMPARE(meter.size(), QSize(141, 215));
    QVERIFY(meter.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(meter.L_Vol_1->geometry(), QRect(11, 104, 17, 9));
    QCOMPARE(meter.R_Vol_9->geometry(), QRect(43, 12, 17, 9));
    QCOMPARE(meter.L_Vol_5->colour(), QStringLiteral("#00ff00"));
    QCOMPARE(meter.R_Vol_1->colour(), QStringLiteral("#008000"));
    QVERIFY(!meter.L_Vol_9->outlined());
    QVERIFY(meter.R_Vol_9->outlined());
    QCOMPARE(meter.MasterVol->geometry(), QRect(80, 8, 16, 113));
    QCOMPARE(meter.WaveVol->geometry(), QRect(112, 8, 16, 113));
    QCOMPARE(meter.Bevel2->geometry(), QRect(40, 8, 25, 110));
    QCOMPARE(meter.K1->title(), QStringLiteral("更新間隔"));
    QCOMPARE(meter.K2->text(), QStringLiteral("ボリューム補正"));
    QVERIFY(!meter.Timer->isActive());
}

void TestLevelMeter::tickShowsLevelsAndHoldsMaxima() {
    TestEnvironment env;
    MixerDouble mixer({PlainDevice(masterId, waveId, peakId)});
    UseMixerDevices use(&mixer);
    TMeterWindow meter;
    Volflag = false;
    meter.show();
    DoubleControl* peak = mixer.control(0, peakId);
    QVERIFY(peak);

    // The source line's meter has a full scale of 32767.
    peak->peaks = {-16384, 32767};
    meter.TimerTimer();
    QCOMPARE(litSegments(meter, 'L'), 5);
    QCOMPARE(litSegments(meter, 'R'), 9);
    QCOMPARE(meter.LMaxLevel->text(), QStringLiteral("50%"));
    QCOMPARE(meter.RMaxLevel->text(), QStringLiteral("99%"));

    peak->peaks = {0, 100};
    meter.TimerTimer();
    QCOMPARE(litSegments(meter, 'L'), 0);
    QCOMPARE(litSegments(meter, 'R'), 1);
    QCOMPARE(meter.LMaxLevel->text(), QStringLiteral("50%"));

    meter.ClearButton->click();
    QCOMPARE(meter.LMaxLevel->text(), QStringLiteral("0%"));
    QCOMPARE(meter.RMaxLevel->text(), QStringLiteral("0%"));

    // A right level beyond full scale during an analysis is refused with one message.
    AnalysisArmed = true;
    MovieActive = true;
    peak->peaks = {0, -32768};
    MixerState.PeakRange = 16384;
    QStringList texts;
    PressOnNextModal(QStringLiteral("OK"), &texts);
    meter.TimerTimer();
    QVERIFY(texts.contains(QStringLiteral("Vol Over!")));
    QCOMPARE(std::accumulate(LevelHistogram.begin(), LevelHistogram.end(), 0), 0);
}

void TestLevelMeter::volumeBarsFollowTheUserAndTheMixer() {
    TestEnvironment env;
    MixerDouble mixer({PlainDevice(masterId, waveId, peakId)});
    mixer.control(0, masterId)->value = 32768;
    mixer.control(0, waveId)->value = 65535;
    UseMixerDevices use(&mixer);
    TMeterWindow meter;
    meter.show();
    QCOMPARE(meter.MasterVol->value(), 50);
    QCOMPARE(meter.MVol->text(), QStringLiteral("50%"));
    QCOMPARE(meter.WVol->text(), QStringLiteral("100%"));

    meter.MasterVol->setSliderPosition(30);
    meter.MasterVol->triggerAction(QAbstractSlider::SliderMove);
    QCOMPARE(GetMasterVolume(), 70);
    QCOMPARE(meter.MVol->text(), QStringLiteral("70%"));

    // A volume set elsewhere (the playlist) shows on the bars, and moving them by program writes
    // nothing more.
    const size_t writes = mixer.writes.size();
    SetWaveVolume(25);
    QCOMPARE(meter.WaveVol->value(), 75);
    QCOMPARE(meter.WVol->text(), QStringLiteral("25%"));
    QCOMPARE(mixer.writes.size(), writes + 1);
}

void TestLevelMeter::intervalAndCorrectionSurviveARestart_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("interval");
    QTest::newRow("1ms") << "N1ms" << 1;
    QTest::newRow("5ms") << "N5ms" << 5;
    QTest::newRow("50ms") << "N50ms" << 50;
    QTest::newRow("100ms") << "N100ms" << 100;
}

void TestLevelMeter::intervalAndCorrectionSurviveARestart() {
    QFETCH(QString, item);
    QFETCH(int, interval);
    TestEnvironment env;
    MixerDouble mixer({PlainDevice(masterId, waveId, peakId)});
    UseMixerDevices use(&mixer);
    env.writeSettings("[General]\nWinSizeX=640\n");
    {
        TMeterWindow meter;
        QCOMPARE(Interval, 10);
        QVERIFY(Volflag);
        QVERIFY(meter.N10ms->isChecked());
        meter.findChild<QAction*>(item)->trigger();
        QCOMPARE(meter.Timer->interval(), interval);
        meter.K2->trigger();
        QVERIFY(!Volflag);
    }
    Interval = 0;
    Volflag = true;
    TMeterWindow meter;
    QCOMPARE(Interval, interval);
    QVERIFY(!Volflag);
    QVERIFY(meter.findChild<QAction*>(item)->isChecked());
    QVERIFY(!meter.N10ms->isChecked());
    QCOMPARE(meter.Timer->interval(), interval);
    meter.show();
    QVERIFY(!meter.K2->isChecked());
    QCOMPARE(meter.Timer->interval(), interval);
}

void TestLevelMeter::armingAndFinishing() {
    TestEnvironment env;
    MixerDouble mixer({PlainDevice(masterId, waveId, peakId)});
    UseMixerDevices use(&mixer);
    TMeterWindow meter;
    TAnalyzeWin analysis;
    AnalyzeWin = &analysis;
    LevelHistogram[7] = 3;
    meter.AnalyzeButton->click();
    QVERIFY(AnalysisArmed);
    QVERIFY(!meter.AnalyzeButton->isEnabled());
    QCOMPARE(LevelHistogram[7], 0);
    LevelHistogram[7] = 2;
    meter.AnalyzeButtonClick(); // armed already: the counts stay
    QCOMPARE(LevelHistogram[7], 2);
    meter.ClearButtonClick();
    QCOMPARE(LevelHistogram[7], 2);

    CallHook(FinishAnalysis);
    QVERIFY(!AnalysisArmed);
    QVERIFY(meter.AnalyzeButton->isEnabled());
    QVERIFY(analysis.isVisible());
    QCOMPARE(analysis.AnalizeList->topLevelItem(0)->text(0), QStringLiteral("7"));
    AnalyzeWin = nullptr;
}

QTEST_MAIN(TestLevelMeter)
#include "tst_levelmeter.moc"
