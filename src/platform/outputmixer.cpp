#include "platform/outputmixer.h"

#include "platform/alsamaster.h"
#include "platform/outputstage.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t OutputDeviceId = 0;
constexpr MixerId SpeakersLine = 0xFFFF0000;
constexpr MixerId WaveOutLine = 0x00000000;
constexpr MixerId MasterVolume = 1;
constexpr MixerId WaveVolume = 2;
constexpr MixerId WavePeakMeter = 3;

uint32_t gainToValue(double gain) {
    return static_cast<uint32_t>(std::lround(std::clamp(gain, 0.0, 1.0) * MasterScaleMaximum));
}

double valueToGain(uint32_t value) {
    return static_cast<double>(std::min(value, MasterScaleMaximum)) / MasterScaleMaximum;
}

// A peak magnitude (0 to 32768) as a signed meter value of that magnitude.
int32_t meterValue(int32_t magnitude) {
    return magnitude >= 32768 ? -32768 : std::max(magnitude, 0);
}

class OutputDevice : public MixerDevice {
public:
    explicit OutputDevice(const QString& systemMaster)
        : master_(systemMaster.isEmpty() ? nullptr : AlsaMaster::open(systemMaster)) {
        // The system's master attenuates already; the stage's own must not do so again.
        if (master_)
            OutputStage::instance().setMasterGain(1.0);
    }

    std::optional<uint32_t> deviceId() override { return OutputDeviceId; }

    std::optional<MixerLine> destinationLine(uint32_t destination) override {
        if (destination != 0)
            return std::nullopt;
        return MixerLine{0, 0, SpeakersLine, MixerComponentDstSpeakers, MixerTargetUndefined, 1};
    }

    std::optional<MixerLine> sourceLine(uint32_t destination, uint32_t source) override {
        if (destination != 0 || source != 0)
            return std::nullopt;
        return MixerLine{0, 0, WaveOutLine, MixerComponentSrcWaveOut, MixerTargetWaveOut, 0};
    }

    std::optional<MixerControl> lineControl(MixerId lineId, uint32_t controlType) override {
        const MixerBounds volume{0, MasterScaleMaximum};
        if (lineId == SpeakersLine && controlType == MixerControlVolume)
            return MixerControl{MasterVolume, controlType, volume};
        if (lineId == WaveOutLine && controlType == MixerControlVolume)
            return MixerControl{WaveVolume, controlType, volume};
        if (lineId == WaveOutLine && controlType == MixerControlPeakMeter)
            return MixerControl{WavePeakMeter, controlType, MixerBounds::Signed(-32768, 32767)};
        return std::nullopt;
    }

    std::optional<uint32_t> unsignedValue(MixerId controlId) override {
        if (controlId == MasterVolume)
            return master_ ? master_->value() : gainToValue(OutputStage::instance().masterGain());
        if (controlId == WaveVolume)
            return gainToValue(OutputStage::instance().waveGain());
        return std::nullopt;
    }

    bool setUnsignedValue(MixerId controlId, uint32_t value) override {
        if (controlId == MasterVolume && master_)
            return master_->setValue(value);
        if (controlId == MasterVolume)
            OutputStage::instance().setMasterGain(valueToGain(value));
        else if (controlId == WaveVolume)
            OutputStage::instance().setWaveGain(valueToGain(value));
        else
            return false;
        return true;
    }

    std::optional<std::array<int32_t, 2>> signedValues(MixerId controlId) override {
        if (controlId != WavePeakMeter)
            return std::nullopt;
        const OutputStage::Peaks peaks = OutputStage::instance().takePeaks();
        return std::array<int32_t, 2>{meterValue(peaks.left), meterValue(peaks.right)};
    }

private:
    std::unique_ptr<AlsaMaster> master_;
};

} // namespace

OutputMixerDevices::OutputMixerDevices(QString systemMaster)
    : systemMaster_(std::move(systemMaster)) {}

uint32_t OutputMixerDevices::deviceCount() {
    return 1;
}

std::unique_ptr<MixerDevice> OutputMixerDevices::open(uint32_t index) {
    if (index != 0)
        return nullptr;
    return std::make_unique<OutputDevice>(systemMaster_);
}

std::optional<MixerCaps> OutputMixerDevices::capabilities(uint32_t deviceId) {
    if (deviceId != OutputDeviceId)
        return std::nullopt;
    return MixerCaps{1};
}

OutputMixerDevices& OutputMixer() {
    static OutputMixerDevices devices(QStringLiteral("default"));
    return devices;
}
