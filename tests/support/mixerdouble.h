#pragma once

#include "platform/mixerapi.h"

#include <QMetaType>
#include <utility>
#include <vector>

// A mixer of any topology, described as data: devices, their destinations with source lines,
// controls with bounds and values, and calls that fail. Values live in the description, so they
// survive closing and opening a device, as a system mixer's do.

struct DoubleControl {
    MixerId id = 0;
    uint32_t type = MixerControlVolume;
    MixerBounds bounds{0, 65535};
    uint32_t value = 0;
    std::array<int32_t, 2> peaks{0, 0};
    // Reads of the value fail; writes still succeed.
    bool readFails = false;
};

struct DoubleLine {
    uint32_t componentType = MixerComponentDstUndefined;
    uint32_t targetType = MixerTargetUndefined;
    std::vector<DoubleControl> controls;
    // Source lines of a destination.
    std::vector<DoubleLine> sources;
    // Reading this line's description fails.
    bool infoFails = false;
};

struct DoubleDevice {
    enum Call { None, Open, DeviceId, Capabilities };

    std::vector<DoubleLine> destinations;
    // The call that fails, from the given open of this device on (0: every open).
    Call failing = None;
    int failingFromOpen = 0;
};

using DoubleDevices = std::vector<DoubleDevice>;
Q_DECLARE_METATYPE(DoubleDevice)
Q_DECLARE_METATYPE(DoubleDevices)

class MixerDouble : public MixerDeviceList {
public:
    explicit MixerDouble(DoubleDevices devices = {});

    uint32_t deviceCount() override;
    std::unique_ptr<MixerDevice> open(uint32_t index) override;
    std::optional<MixerCaps> capabilities(uint32_t deviceId) override;

    // The control with that ID on any line of the device, or null.
    DoubleControl* control(uint32_t device, MixerId id);

    DoubleDevices devices;
    // Every value written, in order: control ID and value.
    std::vector<std::pair<MixerId, uint32_t>> writes;
    // Devices open now.
    int openHandles = 0;

private:
    class Handle;
    std::vector<int> opens_;
};

// Line IDs the double gives its lines.
MixerId DestinationLineId(uint32_t destination);
MixerId SourceLineId(uint32_t destination, uint32_t source);

// Building blocks for topologies.
DoubleControl Volume(MixerId id, uint32_t maximum = 65535, uint32_t value = 0);
DoubleControl PeakMeter(MixerId id, int32_t minimum = -32768, int32_t maximum = 32767);
DoubleLine Line(uint32_t componentType, uint32_t targetType, std::vector<DoubleControl> controls,
                std::vector<DoubleLine> sources = {});
// A speakers destination with its master volume and one wave-out source with volume and meter;
// both volumes have the maximum given.
DoubleDevice PlainDevice(MixerId master, MixerId wave, MixerId peak, uint32_t maximum = 65535);

// Puts a device list in place of the mixer's devices for the guard's lifetime; at its end the
// mixer is closed and emptied, so no open device outlives its list.
class UseMixerDevices {
public:
    explicit UseMixerDevices(MixerDeviceList* devices);
    ~UseMixerDevices();
    UseMixerDevices(const UseMixerDevices&) = delete;
    UseMixerDevices& operator=(const UseMixerDevices&) = delete;

private:
    MixerDeviceList* previous_;
};
