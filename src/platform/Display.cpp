#include "platform/Display.h"

#include <QGuiApplication>
#include <QScreen>

#if defined(_WIN32)
#include <windows.h>
#elif defined(QUORVEL_HAVE_XRANDR)
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>
#endif

namespace qv::platform {

namespace {

DisplayMode measureWithQt()
{
    DisplayMode m;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size() * screen->devicePixelRatio();
        m.width = size.width();
        m.height = size.height();
        // A 24-bit-depth X11 visual stores 32 bits per pixel.
        m.bitsPerPixel = screen->depth() == 24 ? 32 : screen->depth();
    }
    return m;
}

#if defined(_WIN32)
class WindowsDisplay : public Display {
public:
    DisplayMode Measure() override
    {
        DisplayMode m;
        m.width = GetSystemMetrics(SM_CXSCREEN);
        m.height = GetSystemMetrics(SM_CYSCREEN);
        HDC dc = GetDC(nullptr);
        m.bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
        ReleaseDC(nullptr, dc);
        return m;
    }
    void Switch(const DisplayMode& mode) override
    {
        DEVMODEA dm{};
        dm.dmSize = sizeof(dm);
        dm.dmPelsWidth = DWORD(mode.width);
        dm.dmPelsHeight = DWORD(mode.height);
        dm.dmBitsPerPel = DWORD(mode.bitsPerPixel);
        dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
        ChangeDisplaySettingsA(&dm, CDS_UPDATEREGISTRY);
    }
};
#else
#if defined(QUORVEL_HAVE_XRANDR)
// Xlib and XRandR are opened only when a mode is switched (at shutdown, and rarely at start-up),
// so that starting the program does not load them before its first window.
struct XRandR {
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    void* xrandr = dlopen("libXrandr.so.2", RTLD_LAZY | RTLD_LOCAL);
    template <typename F>
    F* get(void* lib, const char* name) const { return lib ? reinterpret_cast<F*>(dlsym(lib, name)) : nullptr; }
    decltype(&XOpenDisplay) openDisplay = get<decltype(XOpenDisplay)>(x11, "XOpenDisplay");
    decltype(&XCloseDisplay) closeDisplay = get<decltype(XCloseDisplay)>(x11, "XCloseDisplay");
    decltype(&XRRSizes) sizes = get<decltype(XRRSizes)>(xrandr, "XRRSizes");
    decltype(&XRRGetScreenInfo) screenInfo = get<decltype(XRRGetScreenInfo)>(xrandr, "XRRGetScreenInfo");
    decltype(&XRRConfigCurrentConfiguration) currentConfiguration =
        get<decltype(XRRConfigCurrentConfiguration)>(xrandr, "XRRConfigCurrentConfiguration");
    decltype(&XRRSetScreenConfig) setScreenConfig = get<decltype(XRRSetScreenConfig)>(xrandr, "XRRSetScreenConfig");
    decltype(&XRRFreeScreenConfigInfo) freeScreenConfigInfo =
        get<decltype(XRRFreeScreenConfigInfo)>(xrandr, "XRRFreeScreenConfigInfo");
    bool ok() const
    {
        return openDisplay && closeDisplay && sizes && screenInfo && currentConfiguration && setScreenConfig
               && freeScreenConfigInfo;
    }
    ~XRandR()
    {
        if (xrandr)
            dlclose(xrandr);
        if (x11)
            dlclose(x11);
    }
};
#endif

class DesktopDisplay : public Display {
public:
    DisplayMode Measure() override { return measureWithQt(); }
    void Switch(const DisplayMode& mode) override
    {
#if defined(QUORVEL_HAVE_XRANDR)
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        const XRandR x;
        if (!x.ok())
            return;
        ::Display* dpy = x.openDisplay(nullptr);
        if (!dpy)
            return;
        const Window root = DefaultRootWindow(dpy);
        int count = 0;
        XRRScreenSize* sizes = x.sizes(dpy, DefaultScreen(dpy), &count);
        int wanted = -1;
        for (int i = 0; i < count; ++i)
            if (sizes[i].width == mode.width && sizes[i].height == mode.height)
                wanted = i;
        // The depth of an X screen is fixed; only its size can change.
        if (wanted >= 0) {
            if (XRRScreenConfiguration* conf = x.screenInfo(dpy, root)) {
                Rotation rotation = 0;
                const SizeID current = x.currentConfiguration(conf, &rotation);
                if (current != wanted)
                    x.setScreenConfig(dpy, conf, root, wanted, rotation, CurrentTime);
                x.freeScreenConfigInfo(conf);
            }
        }
        x.closeDisplay(dpy);
#else
        (void)mode;
#endif
    }
};
#endif

}  // namespace

std::unique_ptr<Display> CreateSystemDisplay()
{
#if defined(_WIN32)
    return std::make_unique<WindowsDisplay>();
#else
    return std::make_unique<DesktopDisplay>();
#endif
}

}  // namespace qv::platform
