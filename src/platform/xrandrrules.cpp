#include "platform/xrandrrules.h"

#include <algorithm>
#include <cmath>
#include <limits>

double ModeRefresh(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool interlaced,
                   bool doubleScan) {
    if (dotClock == 0 || hTotal == 0 || vTotal == 0)
        return 0.0;
    double lines = vTotal;
    // An interlaced frame is drawn as two fields; a double-scanned line is drawn twice.
    if (interlaced)
        lines /= 2.0;
    if (doubleScan)
        lines *= 2.0;
    return static_cast<double>(dotClock) / (static_cast<double>(hTotal) * lines);
}

unsigned long ChooseMode(const std::vector<ListedMode>& listed, int width, int height,
                         double currentRefresh) {
    const ListedMode* best = nullptr;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const ListedMode& mode : listed) {
        if (mode.width != width || mode.height != height)
            continue;
        const double distance = std::abs(mode.refresh - currentRefresh);
        const bool better = !best || (best->interlaced && !mode.interlaced) ||
                            (best->interlaced == mode.interlaced && distance < bestDistance);
        if (better) {
            best = &mode;
            bestDistance = distance;
        }
    }
    return best ? best->id : 0;
}

std::optional<std::size_t> AreaShowing(const std::vector<ScreenArea>& areas, int x, int y) {
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const ScreenArea& a = areas[i];
        if (x >= a.x && y >= a.y && x < a.x + a.width && y < a.y + a.height)
            return i;
    }
    return std::nullopt;
}

ScreenSize ModeFootprint(int modeWidth, int modeHeight, bool quarterTurn) {
    return quarterTurn ? ScreenSize{modeHeight, modeWidth} : ScreenSize{modeWidth, modeHeight};
}

std::optional<ScreenSize> ScreenSizeFor(const std::vector<ScreenArea>& areas, ScreenSize minimum,
                                        ScreenSize maximum) {
    ScreenSize size = minimum;
    for (const ScreenArea& a : areas) {
        size.width = std::max(size.width, a.x + a.width);
        size.height = std::max(size.height, a.y + a.height);
    }
    if (size.width > maximum.width || size.height > maximum.height)
        return std::nullopt;
    return size;
}

bool Fits(const ScreenArea& area, ScreenSize screen) {
    return area.x >= 0 && area.y >= 0 && area.x + area.width <= screen.width &&
           area.y + area.height <= screen.height;
}

int ScaledMillimetres(int pixels, int oldPixels, int oldMillimetres) {
    if (oldPixels > 0 && oldMillimetres > 0)
        return static_cast<int>(
            std::lround(static_cast<double>(pixels) * oldMillimetres / oldPixels));
    return static_cast<int>(std::lround(pixels * 25.4 / 96.0));
}

bool BitsPerPixelAvailable(int bitsPerPixel, int rootDepth,
                           const std::vector<PixelFormat>& formats) {
    return std::any_of(formats.begin(), formats.end(), [&](const PixelFormat& f) {
        return f.depth == rootDepth && f.bitsPerPixel == bitsPerPixel;
    });
}
