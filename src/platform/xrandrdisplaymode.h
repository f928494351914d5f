#pragma once

#include "platform/displaymode.h"
#include "platform/xrandrconfig.h"

#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

class DisplayGuard;
struct _XDisplay;

// The display-mode switch on X11 through XRandR 1.2: it switches the CRTC that shows the stage's
// top-left corner to a mode of exactly the stage's size that its outputs list, fits the screen
// to the new layout, and on release puts back the configuration recorded when it took the
// screen. A watchdog process puts it back as well if this program ends without releasing.
class XRandrDisplayMode : public DisplayModeDevice {
public:
    // Null without an X11 display that has XRandR 1.2 or later (another Qt platform such as
    // Wayland or offscreen, no display, an X server without the extension).
    static std::unique_ptr<DisplayModeDevice> create();
    ~XRandrDisplayMode() override;

    // Records the configuration and starts the watchdog; fails when either cannot be done.
    bool setExclusiveLevel(QWidget* stage) override;
    // Changes nothing: the recorded configuration and the watchdog stay until release.
    void setNormalLevel(QWidget* stage) override;
    bool setDisplayMode(int width, int height, int bitsPerPixel) override;
    void flipToNormalSurface() override;

private:
    struct DisplayCloser {
        void operator()(_XDisplay* display) const;
    };

    XRandrDisplayMode(std::unique_ptr<_XDisplay, DisplayCloser> display, QString displayName);
    std::optional<ScreenConfiguration> switchedTo(const ScreenConfiguration& now, int width,
                                                  int height) const;

    std::unique_ptr<_XDisplay, DisplayCloser> display_;
    QString displayName_;
    QPoint stageCorner_;
    std::optional<ScreenConfiguration> previous_;
    std::unique_ptr<DisplayGuard> guard_;
    bool switched_ = false;
};
