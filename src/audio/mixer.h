#pragma once

#include "platform/mixerapi.h"

#include <cstdint>
#include <memory>
#include <optional>

// The one mixer device the level monitor works on and the three controls found on it: the master
// volume of the speakers destination, the wave-out line's volume and its peak meter. Filled once
// by OpenMixer; a control never found has no ID, reads as 0 and ignores writes.
struct TMixerState {
    std::unique_ptr<MixerDevice> MixerHandle;
    // A wave-out volume control was found: the level display and the volume bars may act.
    bool MixerReady = false;
    std::optional<MixerId> PeakControlId;
    // Full-scale magnitude of the peak meter (a reading of this magnitude is 100 %).
    int32_t PeakRange = 0;
    std::optional<MixerId> MasterControlId;
    uint64_t MasterMax = 0;
    std::optional<MixerId> WaveControlId;
    uint64_t WaveMax = 0;
};

extern TMixerState MixerState;

// The devices OpenMixer chooses from: the output stage's unless replaced.
extern MixerDeviceList* MixerDevices;

// Chooses the device with the most destinations (the lowest index among equals), keeps it open
// and finds its controls. Reports ErrorCode 0 for each wave-out line without a peak meter and goes
// on; reports ErrorCode 3 and ends at any other failure, keeping what it found so far. Returns
// false after ErrorCode 3: the level meter window must then be hidden.
bool OpenMixer();
// Closes the device if one is held.
void CloseMixer();

struct PeakLevels {
    int32_t left = 0;
    int32_t right = 0;
};
// The peak meter's two channels; no reading on failure or without a peak meter.
std::optional<PeakLevels> ReadPeakLevels();

// Raw volumes; 0 on any failure.
uint32_t ReadMasterRaw();
uint32_t ReadWaveRaw();
// Write a raw volume and refresh the volume display; dropped when the control cannot be read.
void WriteMasterRaw(uint32_t value);
void WriteWaveRaw(uint32_t value);

// Volumes as whole percents, 0 to 100 when read; writes take 0 upward (above 100 is full).
int GetMasterVolume();
int GetWaveVolume();
void SetMasterVolume(int percent);
void SetWaveVolume(int percent);
