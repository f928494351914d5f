#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QSocketNotifier;
typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

// Volumes on the mixer's scale run from 0 to this.
inline constexpr uint32_t MasterScaleMaximum = 65535;

// An ALSA volume within [minimum, maximum] on the mixer's scale, rounded; and back. The ALSA range
// need not start at 0.
uint32_t AlsaVolumeToScale(long volume, long minimum, long maximum);
long ScaleToAlsaVolume(uint32_t value, long minimum, long maximum);

// The system's master volume: the "Master" playback volume of an ALSA device, which on sound
// server desktops is the server's output volume. Reads come from a cached value that the device's
// change events keep fresh, so they never wait for a sound server and can run a thousand times a
// second. Lives on the UI thread, whose event loop delivers the change events.
class AlsaMaster {
public:
    // The master of that ALSA device ("default": the system's), or null where there is none.
    static std::unique_ptr<AlsaMaster> open(const QString& device);
    ~AlsaMaster();
    AlsaMaster(const AlsaMaster&) = delete;
    AlsaMaster& operator=(const AlsaMaster&) = delete;

    // On the mixer's scale; every channel at the loudest channel's level.
    uint32_t value() const { return value_; }
    // Sets every channel; false when the device refuses.
    bool setValue(uint32_t value);

private:
    AlsaMaster(snd_mixer_t* mixer, snd_mixer_elem_t* element);
    void listen();
    void handleEvents();
    void refresh();
    long readVolume() const;

    snd_mixer_t* mixer_;
    snd_mixer_elem_t* element_;
    long minimum_ = 0;
    long maximum_ = 0;
    // The last value set or seen, and the ALSA volume it stands for: a value written is read back
    // exactly while the device still holds the volume it was written as.
    uint32_t value_ = 0;
    long alsaVolume_ = 0;
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
};
