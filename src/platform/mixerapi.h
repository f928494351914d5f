#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

// The audio mixer as the level monitor sees it: numbered devices, each opened and closed; on an
// open device, destination lines and the source lines connected to them; on a line, controls found
// by type, with an ID and bounds; control values read and written. The numbers below are the ones
// the program was designed with, so the rules for choosing a device and its controls carry over.

using MixerId = uint32_t;

// Component types of lines.
inline constexpr uint32_t MixerComponentDstUndefined = 0;
inline constexpr uint32_t MixerComponentDstSpeakers = 4;
inline constexpr uint32_t MixerComponentDstWaveIn = 7;
inline constexpr uint32_t MixerComponentSrcWaveOut = 0x1008;

// Target types: what a line is connected to.
inline constexpr uint32_t MixerTargetUndefined = 0;
inline constexpr uint32_t MixerTargetWaveOut = 1;
inline constexpr uint32_t MixerTargetWaveIn = 2;

// Control types.
inline constexpr uint32_t MixerControlVolume = 0x50030001;
inline constexpr uint32_t MixerControlPeakMeter = 0x10020001;
inline constexpr uint32_t MixerControlMute = 0x20010002;

struct MixerCaps {
    uint32_t destinations = 0;
};

struct MixerLine {
    uint32_t destination = 0;
    uint32_t source = 0;
    MixerId lineId = 0;
    uint32_t componentType = MixerComponentDstUndefined;
    uint32_t targetType = MixerTargetUndefined;
    // Source lines connected to a destination; 0 for a source line.
    uint32_t connections = 0;
};

// A control's bounds are two 32-bit words read either as unsigned values (volumes) or as signed
// ones (peak meters), depending on the control.
struct MixerBounds {
    uint32_t minimum = 0;
    uint32_t maximum = 0;

    int32_t signedMinimum() const { return static_cast<int32_t>(minimum); }
    int32_t signedMaximum() const { return static_cast<int32_t>(maximum); }
    static constexpr MixerBounds Signed(int32_t min, int32_t max) {
        return {static_cast<uint32_t>(min), static_cast<uint32_t>(max)};
    }
};

struct MixerControl {
    MixerId controlId = 0;
    uint32_t controlType = 0;
    MixerBounds bounds;
};

// An open mixer device; destroying it closes the device. Every query may fail (no value).
class MixerDevice {
public:
    virtual ~MixerDevice() = default;

    // The device ID the open device answers to (for the capabilities of the list).
    virtual std::optional<uint32_t> deviceId() = 0;
    virtual std::optional<MixerLine> destinationLine(uint32_t destination) = 0;
    virtual std::optional<MixerLine> sourceLine(uint32_t destination, uint32_t source) = 0;
    // The line's one control of that type.
    virtual std::optional<MixerControl> lineControl(MixerId lineId, uint32_t controlType) = 0;

    // A volume: one unsigned value for every channel of the line.
    virtual std::optional<uint32_t> unsignedValue(MixerId controlId) = 0;
    virtual bool setUnsignedValue(MixerId controlId, uint32_t value) = 0;
    // A peak meter: two signed values, left and right.
    virtual std::optional<std::array<int32_t, 2>> signedValues(MixerId controlId) = 0;
};

// The devices of the system, by index from 0.
class MixerDeviceList {
public:
    virtual ~MixerDeviceList() = default;

    virtual uint32_t deviceCount() = 0;
    // Opens the device with that index; null on failure.
    virtual std::unique_ptr<MixerDevice> open(uint32_t index) = 0;
    virtual std::optional<MixerCaps> capabilities(uint32_t deviceId) = 0;
};
