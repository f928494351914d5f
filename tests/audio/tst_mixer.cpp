#include "app/hooks.h"
#include "audio/mixer.h"
#include "support/mixerdouble.h"
#include "support/mixersetup.h"
#include "support/modal.h"
#include "support/testenv.h"

#include <QtTest>

namespace {

constexpr qint64 None = -1;

qint64 idOrNone(const std::optional<MixerId>& id) {
    return id ? qint64{*id} : None;
}

// A device with that many destinations; the first is a speakers destination whose master
// volume has the given ID, so the chosen device can be told by MasterControlId.
DoubleDevice deviceWithDestinations(int destinations, MixerId master) {
    DoubleDevice device;
    for (int d = 0; d < destinations; ++d) {
        device.destinations.push_back(
            d == 0 ? Line(MixerComponentDstSpeakers, MixerTargetUndefined, {Volume(master)})
                   : Line(MixerComponentDstWaveIn, MixerTargetWaveIn, {}));
    }
    return device;
}

DoubleDevices devicesWithDestinations(std::initializer_list<int> counts) {
    DoubleDevices devices;
    for (int count : counts)
        devices.push_back(deviceWithDestinations(count, 100 + MixerId(devices.size())));
    return devices;
}

DoubleDevices failing(DoubleDevices devices, size_t index, DoubleDevice::Call call,
                      int fromOpen = 0) {
    devices[index].failing = call;
    devices[index].failingFromOpen = fromOpen;
    return devices;
}

DoubleLine speakers(std::vector<DoubleControl> controls, std::vector<DoubleLine> sources = {},
                    uint32_t target = MixerTargetUndefined) {
    return Line(MixerComponentDstSpeakers, target, std::move(controls), std::move(sources));
}

DoubleLine waveOut(std::vector<DoubleControl> controls) {
    return Line(MixerComponentSrcWaveOut, MixerTargetWaveOut, std::move(controls));
}

DoubleLine unreadable(DoubleLine line) {
    line.infoFails = true;
    return line;
}

} // namespace

class TestMixer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void choosesDevice_data();
    void choosesDevice();
    void findsControls_data();
    void findsControls();
    void missingControlsReadZeroAndIgnoreWrites_data();
    void missingControlsReadZeroAndIgnoreWrites();
    void writesPercent_data();
    void writesPercent();
    void readsPercent_data();
    void readsPercent();
    void percentSurvivesWriteAndRead_data();
    void percentSurvivesWriteAndRead();
    void writeNeedsReadableControl_data();
    void writeNeedsReadableControl();
    void readsPeakLevels_data();
    void readsPeakLevels();

private:
    std::unique_ptr<TestEnvironment> env_;
    int refreshes_ = 0;
};

void TestMixer::init() {
    env_ = std::make_unique<TestEnvironment>();
    refreshes_ = 0;
    RefreshVolumeDisplay = [this] {
        ++refreshes_;
    };
}

void TestMixer::cleanup() {
    RefreshVolumeDisplay = nullptr;
    ClearModalActions();
    env_.reset();
}

void TestMixer::choosesDevice_data() {
    QTest::addColumn<DoubleDevices>("devices");
    QTest::addColumn<qint64>("chosen");

    QTest::newRow("one device") << devicesWithDestinations({2}) << qint64{0};
    QTest::newRow("more destinations later") << devicesWithDestinations({1, 3}) << qint64{1};
    QTest::newRow("equal counts: lower index") << devicesWithDestinations({2, 2}) << qint64{0};
    QTest::newRow("equal largest after a smaller one")
        << devicesWithDestinations({1, 3, 3}) << qint64{1};
    QTest::newRow("largest first") << devicesWithDestinations({3, 1, 3}) << qint64{0};
    QTest::newRow("device without destinations skipped")
        << devicesWithDestinations({0, 1}) << qint64{1};
    QTest::newRow("no device") << DoubleDevices{} << None;
    QTest::newRow("no device has a destination") << devicesWithDestinations({0, 0}) << None;
    QTest::newRow("a later device fails to open")
        << failing(devicesWithDestinations({2, 1}), 1, DoubleDevice::Open) << None;
    QTest::newRow("a device gives no ID")
        << failing(devicesWithDestinations({1, 2}), 0, DoubleDevice::DeviceId) << None;
    QTest::newRow("a device gives no capabilities")
        << failing(devicesWithDestinations({1, 2}), 1, DoubleDevice::Capabilities) << None;
    QTest::newRow("chosen device fails to open again")
        << failing(devicesWithDestinations({1, 2}), 1, DoubleDevice::Open, 1) << None;
    QTest::newRow("chosen device gives no capabilities again")
        << failing(devicesWithDestinations({2, 1}), 0, DoubleDevice::Capabilities, 1) << None;
}

// The device with the most destinations is kept open, the lowest index among equals; any failure
// on the way reports code 3 once and holds no device.
void TestMixer::choosesDevice() {
    QFETCH(DoubleDevices, devices);
    QFETCH(qint64, chosen);
    MixerDouble mixer(devices);
    UseMixerDevices use(&mixer);

    const MixerSetUp setUp = OpenMixerClosingErrors();

    QCOMPARE(setUp.completed, chosen != None);
    QCOMPARE(setUp.codes, chosen != None ? QList<int>{} : QList<int>{3});
    QCOMPARE(idOrNone(MixerState.MasterControlId), chosen == None ? None : 100 + chosen);
    QCOMPARE(mixer.openHandles, chosen == None ? 0 : 1);
    QCOMPARE(MixerState.MixerHandle != nullptr, chosen != None);
    CloseMixer();
    QCOMPARE(mixer.openHandles, 0);
    CloseMixer();
}

void TestMixer::findsControls_data() {
    QTest::addColumn<DoubleDevice>("device");
    QTest::addColumn<qint64>("master");
    QTest::addColumn<qint64>("wave");
    QTest::addColumn<qint64>("peak");
    QTest::addColumn<int>("peakRange");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<QList<int>>("codes");

    QTest::newRow("speakers with a wave-out source")
        << PlainDevice(1, 2, 3) << qint64{1} << qint64{2} << qint64{3} << 32767 << true
        << QList<int>{};
    QTest::newRow("wave-out destination and source: the source's volume and meter")
        << DoubleDevice{{speakers({Volume(1), PeakMeter(2)}, {waveOut({Volume(3), PeakMeter(4)})},
                                  MixerTargetWaveOut)}}
        << qint64{1} << qint64{3} << qint64{4} << 32767 << true << QList<int>{};
    QTest::newRow("source without meter: the destination's meter")
        << DoubleDevice{{speakers({Volume(1), PeakMeter(2)}, {waveOut({Volume(3)})},
                                  MixerTargetWaveOut)}}
        << qint64{1} << qint64{3} << qint64{2} << 32768 << true << QList<int>{0};
    QTest::newRow("no meter anywhere: one report per wave-out line")
        << DoubleDevice{{speakers({Volume(1)}, {waveOut({Volume(3)})}, MixerTargetWaveOut)}}
        << qint64{1} << qint64{3} << None << 0 << true << QList<int>{0, 0};
    QTest::newRow("meter 0 to 32767 on a destination")
        << DoubleDevice{{speakers({Volume(1), PeakMeter(2, 0, 32767)}, {}, MixerTargetWaveOut)}}
        << qint64{1} << qint64{1} << qint64{2} << 32767 << true << QList<int>{};
    QTest::newRow("meter 0 to 32767 on a source")
        << DoubleDevice{{speakers({Volume(1)}, {waveOut({Volume(2), PeakMeter(3, 0, 32767)})})}}
        << qint64{1} << qint64{2} << qint64{3} << 32767 << true << QList<int>{};
    QTest::newRow("meter -51 to 50 on a source: upper bound")
        << DoubleDevice{{speakers({Volume(1)}, {waveOut({Volume(2), PeakMeter(3, -51, 50)})})}}
        << qint64{1} << qint64{2} << qint64{3} << 50 << true << QList<int>{};
    QTest::newRow("meter -100 to 50 on a source: larger magnitude")
        << DoubleDevice{{speakers({Volume(1)}, {waveOut({Volume(2), PeakMeter(3, -100, 50)})})}}
        << qint64{1} << qint64{2} << qint64{3} << 100 << true << QList<int>{};
    QTest::newRow("widest meter on a destination stays in range")
        << DoubleDevice{{speakers({Volume(1), PeakMeter(2, INT32_MIN, 0)}, {}, MixerTargetWaveOut)}}
        << qint64{1} << qint64{1} << qint64{2} << INT32_MAX << true << QList<int>{};
    QTest::newRow("meter without full scale counts as missing")
        << DoubleDevice{{speakers({Volume(1)}, {waveOut({Volume(2), PeakMeter(3, 0, 0)})})}}
        << qint64{1} << qint64{2} << None << 0 << true << QList<int>{0};
    QTest::newRow("last speakers destination supplies the master")
        << DoubleDevice{{speakers({Volume(1)}), speakers({Volume(5)})}} << qint64{5} << None << None
        << 0 << false << QList<int>{};
    QTest::newRow("last wave-out line wins, meter from the last that has one")
        << DoubleDevice{{speakers({Volume(1)}, {waveOut({Volume(2), PeakMeter(3)})},
                                  MixerTargetWaveOut),
                         Line(MixerComponentDstWaveIn, MixerTargetWaveIn, {},
                              {waveOut({Volume(6)})})}}
        << qint64{1} << qint64{6} << qint64{3} << 32767 << true << QList<int>{0, 0};
    QTest::newRow("speakers with a mute but no volume end the set-up")
        << DoubleDevice{{speakers({DoubleControl{7, MixerControlMute}},
                                  {waveOut({Volume(2), PeakMeter(3)})})}}
        << None << None << None << 0 << false << QList<int>{3};
    QTest::newRow("wave-out line without volume ends the set-up, its meter stays")
        << DoubleDevice{{speakers({Volume(1)}, {waveOut({PeakMeter(3)}), waveOut({Volume(4)})})}}
        << qint64{1} << None << qint64{3} << 32767 << false << QList<int>{3};
    QTest::newRow("unreadable destination keeps what came before")
        << DoubleDevice{{PlainDevice(1, 2, 3).destinations[0], unreadable(speakers({Volume(5)}))}}
        << qint64{1} << qint64{2} << qint64{3} << 32767 << true << QList<int>{3};
    QTest::newRow("unreadable source ends the set-up")
        << DoubleDevice{{speakers({Volume(1)}, {unreadable(waveOut({Volume(2)}))})}} << qint64{1}
        << None << None << 0 << false << QList<int>{3};
}

void TestMixer::findsControls() {
    QFETCH(DoubleDevice, device);
    QFETCH(qint64, master);
    QFETCH(qint64, wave);
    QFETCH(qint64, peak);
    QFETCH(int, peakRange);
    QFETCH(bool, ready);
    QFETCH(QList<int>, codes);
    MixerDouble mixer({device});
    UseMixerDevices use(&mixer);

    const MixerSetUp setUp = OpenMixerClosingErrors();

    QCOMPARE(setUp.codes, codes);
    QCOMPARE(setUp.completed, !codes.contains(3));
    QCOMPARE(idOrNone(MixerState.MasterControlId), master);
    QCOMPARE(idOrNone(MixerState.WaveControlId), wave);
    QCOMPARE(idOrNone(MixerState.PeakControlId), peak);
    QCOMPARE(MixerState.PeakRange, peakRange);
    QCOMPARE(MixerState.MixerReady, ready);
    QCOMPARE(mixer.openHandles, 1);
}

void TestMixer::missingControlsReadZeroAndIgnoreWrites_data() {
    QTest::addColumn<DoubleDevices>("devices");
    QTest::addColumn<bool>("hasMaster");
    QTest::addColumn<bool>("hasWave");
    QTest::addColumn<QList<int>>("codes");

    QTest::newRow("no device at all") << DoubleDevices{} << false << false << QList<int>{3};
    QTest::newRow("no speakers destination")
        << DoubleDevices{{{Line(MixerComponentDstWaveIn, MixerTargetWaveIn, {},
                                {waveOut({Volume(2, 65535, 30000), PeakMeter(3)})})}}}
        << false << true << QList<int>{};
    QTest::newRow("no wave-out line")
        << DoubleDevices{{{speakers({Volume(1, 65535, 30000)})}}} << true << false << QList<int>{};
}

// A control never found reads as 0 and ignores writes; the other control works as usual.
void TestMixer::missingControlsReadZeroAndIgnoreWrites() {
    QFETCH(DoubleDevices, devices);
    QFETCH(bool, hasMaster);
    QFETCH(bool, hasWave);
    QFETCH(QList<int>, codes);
    MixerDouble mixer(devices);
    UseMixerDevices use(&mixer);

    QCOMPARE(OpenMixerClosingErrors().codes, codes);

    QCOMPARE(ReadMasterRaw(), hasMaster ? 30000u : 0u);
    QCOMPARE(ReadWaveRaw(), hasWave ? 30000u : 0u);
    QCOMPARE(GetMasterVolume(), hasMaster ? 45 : 0);
    QCOMPARE(GetWaveVolume(), hasWave ? 45 : 0);
    QCOMPARE(ReadPeakLevels().has_value(), hasWave);
    SetMasterVolume(70);
    WriteMasterRaw(5);
    SetWaveVolume(20);
    WriteWaveRaw(6);
    std::vector<std::pair<MixerId, uint32_t>> expected;
    if (hasMaster)
        expected.insert(expected.end(), {{1, 45875}, {1, 5}});
    if (hasWave)
        expected.insert(expected.end(), {{2, 13108}, {2, 6}});
    QCOMPARE(mixer.writes, expected);
    QCOMPARE(refreshes_, int(expected.size()));
}

void TestMixer::writesPercent_data() {
    QTest::addColumn<bool>("master");
    QTest::addColumn<quint32>("maximum");
    QTest::addColumn<int>("percent");
    QTest::addColumn<quint32>("written");
    QTest::addColumn<int>("readBack");

    QTest::newRow("master 0 % writes 1") << true << 65535u << 0 << 1u << 0;
    QTest::newRow("master 50 %") << true << 65535u << 50 << 32768u << 50;
    QTest::newRow("master 100 % writes the maximum") << true << 65535u << 100 << 65535u << 100;
    QTest::newRow("master 150 % writes the maximum") << true << 65535u << 150 << 65535u << 100;
    QTest::newRow("master of playlist's largest percent") << true << 65535u << 999 << 65535u << 100;
    QTest::newRow("wave 50 % of 100 writes 51") << false << 100u << 50 << 51u << 51;
    QTest::newRow("wave 100 % of 100") << false << 100u << 100 << 100u << 100;
    QTest::newRow("wave of the largest maximum")
        << false << 0xFFFFFFFFu << 100 << 0xFFFFFFFFu << 100;
    QTest::newRow("negative percent counts as 0") << false << 65535u << -5 << 1u << 0;
}

void TestMixer::writesPercent() {
    QFETCH(bool, master);
    QFETCH(quint32, maximum);
    QFETCH(int, percent);
    QFETCH(quint32, written);
    QFETCH(int, readBack);
    MixerDouble mixer({PlainDevice(1, 2, 3, maximum)});
    UseMixerDevices use(&mixer);
    QVERIFY(OpenMixer());

    master ? SetMasterVolume(percent) : SetWaveVolume(percent);

    using Writes = std::vector<std::pair<MixerId, uint32_t>>;
    QCOMPARE(mixer.writes, (Writes{{master ? 1u : 2u, written}}));
    QCOMPARE(master ? GetMasterVolume() : GetWaveVolume(), readBack);
    QCOMPARE(master ? GetWaveVolume() : GetMasterVolume(), 0);
    QCOMPARE(refreshes_, 1);
}

void TestMixer::readsPercent_data() {
    QTest::addColumn<quint32>("maximum");
    QTest::addColumn<quint32>("raw");
    QTest::addColumn<int>("percent");

    QTest::newRow("128 of 255") << 255u << 128u << 50;
    QTest::newRow("32767 of 65535 truncates") << 65535u << 32767u << 49;
    QTest::newRow("0") << 65535u << 0u << 0;
    QTest::newRow("largest raw of the largest maximum") << 0xFFFFFFFFu << 0xFFFFFFFFu << 100;
    QTest::newRow("above the maximum reads 100") << 255u << 1000u << 100;
    QTest::newRow("maximum 0") << 0u << 10u << 0;
}

void TestMixer::readsPercent() {
    QFETCH(quint32, maximum);
    QFETCH(quint32, raw);
    QFETCH(int, percent);
    DoubleDevice device;
    device.destinations = {
        speakers({Volume(1, 65535, 65535)}, {waveOut({Volume(2, maximum, raw)})})};
    MixerDouble mixer({device});
    UseMixerDevices use(&mixer);
    OpenMixerClosingErrors();

    QCOMPARE(ReadWaveRaw(), raw);
    QCOMPARE(GetWaveVolume(), percent);
    QCOMPARE(GetMasterVolume(), 100);
}

void TestMixer::percentSurvivesWriteAndRead_data() {
    QTest::addColumn<quint32>("maximum");
    for (quint32 maximum : {101u, 255u, 1000u, 65535u, 0xFFFFFFFFu})
        QTest::addRow("maximum %u", maximum) << maximum;
}

void TestMixer::percentSurvivesWriteAndRead() {
    QFETCH(quint32, maximum);
    MixerDouble mixer({PlainDevice(1, 2, 3, maximum)});
    UseMixerDevices use(&mixer);
    QVERIFY(OpenMixer());

    QCOMPARE(FirstPercentLost(), -1);
}

void TestMixer::writeNeedsReadableControl_data() {
    QTest::addColumn<bool>("readFails");
    QTest::newRow("readable") << false;
    QTest::newRow("read fails") << true;
}

// A failed read gives 0; a write whose read fails is dropped, display refresh included.
void TestMixer::writeNeedsReadableControl() {
    QFETCH(bool, readFails);
    DoubleDevice device = PlainDevice(1, 2, 3);
    DoubleControl& wave = device.destinations[0].sources[0].controls[0];
    wave.value = 1234;
    wave.readFails = readFails;
    MixerDouble mixer({device});
    UseMixerDevices use(&mixer);
    QVERIFY(OpenMixer());

    QCOMPARE(ReadWaveRaw(), readFails ? 0u : 1234u);
    WriteWaveRaw(999);
    SetWaveVolume(10);

    using Writes = std::vector<std::pair<MixerId, uint32_t>>;
    QCOMPARE(mixer.writes, readFails ? Writes{} : (Writes{{2, 999}, {2, 6554}}));
    QCOMPARE(refreshes_, readFails ? 0 : 2);
}

void TestMixer::readsPeakLevels_data() {
    QTest::addColumn<DoubleDevice>("device");
    QTest::addColumn<bool>("reading");

    DoubleDevice plain = PlainDevice(1, 2, 3);
    plain.destinations[0].sources[0].controls[1].peaks = {-32768, 12};
    DoubleDevice failingRead = plain;
    failingRead.destinations[0].sources[0].controls[1].readFails = true;
    QTest::newRow("meter") << plain << true;
    QTest::newRow("meter read fails") << failingRead << false;
    QTest::newRow("no meter") << DoubleDevice{{speakers({Volume(1)}, {waveOut({Volume(2)})})}}
                              << false;
}

void TestMixer::readsPeakLevels() {
    QFETCH(DoubleDevice, device);
    QFETCH(bool, reading);
    MixerDouble mixer({device});
    UseMixerDevices use(&mixer);
    OpenMixerClosingErrors();

    const std::optional<PeakLevels> levels = ReadPeakLevels();

    QCOMPARE(levels.has_value(), reading);
    if (reading) {
        QCOMPARE(levels->left, -32768);
        QCOMPARE(levels->right, 12);
    }
}

QTEST_MAIN(TestMixer)
#include "tst_mixer.moc"
