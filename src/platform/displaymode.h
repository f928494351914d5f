#pragma once

#include <functional>
#include <memory>

class QWidget;

// The display-mode switch. An object exists while the mode may be switched; destroying it
// (Release) gives back the display configuration that was in force before it switched.
class DisplayModeDevice {
public:
    virtual ~DisplayModeDevice() = default;
    // The exclusive full-screen level for the stage; true on success.
    virtual bool setExclusiveLevel(QWidget* stage) = 0;
    // Back to the normal level; failures are of no interest.
    virtual void setNormalLevel(QWidget* stage) = 0;
    // Switches to an existing mode of exactly that size and colour depth; true on success.
    virtual bool setDisplayMode(int width, int height, int bitsPerPixel) = 0;
    // Makes the normal window surface the visible one; failures are of no interest.
    virtual void flipToNormalSurface() = 0;
};

// Creates the device for the running display; null where there is no display to switch.
using DisplayModeFactory = std::function<std::unique_ptr<DisplayModeDevice>()>;

// The factory in use; the production one is set by default, tests put a double in its place.
DisplayModeFactory& CreateDisplayMode();
