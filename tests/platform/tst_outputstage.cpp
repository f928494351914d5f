#include "platform/gstptr.h"
#include "platform/mediaplayer.h"
#include "platform/outputstage.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <functional>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

QString fixture(FixtureKind kind) {
    const QString path = Fixture(kind);
    if (path.isEmpty())
        qFatal("a fixture could not be made");
    return path;
}

// Forgets whatever was heard before.
void drainPeaks() {
    OutputStage::instance().takePeaks();
}

// One reading of the peaks, and when it was taken after the start of play.
struct Reading {
    qint64 atMs;
    OutputStage::Peaks peaks;
};

struct Run {
    QList<Reading> readings;
    qint64 endMs = 0; // when the end of play was notified
};

// Runs the event loop for the time given, or until the condition holds; the loop is not put to
// sleep between events (QTest::qWait would), so fast timers keep their pace.
bool runLoop(int ms, const std::function<bool()>& until = {}) {
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (until && until())
            loop.quit();
    });
    limit.start(ms);
    check.start(5);
    loop.exec();
    return until && until();
}

// Plays the fixture to its end while reading the peaks every intervalMs.
Run readWhilePlaying(FixtureKind kind, int intervalMs) {
    TMediaPlayer player;
    player.setFileName(fixture(kind));
    player.Open();
    if (player.Error() != 0)
        qFatal("the fixture does not open");
    Run run;
    QList<Reading>& readings = run.readings;
    QElapsedTimer clock;
    QObject::connect(&player, &TMediaPlayer::OnNotify, [&] { run.endMs = clock.elapsed(); });
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(intervalMs);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        readings.append({clock.elapsed(), OutputStage::instance().takePeaks()});
    });
    drainPeaks();
    player.setNotify(true);
    clock.start();
    player.Play();
    timer.start();
    if (!runLoop(10000, [&] { return run.endMs > 0; }))
        qFatal("the play did not end");
    runLoop(150); // what is still on its way to be heard
    timer.stop();
    player.Close();
    return run;
}

OutputStage::Peaks largest(const QList<Reading>& readings) {
    OutputStage::Peaks most;
    for (const Reading& r : readings) {
        most.left = std::max(most.left, r.peaks.left);
        most.right = std::max(most.right, r.peaks.right);
    }
    return most;
}

double volumeOf(GstElement* bin, const char* name) {
    gst::Owned<GstElement> element = gst::adopt(gst_bin_get_by_name(GST_BIN(bin), name));
    double volume = -1;
    if (element)
        g_object_get(element.get(), "volume", &volume, nullptr);
    return volume;
}

} // namespace

class TestOutputStage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void silentWhileNothingPlays();
    void peaksFollowEachChannel();
    void burstIsSeenByFastAndSlowReaders_data();
    void burstIsSeenByFastAndSlowReaders();
    void peaksAreMeasuredBeforeTheGains();
    void gainsReachEverySinkAndAreKept();
    void stopSilencesAtOnce();

private:
    std::unique_ptr<TestEnvironment> env_;
};

void TestOutputStage::init() {
    env_.reset(); // gives the old folders back before new ones are set
    env_ = std::make_unique<TestEnvironment>();
    OutputStage::instance().setWaveGain(1.0);
    OutputStage::instance().setMasterGain(1.0);
}

void TestOutputStage::silentWhileNothingPlays() {
    drainPeaks();
    QTest::qWait(30);
    OutputStage::Peaks peaks = OutputStage::instance().takePeaks();
    QCOMPARE(peaks.left, 0);
    QCOMPARE(peaks.right, 0);
    // Opened and ready, but not playing: nothing is heard.
    TMediaPlayer player;
    player.setFileName(fixture(FixtureKind::AudioOnly));
    player.Open();
    QCOMPARE(player.Error(), 0);
    QTest::qWait(300);
    peaks = OutputStage::instance().takePeaks();
    QCOMPARE(peaks.left, 0);
    QCOMPARE(peaks.right, 0);
}

void TestOutputStage::peaksFollowEachChannel() {
    const QList<Reading> readings = readWhilePlaying(FixtureKind::AudioOnly, 20).readings;
    const OutputStage::Peaks most = largest(readings);
    QVERIFY2(std::abs(most.left - 16384) <= 64, qPrintable(QString::number(most.left)));
    QVERIFY2(std::abs(most.right - 8192) <= 64, qPrintable(QString::number(most.right)));
    // The sound lasts two seconds and the readings say so: loud from the start to the end.
    int loud = 0;
    for (const Reading& r : readings)
        loud += r.peaks.left > 8000 ? 1 : 0;
    QVERIFY2(loud * 20 >= 1700, qPrintable(QString::number(loud)));
    drainPeaks();
    QTest::qWait(30);
    const OutputStage::Peaks after = OutputStage::instance().takePeaks();
    QCOMPARE(after.left, 0);
    QCOMPARE(after.right, 0);
}

void TestOutputStage::burstIsSeenByFastAndSlowReaders_data() {
    QTest::addColumn<int>("interval");
    QTest::newRow("1 ms") << 1;
    QTest::newRow("100 ms") << 100;
}

void TestOutputStage::burstIsSeenByFastAndSlowReaders() {
    QFETCH(int, interval);
    const Run run = readWhilePlaying(FixtureKind::Burst, interval);
    QList<Reading> heard;
    for (const Reading& r : run.readings)
        if (r.peaks.left != 0 || r.peaks.right != 0)
            heard.append(r);
    QVERIFY(!heard.isEmpty());
    // Mono: the same on both channels, at the burst's level.
    const OutputStage::Peaks most = largest(heard);
    QCOMPARE(most.left, most.right);
    QVERIFY2(std::abs(most.left - 16384) <= 64, qPrintable(QString::number(most.left)));
    // Heard when it plays, half a second before the end, not when it was decoded (a peak counts
    // from the start of the level interval that holds it, at most 20 ms early).
    const qint64 beforeEnd = run.endMs - heard.first().atMs;
    QVERIFY2(beforeEnd <= 540 && beforeEnd >= 500 - interval - 40,
             qPrintable(QString::number(beforeEnd)));
    if (interval == 1) // a fast reader sees it within a few milliseconds of its time
        QVERIFY2(beforeEnd >= 470, qPrintable(QString::number(beforeEnd)));
    // One short burst: seen in a few readings at most.
    QVERIFY2(heard.last().atMs - heard.first().atMs <= 60 + interval,
             qPrintable(QString::number(heard.last().atMs - heard.first().atMs)));
}

void TestOutputStage::peaksAreMeasuredBeforeTheGains() {
    OutputStage::instance().setWaveGain(0.25);
    OutputStage::instance().setMasterGain(0.5);
    const OutputStage::Peaks most = largest(readWhilePlaying(FixtureKind::AudioOnly, 20).readings);
    QVERIFY2(std::abs(most.left - 16384) <= 64, qPrintable(QString::number(most.left)));
    QVERIFY2(std::abs(most.right - 8192) <= 64, qPrintable(QString::number(most.right)));
}

void TestOutputStage::gainsReachEverySinkAndAreKept() {
    OutputStage& stage = OutputStage::instance();
    gst::ensureInitialized();
    gst::Owned<GstElement> first = gst::sink(stage.createAudioSink());
    QVERIFY(first);
    stage.setWaveGain(0.5);
    gst::Owned<GstElement> second = gst::sink(stage.createAudioSink());
    QCOMPARE(volumeOf(first.get(), "wave"), 0.5);
    QCOMPARE(volumeOf(second.get(), "wave"), 0.5);
    QCOMPARE(volumeOf(second.get(), "master"), 1.0);
    stage.setMasterGain(0.75);
    QCOMPARE(volumeOf(first.get(), "master"), 0.75);
    QCOMPARE(volumeOf(second.get(), "master"), 0.75);
    stage.setWaveGain(2.0); // clamped
    QCOMPARE(stage.waveGain(), 1.0);
    stage.setWaveGain(0.3);
    // Kept as platform state under $XDG_STATE_HOME, for the next run.
    QSettings kept(env_->stateHome() + QStringLiteral("/Quillmoor/KestruneOutput.conf"),
                   QSettings::IniFormat);
    QCOMPARE(kept.value(QStringLiteral("WaveGain")).toDouble(), 0.3);
    QCOMPARE(kept.value(QStringLiteral("MasterGain")).toDouble(), 0.75);
}

void TestOutputStage::stopSilencesAtOnce() {
    TMediaPlayer player;
    player.setFileName(fixture(FixtureKind::AudioOnly));
    player.Open();
    player.Play();
    QTest::qWait(400);
    QVERIFY(OutputStage::instance().takePeaks().left > 8000);
    player.Stop();
    drainPeaks();
    QTest::qWait(100);
    QCOMPARE(OutputStage::instance().takePeaks().left, 0);
    player.Play();
    QTest::qWait(200);
    QVERIFY(OutputStage::instance().takePeaks().left > 8000);
    player.Close();
    drainPeaks();
    QTest::qWait(50);
    QCOMPARE(OutputStage::instance().takePeaks().left, 0);
}

QTEST_MAIN(TestOutputStage)
#include "tst_outputstage.moc"
