#include "platform/Display.h"

#include <QGuiApplication>
#include <QScreen>

#if defined(_WIN32)
#include <windows.h>
#elif defined(QUORVEL_HAVE_XRANDR)
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
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
class DesktopDisplay : public Display {
public:
    DisplayMode Measure() override { return measureWithQt(); }
    void Switch(const DisplayMode& mode) override
    {
#if defined(QUORVEL_HAVE_XRANDR)
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        ::Display* dpy = XOpenDisplay(nullptr);
        if (!dpy)
            return;
        const Window root = DefaultRootWindow(dpy);
        int count = 0;
        XRRScreenSize* sizes = XRRSizes(dpy, DefaultScreen(dpy), &count);
        int wanted = -1;
        for (int i = 0; i < count; ++i)
            if (sizes[i].width == mode.width && sizes[i].height == mode.height)
                wanted = i;
        // The depth of an X screen is fixed; only its size can change.
        if (wanted >= 0) {
            if (XRRScreenConfiguration* conf = XRRGetScreenInfo(dpy, root)) {
                Rotation rotation = 0;
                const SizeID current = XRRConfigCurrentConfiguration(conf, &rotation);
                if (current != wanted)
                    XRRSetScreenConfig(dpy, conf, root, wanted, rotation, CurrentTime);
                XRRFreeScreenConfigInfo(conf);
            }
        }
        XCloseDisplay(dpy);
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
