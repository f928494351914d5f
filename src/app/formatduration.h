#pragma once

#include <QString>
#include <cstdint>

// A duration in milliseconds as "h:mm:ss.mmm"; the hours are not padded (0:01:23.456).
QString FormatDuration(int64_t ms);
