#include "mixerdouble.h"

#include "audio/mixer.h"

class MixerDouble::Handle : public MixerDevice {
public:
    Handle(MixerDouble& owner, uint32_t index) : owner_(owner), index_(index) {
        ++owner_.openHandles;
    }
    ~Handle() override { --owner_.openHandles; }

    std::optional<uint32_t> deviceId() override {
        if (fails(DoubleDevice::DeviceId))
            return std::nullopt;
        return index_;
    }

    std::optional<MixerLine> destinationLine(uint32_t destination) override {
        const std::vector<DoubleLine>& lines = device().destinations;
        if (destination >= lines.size() || lines[destination].infoFails)
            return std::nullopt;
        const DoubleLine& line = lines[destination];
        return MixerLine{destination,
                         0,
                         DestinationLineId(destination),
                         line.componentType,
                         line.targetType,
                         static_cast<uint32_t>(line.sources.size())};
    }

    std::optional<MixerLine> sourceLine(uint32_t destination, uint32_t source) override {
        const std::vector<DoubleLine>& lines = device().destinations;
        if (destination >= lines.size() || source >= lines[destination].sources.size())
            return std::nullopt;
        const DoubleLine& line = lines[destination].sources[source];
        if (line.infoFails)
            return std::nullopt;
        return MixerLine{destination,        source,          SourceLineId(destination, source),
                         line.componentType, line.targetType, 0};
    }

    std::optional<MixerControl> lineControl(MixerId lineId, uint32_t controlType) override {
        const DoubleLine* line = lineById(lineId);
        if (!line)
            return std::nullopt;
        for (const DoubleControl& control : line->controls) {
            if (control.type == controlType)
                return MixerControl{control.id, control.type, control.bounds};
        }
        return std::nullopt;
    }

    std::optional<uint32_t> unsignedValue(MixerId controlId) override {
        const DoubleControl* control = readable(controlId);
        if (!control)
            return std::nullopt;
        return control->value;
    }

    bool setUnsignedValue(MixerId controlId, uint32_t value) override {
        DoubleControl* control = owner_.control(index_, controlId);
        if (!control)
            return false;
        control->value = value;
        owner_.writes.emplace_back(controlId, value);
        return true;
    }

    std::optional<std::array<int32_t, 2>> signedValues(MixerId controlId) override {
        const DoubleControl* control = readable(controlId);
        if (!control)
            return std::nullopt;
        return control->peaks;
    }

private:
    DoubleDevice& device() { return owner_.devices[index_]; }

    bool fails(DoubleDevice::Call call) {
        const DoubleDevice& d = device();
        return d.failing == call && owner_.opens_[index_] > d.failingFromOpen;
    }

    const DoubleLine* lineById(MixerId lineId) {
        const std::vector<DoubleLine>& lines = device().destinations;
        for (uint32_t d = 0; d < lines.size(); ++d) {
            if (DestinationLineId(d) == lineId)
                return &lines[d];
            for (uint32_t s = 0; s < lines[d].sources.size(); ++s) {
                if (SourceLineId(d, s) == lineId)
                    return &lines[d].sources[s];
            }
        }
        return nullptr;
    }

    DoubleControl* readable(MixerId controlId) {
        DoubleControl* control = owner_.control(index_, controlId);
        return control && !control->readFails ? control : nullptr;
    }

    MixerDouble& owner_;
    uint32_t index_;
};

MixerDouble::MixerDouble(DoubleDevices list)
    : devices(std::move(list)), opens_(devices.size(), 0) {}

uint32_t MixerDouble::deviceCount() {
    return static_cast<uint32_t>(devices.size());
}

std::unique_ptr<MixerDevice> MixerDouble::open(uint32_t index) {
    if (index >= devices.size())
        return nullptr;
    opens_.resize(devices.size(), 0);
    ++opens_[index];
    const DoubleDevice& device = devices[index];
    if (device.failing == DoubleDevice::Open && opens_[index] > device.failingFromOpen)
        return nullptr;
    return std::make_unique<Handle>(*this, index);
}

std::optional<MixerCaps> MixerDouble::capabilities(uint32_t deviceId) {
    if (deviceId >= devices.size())
        return std::nullopt;
    const DoubleDevice& device = devices[deviceId];
    if (device.failing == DoubleDevice::Capabilities && opens_[deviceId] > device.failingFromOpen)
        return std::nullopt;
    return MixerCaps{static_cast<uint32_t>(device.destinations.size())};
}

DoubleControl* MixerDouble::control(uint32_t device, MixerId id) {
    if (device >= devices.size())
        return nullptr;
    for (DoubleLine& destination : devices[device].destinations) {
        for (DoubleControl& control : destination.controls) {
            if (control.id == id)
                return &control;
        }
        for (DoubleLine& source : destination.sources) {
            for (DoubleControl& control : source.controls) {
                if (control.id == id)
                    return &control;
            }
        }
    }
    return nullptr;
}

MixerId DestinationLineId(uint32_t destination) {
    return 0xFFFF0000u | destination;
}

MixerId SourceLineId(uint32_t destination, uint32_t source) {
    return (source << 16) | destination;
}

DoubleControl Volume(MixerId id, uint32_t maximum, uint32_t value) {
    return DoubleControl{id, MixerControlVolume, MixerBounds{0, maximum}, value, {0, 0}, false};
}

DoubleControl PeakMeter(MixerId id, int32_t minimum, int32_t maximum) {
    return DoubleControl{
        id, MixerControlPeakMeter, MixerBounds::Signed(minimum, maximum), 0, {0, 0}, false};
}

DoubleLine Line(uint32_t componentType, uint32_t targetType, std::vector<DoubleControl> controls,
                std::vector<DoubleLine> sources) {
    return DoubleLine{componentType, targetType, std::move(controls), std::move(sources), false};
}

DoubleDevice PlainDevice(MixerId master, MixerId wave, MixerId peak, uint32_t maximum) {
    DoubleDevice device;
    device.destinations.push_back(Line(MixerComponentDstSpeakers, MixerTargetUndefined,
                                       {Volume(master, maximum)},
                                       {Line(MixerComponentSrcWaveOut, MixerTargetWaveOut,
                                             {Volume(wave, maximum), PeakMeter(peak)})}));
    return device;
}

UseMixerDevices::UseMixerDevices(MixerDeviceList* devices) : previous_(MixerDevices) {
    MixerDevices = devices;
}

UseMixerDevices::~UseMixerDevices() {
    MixerState = {};
    MixerDevices = previous_;
}
