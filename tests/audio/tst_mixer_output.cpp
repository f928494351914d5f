#include "audio/mixer.h"
#include "platform/gstptr.h"
#include "platform/mediaplayer.h"
#include "platform/outputmixer.h"
#include "platform/outputstage.h"
#include "support/fixtures.h"
#include "support/mixerdouble.h"
#include "support/mixersetup.h"
#include "support/pulseserver.h"
#include "support/testenv.h"

#include <QtTest>
#include <gst/app/gstappsink.h>

// The output stage as the mixer's device: its volumes are the gains of the sound Kestrune plays
// and its peak meter reads that sound before them.

namespace {

struct Levels {
    int left = 0;
    int right = 0;
};

// Records what the private server's null sink plays, through the sink's monitor.
class SinkRecorder {
public:
    bool start() {
        const QByteArray description =
            "pulsesrc device=" + TestPulseServer::sinkName().toLatin1() +
            ".monitor ! audioconvert ! audio/x-raw,format=S16LE,channels=2 ! appsink name=out "
            "sync=false";
        pipeline_ = gst::sink(gst_parse_launch(description.constData(), nullptr));
        if (!pipeline_)
            return false;
        out_ = gst::adopt(gst_bin_get_by_name(GST_BIN(pipeline_.get()), "out"));
        return gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) !=
               GST_STATE_CHANGE_FAILURE;
    }

    // The loudest sample per channel recorded so far.
    Levels peaks() {
        while (GstSample* taken = gst_app_sink_try_pull_sample(GST_APP_SINK(out_.get()), 0)) {
            const gst::Owned<GstSample> sample = gst::adopt(taken);
            GstMapInfo map;
            GstBuffer* buffer = gst_sample_get_buffer(sample.get());
            if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
                continue;
            const auto* samples = reinterpret_cast<const int16_t*>(map.data);
            for (gsize i = 0; i + 1 < map.size / sizeof(int16_t); i += 2) {
                levels_.left = std::max(levels_.left, std::abs(int{samples[i]}));
                levels_.right = std::max(levels_.right, std::abs(int{samples[i + 1]}));
            }
            gst_buffer_unmap(buffer, &map);
        }
        return levels_;
    }

    ~SinkRecorder() {
        if (pipeline_)
            gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    }

private:
    gst::Owned<GstElement> pipeline_;
    gst::Owned<GstElement> out_;
    Levels levels_;
};

// Plays a file to its end, reading the peak meter at the interval meanwhile; gives every reading.
struct Playback {
    bool ended = false;
    std::vector<PeakLevels> readings;
};

Playback playReading(const QString& path, int intervalMs) {
    Playback result;
    TMediaPlayer player;
    player.setFileName(path);
    player.Open();
    if (player.Error() != 0)
        return result;
    QSignalSpy ended(&player, &TMediaPlayer::OnNotify);
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(intervalMs);
    QObject::connect(&tick, &QTimer::timeout, [&result] {
        if (const std::optional<PeakLevels> levels = ReadPeakLevels())
            result.readings.push_back(*levels);
    });
    tick.start();
    player.setNotify(true);
    player.Play();
    result.ended = ended.wait(20000);
    return result;
}

int magnitude(int32_t value) {
    return value < 0 ? -int64_t{value} : value;
}

Levels loudest(const std::vector<PeakLevels>& readings) {
    Levels levels;
    for (const PeakLevels& reading : readings) {
        levels.left = std::max(levels.left, magnitude(reading.left));
        levels.right = std::max(levels.right, magnitude(reading.right));
    }
    return levels;
}

// Readings taken for a while with nothing playing.
std::vector<PeakLevels> readingsAtRest() {
    std::vector<PeakLevels> readings;
    for (int i = 0; i < 20; ++i) {
        QTest::qWait(10);
        if (const std::optional<PeakLevels> levels = ReadPeakLevels())
            readings.push_back(*levels);
    }
    return readings;
}

} // namespace

class TestMixerOutput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void outputStageIsTheDevice();
    void ownVolumesAreTheStageGains_data();
    void ownVolumesAreTheStageGains();
    void everyPercentSurvivesTheGains();
    void waveVolumeScalesTheSoundButNotTheMeter_data();
    void waveVolumeScalesTheSoundButNotTheMeter();
    void burstIsSeenAtEveryInterval_data();
    void burstIsSeenAtEveryInterval();
    void meterReadsZeroWhileNothingPlays();

private:
    void openMixer(MixerDeviceList* devices);

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<TestPulseServer> server_;
    QString serverFailure_;
    std::unique_ptr<OutputMixerDevices> ownMasterOnly_;
    std::unique_ptr<UseMixerDevices> devices_;
};

void TestMixerOutput::initTestCase() {
    env_ = std::make_unique<TestEnvironment>();
    server_ = TestPulseServer::start(&serverFailure_);
    ownMasterOnly_ = std::make_unique<OutputMixerDevices>(QString());
}

void TestMixerOutput::cleanupTestCase() {
    devices_.reset();
    OutputStage::instance().setWaveGain(1.0);
    OutputStage::instance().setMasterGain(1.0);
    server_.reset();
    env_.reset();
}

void TestMixerOutput::init() {
    devices_.reset();
}

void TestMixerOutput::openMixer(MixerDeviceList* devices) {
    devices_ = std::make_unique<UseMixerDevices>(devices);
    const MixerSetUp setUp = OpenMixerClosingErrors();
    QVERIFY(setUp.completed);
    QCOMPARE(setUp.codes, QList<int>{});
}

// One speakers destination with the master volume and one wave-out source with the wave volume
// and a peak meter of -32768 to 32767, read as a source line's: full scale 32767.
void TestMixerOutput::outputStageIsTheDevice() {
    openMixer(ownMasterOnly_.get());

    QVERIFY(MixerState.MixerReady);
    QVERIFY(MixerState.MasterControlId);
    QVERIFY(MixerState.WaveControlId);
    QVERIFY(MixerState.PeakControlId);
    QCOMPARE(MixerState.MasterMax, 65535u);
    QCOMPARE(MixerState.WaveMax, 65535u);
    QCOMPARE(MixerState.PeakRange, 32767);
}

void TestMixerOutput::ownVolumesAreTheStageGains_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<double>("gain");
    QTest::newRow("0 %: raw 1") << 0 << 1.0 / 65535;
    QTest::newRow("50 %: raw 32768") << 50 << 32768.0 / 65535;
    QTest::newRow("100 %") << 100 << 1.0;
    QTest::newRow("above 100 %") << 150 << 1.0;
}

// Without a system master both volumes are gains of the output stage.
void TestMixerOutput::ownVolumesAreTheStageGains() {
    QFETCH(int, percent);
    QFETCH(double, gain);
    openMixer(ownMasterOnly_.get());

    SetWaveVolume(percent);
    SetMasterVolume(100 - std::min(percent, 100));

    QCOMPARE(OutputStage::instance().waveGain(), gain);
    QCOMPARE(GetWaveVolume(), std::min(percent, 100));
    QCOMPARE(GetMasterVolume(), 100 - std::min(percent, 100));
}

void TestMixerOutput::everyPercentSurvivesTheGains() {
    openMixer(ownMasterOnly_.get());
    QCOMPARE(FirstPercentLost(), -1);
}

void TestMixerOutput::waveVolumeScalesTheSoundButNotTheMeter_data() {
    QTest::addColumn<FixtureKind>("movie");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::newRow("movie, tone at half scale") << FixtureKind::MotionJpegAvi << 16384 << 16384;
    QTest::newRow("sound only, channels apart") << FixtureKind::AudioOnly << 16384 << 8192;
}

// At wave volume 50 % the sink gets half the amplitude; the meter, before the volumes, still
// reads the level of the file.
void TestMixerOutput::waveVolumeScalesTheSoundButNotTheMeter() {
    if (!server_)
        QSKIP(qPrintable(QStringLiteral("no PulseAudio server: ") + serverFailure_));
    QFETCH(FixtureKind, movie);
    QFETCH(int, left);
    QFETCH(int, right);
    const QString path = Fixture(movie);
    QVERIFY2(!path.isEmpty(), "fixture could not be made");
    openMixer(&OutputMixer());
    SetMasterVolume(100);
    SetWaveVolume(50);
    SinkRecorder sink;
    QVERIFY(sink.start());

    const Playback playback = playReading(path, 10);
    QTest::qWait(300);

    QVERIFY(playback.ended);
    const Levels meter = loudest(playback.readings);
    const Levels heard = sink.peaks();
    const auto near = [](int actual, int expected) {
        return std::abs(actual - expected) <= expected / 50;
    };
    QVERIFY2(near(meter.left, left) && near(meter.right, right),
             qPrintable(QStringLiteral("meter %1 %2").arg(meter.left).arg(meter.right)));
    QVERIFY2(near(heard.left, left / 2) && near(heard.right, right / 2),
             qPrintable(QStringLiteral("sink %1 %2").arg(heard.left).arg(heard.right)));
}

void TestMixerOutput::burstIsSeenAtEveryInterval_data() {
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<int>("mostLoudReadings");
    QTest::newRow("1 ms") << 1 << 3;
    QTest::newRow("100 ms") << 100 << 2;
}

// A 10 ms burst in a second of silence: every reading gives the largest level since the one
// before, so the burst shows at full level whatever the interval, and only around its time.
void TestMixerOutput::burstIsSeenAtEveryInterval() {
    QFETCH(int, intervalMs);
    QFETCH(int, mostLoudReadings);
    const QString path = Fixture(FixtureKind::Burst);
    QVERIFY2(!path.isEmpty(), "fixture could not be made");
    openMixer(ownMasterOnly_.get());
    SetWaveVolume(100);
    readingsAtRest();

    const Playback playback = playReading(path, intervalMs);

    QVERIFY(playback.ended);
    const Levels burst = loudest(playback.readings);
    QVERIFY2(burst.left >= 15500 && burst.left <= 16500 && burst.right == burst.left,
             qPrintable(QStringLiteral("burst read as %1 %2").arg(burst.left).arg(burst.right)));
    const auto loud = std::count_if(playback.readings.begin(), playback.readings.end(),
                                    [](const PeakLevels& r) { return magnitude(r.left) > 1000; });
    QVERIFY2(loud >= 1 && loud <= mostLoudReadings,
             qPrintable(QStringLiteral("%1 loud readings").arg(loud)));
}

// Nothing opened, a movie opened but not started, a movie over: every reading is 0.
void TestMixerOutput::meterReadsZeroWhileNothingPlays() {
    const QString path = Fixture(FixtureKind::AudioOnly);
    QVERIFY2(!path.isEmpty(), "fixture could not be made");
    openMixer(ownMasterOnly_.get());
    readingsAtRest();
    const auto silent = [](const std::vector<PeakLevels>& readings) {
        return !readings.empty() &&
               std::all_of(readings.begin(), readings.end(),
                           [](const PeakLevels& r) { return r.left == 0 && r.right == 0; });
    };

    QVERIFY(silent(readingsAtRest()));
    {
        TMediaPlayer player;
        player.setFileName(path);
        player.Open();
        QCOMPARE(player.Error(), 0);
        QVERIFY(silent(readingsAtRest()));
    }
    const Playback playback = playReading(path, 10);
    QVERIFY(playback.ended);
    QVERIFY(loudest(playback.readings).left > 0);
    QTest::qWait(300);
    readingsAtRest();
    QVERIFY(silent(readingsAtRest()));
}

QTEST_MAIN(TestMixerOutput)
#include "tst_mixer_output.moc"
