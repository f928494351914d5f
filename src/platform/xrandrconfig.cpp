#include "platform/xrandrconfig.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <memory>
#include <type_traits>

static_assert(std::is_same_v<RROutput, unsigned long> && std::is_same_v<RRCrtc, unsigned long> &&
              std::is_same_v<RRMode, unsigned long>);

namespace {

template <auto Free> struct FreeWith {
    template <typename T> void operator()(T* p) const { Free(p); }
};

using Resources = std::unique_ptr<XRRScreenResources, FreeWith<XRRFreeScreenResources>>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, FreeWith<XRRFreeCrtcInfo>>;
using OutputInfo = std::unique_ptr<XRROutputInfo, FreeWith<XRRFreeOutputInfo>>;

Window rootOf(Display* display) {
    return RootWindow(display, DefaultScreen(display));
}

Resources resources(Display* display) {
    return Resources(XRRGetScreenResourcesCurrent(display, rootOf(display)));
}

// X errors of the requests made while it lives are counted instead of ending the process.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display) {
        XSync(display_, False);
        errors = 0;
        previous_ = XSetErrorHandler(&ErrorTrap::count);
    }
    ~ErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool failed() const {
        XSync(display_, False);
        return errors > 0;
    }

private:
    static int count(Display*, XErrorEvent*) {
        ++errors;
        return 0;
    }
    static inline int errors = 0;
    Display* display_;
    XErrorHandler previous_;
};

std::optional<ScreenSize> rootSize(Display* display) {
    Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (!XGetGeometry(display, rootOf(display), &root, &x, &y, &width, &height, &border, &depth))
        return std::nullopt;
    return ScreenSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<std::vector<CrtcSetting>> crtcSettings(Display* display, XRRScreenResources* res) {
    std::vector<CrtcSetting> settings;
    for (int i = 0; i < res->ncrtc; ++i) {
        CrtcInfo info(XRRGetCrtcInfo(display, res, res->crtcs[i]));
        if (!info)
            return std::nullopt;
        CrtcSetting s;
        s.crtc = res->crtcs[i];
        s.mode = info->mode;
        s.x = info->x;
        s.y = info->y;
        s.rotation = info->rotation;
        s.outputs.assign(info->outputs, info->outputs + info->noutput);
        s.width = static_cast<int>(info->width);
        s.height = static_cast<int>(info->height);
        settings.push_back(std::move(s));
    }
    return settings;
}

const XRRModeInfo* findMode(XRRScreenResources* res, RRMode id) {
    for (int i = 0; i < res->nmode; ++i) {
        if (res->modes[i].id == id)
            return &res->modes[i];
    }
    return nullptr;
}

CrtcSetting switchedOff(RRCrtc crtc) {
    CrtcSetting off;
    off.crtc = crtc;
    return off;
}

bool setCrtc(Display* display, XRRScreenResources* res, const CrtcSetting& s) {
    auto* outputs = const_cast<RROutput*>(s.outputs.data());
    const int count = s.mode == None ? 0 : static_cast<int>(s.outputs.size());
    return XRRSetCrtcConfig(display, res, s.crtc, CurrentTime, s.x, s.y, s.mode,
                            s.mode == None ? RR_Rotate_0 : s.rotation,
                            s.mode == None ? nullptr : outputs, count) == RRSetConfigSuccess;
}

} // namespace

std::vector<ScreenArea> ScreenConfiguration::activeAreas() const {
    std::vector<ScreenArea> areas;
    for (const CrtcSetting& s : crtcs) {
        if (s.mode != 0)
            areas.push_back(s.area());
    }
    return areas;
}

bool HasRandr12(Display* display) {
    int eventBase, errorBase, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor))
        return false;
    return major > 1 || (major == 1 && minor >= 2);
}

std::optional<ScreenConfiguration> CaptureConfiguration(Display* display) {
    const std::optional<ScreenSize> size = rootSize(display);
    Resources res = resources(display);
    if (!size || !res)
        return std::nullopt;
    std::optional<std::vector<CrtcSetting>> crtcs = crtcSettings(display, res.get());
    if (!crtcs)
        return std::nullopt;
    const int screen = DefaultScreen(display);
    return ScreenConfiguration{size->width, size->height, DisplayWidthMM(display, screen),
                               DisplayHeightMM(display, screen), std::move(*crtcs)};
}

bool ApplyConfiguration(Display* display, const ScreenConfiguration& target) {
    ErrorTrap trap(display);
    XGrabServer(display);
    bool ok = false;
    const std::optional<ScreenSize> now = rootSize(display);
    Resources res = resources(display);
    std::optional<std::vector<CrtcSetting>> current;
    if (now && res)
        current = crtcSettings(display, res.get());
    if (current) {
        ok = true;
        const ScreenSize size{target.width, target.height};
        std::vector<const CrtcSetting*> later;
        // A CRTC whose new area fits the screen as it is changes at once; one whose old area
        // would not fit the new screen is turned off until the screen has its new size.
        for (const CrtcSetting& t : target.crtcs) {
            auto cur = std::find_if(current->begin(), current->end(),
                                    [&](const CrtcSetting& c) { return c.crtc == t.crtc; });
            if (cur == current->end()) {
                ok = false;
                break;
            }
            if (cur->sameAs(t))
                continue;
            if (t.mode == None || Fits(t.area(), *now)) {
                ok = setCrtc(display, res.get(), t) && ok;
                continue;
            }
            if (cur->mode != None && !Fits(cur->area(), size))
                ok = setCrtc(display, res.get(), switchedOff(t.crtc)) && ok;
            later.push_back(&t);
        }
        if (ok &&
            (*now != size || DisplayWidthMM(display, DefaultScreen(display)) != target.widthMm ||
             DisplayHeightMM(display, DefaultScreen(display)) != target.heightMm))
            XRRSetScreenSize(display, rootOf(display), target.width, target.height, target.widthMm,
                             target.heightMm);
        for (const CrtcSetting* t : later) {
            if (ok)
                ok = setCrtc(display, res.get(), *t);
        }
    }
    XUngrabServer(display);
    return ok && !trap.failed();
}

std::vector<ListedMode> ModesOfCrtc(Display* display, const CrtcSetting& crtc) {
    Resources res = resources(display);
    if (!res || crtc.outputs.empty())
        return {};
    std::vector<std::vector<RRMode>> lists;
    for (RROutput output : crtc.outputs) {
        OutputInfo info(XRRGetOutputInfo(display, res.get(), output));
        if (!info)
            return {};
        lists.emplace_back(info->modes, info->modes + info->nmode);
    }
    std::vector<ListedMode> modes;
    for (RRMode id : lists.front()) {
        const bool everywhere = std::all_of(lists.begin() + 1, lists.end(), [&](const auto& l) {
            return std::find(l.begin(), l.end(), id) != l.end();
        });
        const XRRModeInfo* info = findMode(res.get(), id);
        if (!everywhere || !info)
            continue;
        const bool interlaced = info->modeFlags & RR_Interlace;
        modes.push_back({id, static_cast<int>(info->width), static_cast<int>(info->height),
                         ModeRefresh(info->dotClock, info->hTotal, info->vTotal, interlaced,
                                     info->modeFlags & RR_DoubleScan),
                         interlaced});
    }
    return modes;
}

double RefreshOfMode(Display* display, unsigned long mode) {
    Resources res = resources(display);
    const XRRModeInfo* info = res ? findMode(res.get(), mode) : nullptr;
    if (!info)
        return 0.0;
    return ModeRefresh(info->dotClock, info->hTotal, info->vTotal, info->modeFlags & RR_Interlace,
                       info->modeFlags & RR_DoubleScan);
}

bool ScreenGivesBitsPerPixel(Display* display, int bitsPerPixel) {
    int count = 0;
    std::unique_ptr<XPixmapFormatValues, FreeWith<XFree>> values(
        XListPixmapFormats(display, &count));
    std::vector<PixelFormat> formats;
    for (int i = 0; values && i < count; ++i)
        formats.push_back({values.get()[i].depth, values.get()[i].bits_per_pixel});
    return BitsPerPixelAvailable(bitsPerPixel, DefaultDepth(display, DefaultScreen(display)),
                                 formats);
}

std::optional<std::pair<ScreenSize, ScreenSize>> ScreenSizeRange(Display* display) {
    int minWidth, minHeight, maxWidth, maxHeight;
    if (!XRRGetScreenSizeRange(display, rootOf(display), &minWidth, &minHeight, &maxWidth,
                               &maxHeight))
        return std::nullopt;
    return std::pair{ScreenSize{minWidth, minHeight}, ScreenSize{maxWidth, maxHeight}};
}
