#include "platform/xrandrdisplaymode.h"

#include "platform/xrandrguard.h"

#include <QGuiApplication>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

void XRandrDisplayMode::DisplayCloser::operator()(Display* display) const {
    XCloseDisplay(display);
}

std::unique_ptr<DisplayModeDevice> XRandrDisplayMode::create() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return nullptr;
    // A connection of its own: the switch and its error handling stay apart from Qt's requests.
    const QByteArray name =
        x11->display() ? QByteArray(XDisplayString(x11->display())) : qgetenv("DISPLAY");
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(name.constData()));
    if (!display || !HasRandr12(display.get()))
        return nullptr;
    return std::unique_ptr<DisplayModeDevice>(
        new XRandrDisplayMode(std::move(display), QString::fromLocal8Bit(name)));
}

XRandrDisplayMode::XRandrDisplayMode(std::unique_ptr<Display, DisplayCloser> display,
                                     QString displayName)
    : display_(std::move(display)), displayName_(std::move(displayName)) {}

XRandrDisplayMode::~XRandrDisplayMode() {
    if (switched_)
        ApplyConfiguration(display_.get(), *previous_);
    // Only now may the watchdog go: until the configuration is back it must stand ready.
    guard_.reset();
}

bool XRandrDisplayMode::setExclusiveLevel(QWidget* stage) {
    if (previous_)
        return true;
    stageCorner_ = stage->geometry().topLeft();
    std::optional<ScreenConfiguration> now = CaptureConfiguration(display_.get());
    if (!now)
        return false;
    auto guard = std::make_unique<DisplayGuard>();
    if (!guard->start(displayName_))
        return false;
    previous_ = std::move(now);
    guard_ = std::move(guard);
    return true;
}

void XRandrDisplayMode::setNormalLevel(QWidget*) {}

bool XRandrDisplayMode::setDisplayMode(int width, int height, int bitsPerPixel) {
    // Without the exclusive level there is no recorded configuration and no watchdog.
    if (!previous_ || !ScreenGivesBitsPerPixel(display_.get(), bitsPerPixel))
        return false;
    const std::optional<ScreenConfiguration> now = CaptureConfiguration(display_.get());
    if (!now)
        return false;
    const std::optional<ScreenConfiguration> target = switchedTo(*now, width, height);
    if (!target)
        return false;
    if (!ApplyConfiguration(display_.get(), *target)) {
        // Whatever part of it was done is undone.
        ApplyConfiguration(display_.get(), *previous_);
        return false;
    }
    switched_ = true;
    return true;
}

std::optional<ScreenConfiguration> XRandrDisplayMode::switchedTo(const ScreenConfiguration& now,
                                                                 int width, int height) const {
    Display* display = display_.get();
    std::vector<CrtcSetting*> active;
    std::vector<ScreenArea> areas;
    ScreenConfiguration target = now;
    for (CrtcSetting& crtc : target.crtcs) {
        if (crtc.mode != None) {
            active.push_back(&crtc);
            areas.push_back(crtc.area());
        }
    }
    const std::optional<std::size_t> shown = AreaShowing(areas, stageCorner_.x(), stageCorner_.y());
    if (!shown)
        return std::nullopt;
    CrtcSetting& crtc = *active[*shown];
    const RRMode mode =
        ChooseMode(ModesOfCrtc(display, crtc), width, height, RefreshOfMode(display, crtc.mode));
    if (mode == None)
        return std::nullopt;
    const bool quarterTurn = crtc.rotation & (RR_Rotate_90 | RR_Rotate_270);
    const ScreenSize footprint = ModeFootprint(width, height, quarterTurn);
    crtc.mode = mode;
    crtc.width = footprint.width;
    crtc.height = footprint.height;

    const auto range = ScreenSizeRange(display);
    if (!range)
        return std::nullopt;
    const std::optional<ScreenSize> size =
        ScreenSizeFor(target.activeAreas(), range->first, range->second);
    if (!size)
        return std::nullopt;
    target.width = size->width;
    target.height = size->height;
    target.widthMm = ScaledMillimetres(size->width, previous_->width, previous_->widthMm);
    target.heightMm = ScaledMillimetres(size->height, previous_->height, previous_->heightMm);
    return target;
}

void XRandrDisplayMode::flipToNormalSurface() {
    XSync(display_.get(), False);
}
