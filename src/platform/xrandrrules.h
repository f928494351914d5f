#pragma once

#include <optional>
#include <vector>

// The decisions of the XRandR display-mode switch, free of any X connection.

// A mode as an output lists it.
struct ListedMode {
    unsigned long id = 0;
    int width = 0;
    int height = 0;
    double refresh = 0.0; // vertical refresh in Hz
    bool interlaced = false;
};

// A rectangle of the screen in pixels.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

// The vertical refresh of a mode from its timings; 0 when they are incomplete.
double ModeRefresh(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool interlaced,
                   bool doubleScan);

// The mode of exactly width x height that the output lists; among several, progressive before
// interlaced, then the refresh nearest to the current one, then the first listed. 0 when the
// output lists no mode of that size: a mode is never made up.
unsigned long ChooseMode(const std::vector<ListedMode>& listed, int width, int height,
                         double currentRefresh);

// The index of the first area that shows the point (right and bottom edges excluded).
std::optional<std::size_t> AreaShowing(const std::vector<ScreenArea>& areas, int x, int y);

// The pixels a mode covers on the screen: a quarter turn swaps its width and height.
ScreenSize ModeFootprint(int modeWidth, int modeHeight, bool quarterTurn);

// The smallest screen, from the origin, that holds every area, kept within the limits the
// server allows; empty when the areas need more than the maximum.
std::optional<ScreenSize> ScreenSizeFor(const std::vector<ScreenArea>& areas, ScreenSize minimum,
                                        ScreenSize maximum);

// Whether the area lies entirely within a screen of that size.
bool Fits(const ScreenArea& area, ScreenSize screen);

// A physical length for a new pixel count at the density of the old one; without a known density
// 96 pixels per inch are assumed.
int ScaledMillimetres(int pixels, int oldPixels, int oldMillimetres);

// A pixel format the server offers: pixmaps of that depth store that many bits per pixel.
struct PixelFormat {
    int depth = 0;
    int bitsPerPixel = 0;
};

// Whether the screen gives that many bits per pixel: the pixel format of the root window's depth
// stores exactly that many. Depth 24 kept in 32-bit pixels, the usual case, counts as 32 only;
// packed 24-bit pixels count as 24.
bool BitsPerPixelAvailable(int bitsPerPixel, int rootDepth,
                           const std::vector<PixelFormat>& formats);
