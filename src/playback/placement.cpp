#include "playback/placement.h"

#include <algorithm>

MoviePlacement AutoPlacement(int32_t naturalWidth, int32_t naturalHeight, int32_t stageWidth,
                             int32_t stageHeight) {
    MoviePlacement placement;
    int64_t factor = 1;
    if (naturalWidth != 0 && naturalHeight != 0) {
        const int64_t vertical = int64_t{stageHeight} / naturalHeight;
        const int64_t horizontal = int64_t{stageWidth} / naturalWidth;
        factor = std::min(vertical, horizontal);
        if (factor <= 0) {
            placement.tooLarge = true;
            factor = 1;
        }
    }
    const int64_t sizeX = naturalWidth * factor;
    const int64_t sizeY = naturalHeight * factor;
    placement.sizeX = static_cast<int32_t>(sizeX);
    placement.sizeY = static_cast<int32_t>(sizeY);
    placement.showX = static_cast<int32_t>((stageWidth - sizeX) / 2);
    placement.showY = static_cast<int32_t>((stageHeight - sizeY) / 2);
    return placement;
}
