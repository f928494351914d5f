#include "audio/mixerrules.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

int32_t PeakRangeOf(MixerBounds bounds, PeakLine line) {
    const int64_t below = std::abs(int64_t{bounds.signedMinimum()});
    const int64_t above = bounds.signedMaximum();
    if (line == PeakLine::Source && below == above + 1)
        return static_cast<int32_t>(above);
    return static_cast<int32_t>(
        std::min<int64_t>(std::max(below, above), std::numeric_limits<int32_t>::max()));
}

int RawToPercent(uint32_t raw, uint64_t maximum) {
    if (maximum == 0)
        return 0;
    return static_cast<int>(std::min<uint64_t>(uint64_t{raw} * 100 / maximum, 100));
}

uint32_t PercentToRaw(int percent, uint64_t maximum) {
    const uint64_t p = percent < 0 ? 0 : static_cast<uint64_t>(percent);
    return static_cast<uint32_t>(std::min(maximum * p / 100 + 1, maximum));
}
