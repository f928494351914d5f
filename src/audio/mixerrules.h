#pragma once

#include "platform/mixerapi.h"

#include <cstdint>

// The arithmetic of mixer access, as pure functions.

enum class PeakLine { Destination, Source };

// Full scale of a peak meter: a reading of this magnitude is 100 %. On a source line, bounds one
// wider below than above (-32768 to 32767) take the upper bound; otherwise the larger magnitude
// of the two bounds. At most the largest 32-bit value.
int32_t PeakRangeOf(MixerBounds bounds, PeakLine line);

// A raw volume as a whole percent of the control's maximum, 0 to 100; 0 for a maximum of 0.
int RawToPercent(uint32_t raw, uint64_t maximum);
// The raw value written for a percent. One more than the truncated share, so that the percent
// reads back unchanged; at most the maximum. Negative percents count as 0.
uint32_t PercentToRaw(int percent, uint64_t maximum);
