#include "audio/mixer.h"
#include "platform/alsamaster.h"
#include "platform/outputstage.h"
#include "support/mixersetup.h"
#include "support/pulseserver.h"
#include "support/testenv.h"

#include <QtTest>

// The master volume against a real sound server: the "Master" of ALSA's default device, which the
// pulse plugin makes the server's output volume.
class TestMixerAlsa : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void mapsAlsaRange_data();
    void mapsAlsaRange();
    void everyScaleValueSurvivesAWideRange();

    void masterIsTheServersVolume_data();
    void masterIsTheServersVolume();
    void masterFollowsChangesMadeElsewhere_data();
    void masterFollowsChangesMadeElsewhere();
    void masterKeepsItsValueWhenTheServerEnds();

private:
    void requireServer();

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<TestPulseServer> server_;
    QString serverFailure_;
};

void TestMixerAlsa::initTestCase() {
    env_ = std::make_unique<TestEnvironment>();
    // First, before anything here reads ALSA's configuration.
    server_ = TestPulseServer::start(&serverFailure_);
    if (!server_)
        return;
    // The program's own devices, as the meter window opens them.
    const MixerSetUp setUp = OpenMixerClosingErrors();
    QVERIFY(setUp.completed);
    QCOMPARE(setUp.codes, QList<int>{});
}

void TestMixerAlsa::cleanupTestCase() {
    MixerState = {};
    server_.reset();
    env_.reset();
}

void TestMixerAlsa::requireServer() {
    if (!server_)
        QSKIP(qPrintable(QStringLiteral("no PulseAudio server: ") + serverFailure_));
}

void TestMixerAlsa::mapsAlsaRange_data() {
    QTest::addColumn<long>("minimum");
    QTest::addColumn<long>("maximum");
    QTest::addColumn<long>("alsa");
    QTest::addColumn<quint32>("scale");

    QTest::newRow("server: silence") << 0L << 65536L << 0L << 0u;
    QTest::newRow("server: full") << 0L << 65536L << 65536L << 65535u;
    QTest::newRow("server: 30 %") << 0L << 65536L << 19661L << 19661u;
    QTest::newRow("range below 0: bottom") << -10L << 21L << -10L << 0u;
    QTest::newRow("range below 0: top") << -10L << 21L << 21L << 65535u;
    QTest::newRow("range below 0: middle") << -10L << 21L << 6L << 33825u;
    QTest::newRow("coarse range") << 0L << 31L << 16L << 33825u;
}

void TestMixerAlsa::mapsAlsaRange() {
    QFETCH(long, minimum);
    QFETCH(long, maximum);
    QFETCH(long, alsa);
    QFETCH(quint32, scale);

    QCOMPARE(AlsaVolumeToScale(alsa, minimum, maximum), scale);
    QCOMPARE(ScaleToAlsaVolume(scale, minimum, maximum), alsa);
    QCOMPARE(AlsaVolumeToScale(maximum + 5, minimum, maximum), MasterScaleMaximum);
    QCOMPARE(AlsaVolumeToScale(minimum - 5, minimum, maximum), 0u);
    QCOMPARE(ScaleToAlsaVolume(MasterScaleMaximum + 5, minimum, maximum), maximum);
}

void TestMixerAlsa::everyScaleValueSurvivesAWideRange() {
    for (uint32_t value = 0; value <= MasterScaleMaximum; ++value) {
        const long alsa = ScaleToAlsaVolume(value, 0, 65536);
        if (AlsaVolumeToScale(alsa, 0, 65536) != value)
            QFAIL(qPrintable(QStringLiteral("%1 comes back as another value").arg(value)));
    }
}

void TestMixerAlsa::masterIsTheServersVolume_data() {
    QTest::addColumn<int>("percent");
    for (int percent : {30, 0, 77, 100, 1})
        QTest::addRow("%d %%", percent) << percent;
}

// A master volume set by the program is the server's sink volume, as the server's own tool reads
// it; the output stage's own master stays at unity so the sound is not turned down twice.
void TestMixerAlsa::masterIsTheServersVolume() {
    requireServer();
    QFETCH(int, percent);

    SetMasterVolume(percent);

    QCOMPARE(server_->sinkVolumePercent(), percent);
    QCOMPARE(GetMasterVolume(), percent);
    QCOMPARE(OutputStage::instance().masterGain(), 1.0);
}

void TestMixerAlsa::masterFollowsChangesMadeElsewhere_data() {
    QTest::addColumn<QStringList>("volumes");
    QTest::addColumn<int>("percent");
    QTest::newRow("both channels") << QStringList{QStringLiteral("45%")} << 45;
    QTest::newRow("channels apart: the louder")
        << QStringList{QStringLiteral("20%"), QStringLiteral("50%")} << 50;
    QTest::newRow("silence") << QStringList{QStringLiteral("0%")} << 0;
}

// Changes made by another program reach the cached value through the mixer's change events.
void TestMixerAlsa::masterFollowsChangesMadeElsewhere() {
    requireServer();
    QFETCH(QStringList, volumes);
    QFETCH(int, percent);
    SetMasterVolume(80);

    QVERIFY(
        !server_
             ->pactl(QStringList{QStringLiteral("set-sink-volume"), TestPulseServer::sinkName()} +
                     volumes)
             .isEmpty());

    QTRY_COMPARE(GetMasterVolume(), percent);
}

// A server that goes away leaves the last value readable, and nothing breaks.
void TestMixerAlsa::masterKeepsItsValueWhenTheServerEnds() {
    requireServer();
    SetMasterVolume(64);

    server_.reset();
    QTest::qWait(300);

    QCOMPARE(GetMasterVolume(), 64);
    SetMasterVolume(10);
    CloseMixer();
}

QTEST_MAIN(TestMixerAlsa)
#include "tst_mixer_alsa.moc"
