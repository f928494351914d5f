#pragma once

#include <cstdint>

struct MoviePlacement {
    int32_t showX = 0;
    int32_t showY = 0;
    int32_t sizeX = 0;
    int32_t sizeY = 0;
    // The movie does not fit the stage at factor 1 (report code 4).
    bool tooLarge = false;

    bool operator==(const MoviePlacement&) const = default;
};

// The automatic placement: the movie magnified by the largest whole-number factor that fits the
// stage in both directions, centred (truncating toward zero, so a movie larger than the stage
// gets a negative position). A natural size with a 0 side takes factor 1.
MoviePlacement AutoPlacement(int32_t naturalWidth, int32_t naturalHeight, int32_t stageWidth,
                             int32_t stageHeight);
