#pragma once

#include <cstdint>

typedef struct _GstElement GstElement;

// Kestrune's own sound after decoding: level (raw peaks) -> wave volume -> master volume -> sink.
// One process-wide stage serves every media player. Gains and peaks may be touched from any thread.
class OutputStage {
public:
    static OutputStage& instance();

    // Gains as linear factors, 0.0 to 1.0 (others are clamped). The wave gain is Kestrune's own
    // volume; the master gain stays at 1.0 where the system's master volume is used instead. Both
    // are platform state, kept in $XDG_STATE_HOME/Quillmoor/KestruneOutput.conf across runs.
    void setWaveGain(double gain);
    double waveGain() const;
    void setMasterGain(double gain);
    double masterGain() const;

    // The largest sample magnitude per channel (0 to 32768, in 16-bit units) heard since the
    // previous call, measured before both gains; 0 while nothing plays. A peak counts once its
    // sound is heard (its running time reached on the pipeline's clock), not when it is decoded.
    // Mono sound counts the same on both channels.
    struct Peaks {
        int32_t left = 0;
        int32_t right = 0;
    };
    Peaks takePeaks();

    // A new audio sink bin for a media player (playbin's "audio-sink"): the elements above and the
    // system's sink, or a clock-synchronised null sink where there is no audio device. The
    // reference is floating, as for a newly made element; nullptr when a plugin is missing.
    GstElement* createAudioSink();

private:
    friend struct OutputStageInternals;
    OutputStage();
    struct State;
    State* state_;
};
