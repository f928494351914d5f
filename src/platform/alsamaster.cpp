#include "platform/alsamaster.h"

#include <QSocketNotifier>
#include <algorithm>
#include <alsa/asoundlib.h>
#include <cmath>

namespace {

void silent(const char*, int, const char*, int, const char*, ...) {}

// Keeps ALSA from printing while a device that may not exist is probed (no card, no server).
class QuietAlsa {
public:
    QuietAlsa() : previous_(snd_lib_error) { snd_lib_error_set_handler(silent); }
    ~QuietAlsa() { snd_lib_error_set_handler(previous_); }

private:
    snd_lib_error_handler_t previous_;
};

struct MixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using MixerPtr = std::unique_ptr<snd_mixer_t, MixerCloser>;

} // namespace

uint32_t AlsaVolumeToScale(long volume, long minimum, long maximum) {
    if (maximum <= minimum)
        return 0;
    const long clamped = std::clamp(volume, minimum, maximum);
    const long double share =
        static_cast<long double>(clamped - minimum) / static_cast<long double>(maximum - minimum);
    return static_cast<uint32_t>(std::llround(share * MasterScaleMaximum));
}

long ScaleToAlsaVolume(uint32_t value, long minimum, long maximum) {
    if (maximum <= minimum)
        return minimum;
    const long double share =
        static_cast<long double>(std::min(value, MasterScaleMaximum)) / MasterScaleMaximum;
    return minimum +
           static_cast<long>(std::llround(share * static_cast<long double>(maximum - minimum)));
}

std::unique_ptr<AlsaMaster> AlsaMaster::open(const QString& device) {
    QuietAlsa quiet;
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0)
        return nullptr;
    MixerPtr mixer(raw);
    const QByteArray name = device.toLocal8Bit();
    if (snd_mixer_attach(mixer.get(), name.constData()) < 0 ||
        snd_mixer_selem_register(mixer.get(), nullptr, nullptr) < 0 ||
        snd_mixer_load(mixer.get()) < 0)
        return nullptr;

    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_name(id, "Master");
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_elem_t* element = snd_mixer_find_selem(mixer.get(), id);
    if (!element || !snd_mixer_selem_has_playback_volume(element))
        return nullptr;
    long minimum = 0;
    long maximum = 0;
    if (snd_mixer_selem_get_playback_volume_range(element, &minimum, &maximum) < 0 ||
        maximum <= minimum)
        return nullptr;

    std::unique_ptr<AlsaMaster> master(new AlsaMaster(mixer.release(), element));
    master->minimum_ = minimum;
    master->maximum_ = maximum;
    master->alsaVolume_ = master->readVolume();
    master->value_ = AlsaVolumeToScale(master->alsaVolume_, minimum, maximum);
    master->listen();
    return master;
}

AlsaMaster::AlsaMaster(snd_mixer_t* mixer, snd_mixer_elem_t* element)
    : mixer_(mixer), element_(element) {}

AlsaMaster::~AlsaMaster() {
    notifiers_.clear();
    snd_mixer_close(mixer_);
}

bool AlsaMaster::setValue(uint32_t value) {
    value = std::min(value, MasterScaleMaximum);
    const long volume = ScaleToAlsaVolume(value, minimum_, maximum_);
    if (snd_mixer_selem_set_playback_volume_all(element_, volume) < 0)
        return false;
    value_ = value;
    alsaVolume_ = volume;
    return true;
}

void AlsaMaster::listen() {
    const int count = snd_mixer_poll_descriptors_count(mixer_);
    if (count <= 0)
        return;
    std::vector<pollfd> fds(static_cast<size_t>(count));
    const int filled = snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(count));
    for (int i = 0; i < filled; ++i) {
        if (!(fds[i].events & POLLIN))
            continue;
        auto notifier = std::make_unique<QSocketNotifier>(fds[i].fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                         [this] { handleEvents(); });
        notifiers_.push_back(std::move(notifier));
    }
}

void AlsaMaster::handleEvents() {
    if (snd_mixer_handle_events(mixer_) < 0) {
        // The device is gone (the sound server ended): keep the last value and stop listening,
        // or a descriptor that stays readable would wake the event loop without end.
        for (const auto& notifier : notifiers_)
            notifier->setEnabled(false);
        return;
    }
    refresh();
}

void AlsaMaster::refresh() {
    const long volume = readVolume();
    if (volume == alsaVolume_)
        return;
    alsaVolume_ = volume;
    value_ = AlsaVolumeToScale(volume, minimum_, maximum_);
}

long AlsaMaster::readVolume() const {
    long loudest = minimum_;
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
        long volume = 0;
        if (snd_mixer_selem_has_playback_channel(element_, channel) &&
            snd_mixer_selem_get_playback_volume(element_, channel, &volume) >= 0)
            loudest = std::max(loudest, volume);
    }
    return loudest;
}
