#pragma once

#include <cstdint>
#include <optional>

// The playing time of the whole playlist in milliseconds, 0 at start. It is kept step by step as
// rows are added, edited, deleted and loaded, not recomputed from the rows.
extern int32_t TotalTime;

// The total after adding delta (negative to take away). Nothing when the result leaves the 32-bit
// range or the total already stands at one of its ends: a pinned total no longer says how far it
// overflowed, so the caller takes the rows' exact sum through ClampedTotal instead.
std::optional<int32_t> SteppedTotal(int32_t total, int64_t delta);
// An exact sum of lengths held within the 32-bit range: one that does not fit stands at the end.
int32_t ClampedTotal(int64_t sum);
