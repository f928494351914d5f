#pragma once

#include "platform/mixerapi.h"

#include <QString>

// Kestrune's mixer: one device, the output stage. Its one destination, of the speakers type,
// carries the master volume: the system's own (the "Master" of an ALSA device, on desktops the
// sound server's output volume) or, where the system has none, the output stage's master gain.
// Its one source line targets wave-out and carries the wave volume (the gain of Kestrune's own
// sound) and a peak meter of that sound before both volumes. Volumes run from 0 to 65535; the
// peak meter from -32768 to 32767, its magnitude being the level.
class OutputMixerDevices : public MixerDeviceList {
public:
    // systemMaster: the ALSA device whose "Master" is the master volume; empty for none, so the
    // output stage's own master gain serves.
    explicit OutputMixerDevices(QString systemMaster);

    uint32_t deviceCount() override;
    std::unique_ptr<MixerDevice> open(uint32_t index) override;
    std::optional<MixerCaps> capabilities(uint32_t deviceId) override;

private:
    QString systemMaster_;
};

// The devices of the running program, with the system's master volume.
OutputMixerDevices& OutputMixer();
