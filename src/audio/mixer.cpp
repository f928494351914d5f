#include "audio/mixer.h"

#include "app/errorreport.h"
#include "app/hooks.h"
#include "audio/mixerrules.h"
#include "platform/outputmixer.h"

TMixerState MixerState;
MixerDeviceList* MixerDevices = &OutputMixer();

namespace {

constexpr ErrorCode NoPeakMeter = 0;
constexpr ErrorCode MixerSetUpFailed = 3;

struct OpenedDevice {
    std::unique_ptr<MixerDevice> handle;
    MixerCaps caps;
};

// Opens a device and reads its capabilities through the ID the open device gives back.
std::optional<OpenedDevice> openDevice(MixerDeviceList& devices, uint32_t index) {
    std::unique_ptr<MixerDevice> handle = devices.open(index);
    if (!handle)
        return std::nullopt;
    const std::optional<uint32_t> id = handle->deviceId();
    if (!id)
        return std::nullopt;
    const std::optional<MixerCaps> caps = devices.capabilities(*id);
    if (!caps)
        return std::nullopt;
    return OpenedDevice{std::move(handle), *caps};
}

bool setUpFailed() {
    ReportError(MixerSetUpFailed);
    return false;
}

// Takes the peak meter (when the line has one) and the volume of a wave-out line. False when the
// volume control is missing.
bool takeWaveOutLine(MixerDevice& device, const MixerLine& line, PeakLine kind) {
    const std::optional<MixerControl> peak = device.lineControl(line.lineId, MixerControlPeakMeter);
    // A meter without a positive full scale gives no level; it counts as missing.
    const int32_t range = peak ? PeakRangeOf(peak->bounds, kind) : 0;
    if (range > 0) {
        MixerState.PeakControlId = peak->controlId;
        MixerState.PeakRange = range;
    } else {
        ReportError(NoPeakMeter);
    }
    const std::optional<MixerControl> volume = device.lineControl(line.lineId, MixerControlVolume);
    if (!volume)
        return false;
    MixerState.WaveControlId = volume->controlId;
    MixerState.WaveMax = volume->bounds.maximum;
    MixerState.MixerReady = true;
    return true;
}

bool findControls(MixerDevice& device, uint32_t destinations) {
    for (uint32_t d = 0; d < destinations; ++d) {
        const std::optional<MixerLine> line = device.destinationLine(d);
        if (!line)
            return false;
        if (line->componentType == MixerComponentDstSpeakers) {
            const std::optional<MixerControl> master =
                device.lineControl(line->lineId, MixerControlVolume);
            if (!master)
                return false;
            MixerState.MasterControlId = master->controlId;
            MixerState.MasterMax = master->bounds.maximum;
        }
        if (line->targetType == MixerTargetWaveOut &&
            !takeWaveOutLine(device, *line, PeakLine::Destination))
            return false;
        for (uint32_t s = 0; s < line->connections; ++s) {
            const std::optional<MixerLine> source = device.sourceLine(d, s);
            if (!source)
                return false;
            if (source->targetType == MixerTargetWaveOut &&
                !takeWaveOutLine(device, *source, PeakLine::Source))
                return false;
        }
    }
    return true;
}

uint32_t readRaw(const std::optional<MixerId>& control) {
    if (!MixerState.MixerHandle || !control)
        return 0;
    return MixerState.MixerHandle->unsignedValue(*control).value_or(0);
}

void writeRaw(const std::optional<MixerId>& control, uint32_t value) {
    if (!MixerState.MixerHandle || !control)
        return;
    if (!MixerState.MixerHandle->unsignedValue(*control))
        return;
    MixerState.MixerHandle->setUnsignedValue(*control, value);
    CallHook(RefreshVolumeDisplay);
}

} // namespace

bool OpenMixer() {
    MixerState = {};
    if (!MixerDevices)
        return setUpFailed();
    MixerDeviceList& devices = *MixerDevices;

    std::optional<uint32_t> chosen;
    uint32_t most = 0;
    const uint32_t count = devices.deviceCount();
    for (uint32_t index = 0; index < count; ++index) {
        const std::optional<OpenedDevice> device = openDevice(devices, index);
        if (!device)
            return setUpFailed();
        if (device->caps.destinations > most) {
            most = device->caps.destinations;
            chosen = index;
        }
    }
    if (!chosen)
        return setUpFailed();

    std::optional<OpenedDevice> device = openDevice(devices, *chosen);
    if (!device)
        return setUpFailed();
    MixerState.MixerHandle = std::move(device->handle);
    if (!findControls(*MixerState.MixerHandle, device->caps.destinations))
        return setUpFailed();
    return true;
}

void CloseMixer() {
    MixerState.MixerHandle.reset();
}

std::optional<PeakLevels> ReadPeakLevels() {
    if (!MixerState.MixerHandle || !MixerState.PeakControlId)
        return std::nullopt;
    const auto values = MixerState.MixerHandle->signedValues(*MixerState.PeakControlId);
    if (!values)
        return std::nullopt;
    return PeakLevels{(*values)[0], (*values)[1]};
}

uint32_t ReadMasterRaw() {
    return readRaw(MixerState.MasterControlId);
}

uint32_t ReadWaveRaw() {
    return readRaw(MixerState.WaveControlId);
}

void WriteMasterRaw(uint32_t value) {
    writeRaw(MixerState.MasterControlId, value);
}

void WriteWaveRaw(uint32_t value) {
    writeRaw(MixerState.WaveControlId, value);
}

int GetMasterVolume() {
    return RawToPercent(ReadMasterRaw(), MixerState.MasterMax);
}

int GetWaveVolume() {
    return RawToPercent(ReadWaveRaw(), MixerState.WaveMax);
}

void SetMasterVolume(int percent) {
    WriteMasterRaw(PercentToRaw(percent, MixerState.MasterMax));
}

void SetWaveVolume(int percent) {
    WriteWaveRaw(PercentToRaw(percent, MixerState.WaveMax));
}
