#include "playlist/totaltime.h"

#include <algorithm>
#include <limits>

int32_t TotalTime = 0;

std::optional<int32_t> SteppedTotal(int32_t total, int64_t delta) {
    constexpr int32_t Lowest = std::numeric_limits<int32_t>::min();
    constexpr int32_t Highest = std::numeric_limits<int32_t>::max();
    if (total == Lowest || total == Highest)
        return std::nullopt;
    const int64_t result = int64_t{total} + delta;
    if (result < Lowest || result > Highest)
        return std::nullopt;
    return static_cast<int32_t>(result);
}

int32_t ClampedTotal(int64_t sum) {
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}
