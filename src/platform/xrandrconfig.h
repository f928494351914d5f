#pragma once

#include "platform/xrandrrules.h"

#include <optional>
#include <vector>

struct _XDisplay;

// What one CRTC shows: its mode (0 when off), where, turned how, on which outputs, and the pixels
// it covers on the screen.
struct CrtcSetting {
    unsigned long crtc = 0;
    unsigned long mode = 0;
    int x = 0;
    int y = 0;
    unsigned short rotation = 1;
    std::vector<unsigned long> outputs;
    int width = 0;
    int height = 0;

    ScreenArea area() const { return {x, y, width, height}; }
    bool sameAs(const CrtcSetting& other) const {
        return mode == other.mode && x == other.x && y == other.y && rotation == other.rotation &&
               outputs == other.outputs;
    }
};

// The display configuration of one X screen as XRandR 1.2 describes it.
struct ScreenConfiguration {
    int width = 0;
    int height = 0;
    int widthMm = 0;
    int heightMm = 0;
    std::vector<CrtcSetting> crtcs;

    // The areas of the CRTCs that are on.
    std::vector<ScreenArea> activeAreas() const;
};

// Whether the connection's server has XRandR 1.2 or later.
bool HasRandr12(_XDisplay* display);

// The configuration of the connection's default screen now. The physical size is the one the
// connection was given when it was opened, so capture on a fresh connection. Empty on failure.
std::optional<ScreenConfiguration> CaptureConfiguration(_XDisplay* display);

// Puts the screen into that configuration, in an order the server accepts whether the screen grows
// or shrinks, with the server grabbed so no client sees a half-done state. True when every
// request was accepted.
bool ApplyConfiguration(_XDisplay* display, const ScreenConfiguration& target);

// The modes that every output of the CRTC lists, in the order the first output lists them.
std::vector<ListedMode> ModesOfCrtc(_XDisplay* display, const CrtcSetting& crtc);

// The refresh of a mode of the screen; 0 when the mode is unknown.
double RefreshOfMode(_XDisplay* display, unsigned long mode);

// Whether the default screen gives that many bits per pixel (see BitsPerPixelAvailable).
bool ScreenGivesBitsPerPixel(_XDisplay* display, int bitsPerPixel);

// The limits on the screen size; empty on failure.
std::optional<std::pair<ScreenSize, ScreenSize>> ScreenSizeRange(_XDisplay* display);
