#include "audio/levelmath.h"

#include <algorithm>

namespace {

uint64_t magnitude(int32_t reading) {
    return reading < 0 ? uint64_t{0} - static_cast<uint64_t>(int64_t{reading})
                       : static_cast<uint64_t>(reading);
}

ChannelLevel levelOf(uint64_t corrected, int32_t peakRange) {
    const auto range = static_cast<uint64_t>(peakRange);
    ChannelLevel level;
    level.percent = static_cast<int64_t>(corrected * 100 / range);
    const uint64_t lit = corrected * 9 / range + (corrected != 0 ? 1 : 0);
    level.segments = static_cast<int>(std::min<uint64_t>(lit, 9));
    return level;
}

} // namespace

uint64_t CorrectedLevel(uint64_t level, const VolumeCorrection& correction) {
    if (!correction.on)
        return level;
    if (correction.masterMax != 0)
        level = level * correction.master / correction.masterMax;
    if (correction.waveMax != 0)
        level = level * correction.wave / correction.waveMax;
    return level;
}

ChannelLevel LeftChannelLevel(int32_t reading, int32_t peakRange,
                              const VolumeCorrection& correction) {
    if (peakRange <= 0)
        return {};
    const uint64_t level = std::min(magnitude(reading), static_cast<uint64_t>(peakRange));
    return levelOf(CorrectedLevel(level, correction), peakRange);
}

ChannelLevel RightChannelLevel(int32_t reading, int32_t peakRange,
                               const VolumeCorrection& correction) {
    if (peakRange <= 0)
        return {};
    uint64_t level = magnitude(reading);
    if (level == static_cast<uint64_t>(peakRange))
        level -= 1;
    return levelOf(CorrectedLevel(level, correction), peakRange);
}
