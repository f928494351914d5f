#pragma once

#include <cstdint>

// The arithmetic of one level tick, in unsigned 64-bit integers with truncating divisions.

// The volume correction: a level scaled by both volume fractions.
struct VolumeCorrection {
    bool on = false;
    uint64_t master = 0;
    uint64_t wave = 0;
    uint64_t masterMax = 0;
    uint64_t waveMax = 0;
};

struct ChannelLevel {
    // The level in percent of full scale.
    int64_t percent = 0;
    // Lit segments, 0 to 9.
    int segments = 0;

    bool operator==(const ChannelLevel&) const = default;
};

// A magnitude scaled by the volumes when the correction is on. A volume whose control was never
// found (its maximum is 0) does not take part in the correction.
uint64_t CorrectedLevel(uint64_t magnitude, const VolumeCorrection& correction);

// The left channel: the magnitude is held at full scale.
ChannelLevel LeftChannelLevel(int32_t reading, int32_t peakRange,
                              const VolumeCorrection& correction);
// The right channel: a magnitude of exactly full scale counts one less; a larger one is kept.
ChannelLevel RightChannelLevel(int32_t reading, int32_t peakRange,
                               const VolumeCorrection& correction);
