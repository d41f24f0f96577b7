#pragma once
// The screen's mode: measured at start-up, raised when too low, restored at exit.

#include <memory>

namespace qv::platform {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool operator==(const DisplayMode&) const = default;
};

class Display {
public:
    virtual ~Display() = default;
    virtual DisplayMode Measure() = 0;
    // Persistent switch; its success is not examined.
    virtual void Switch(const DisplayMode& mode) = 0;
};

// The desktop's display: XRandR on X11, ChangeDisplaySettings on Windows, measure-only elsewhere.
std::unique_ptr<Display> CreateSystemDisplay();

}  // namespace qv::platform
