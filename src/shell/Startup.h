#pragma once
// What runs before the first window and after the event loop.

#include "platform/Display.h"

namespace qv::platform {
class Dialogs;
}

namespace qv {

inline constexpr int kMinimumWidth = 1024;
inline constexpr int kMinimumHeight = 768;
inline constexpr int kMinimumDepth = 32;

struct StartupResult {
    bool proceed = false;         // false: the program ends with exitCode
    int exitCode = 0;
    platform::DisplayMode found;  // the mode to restore at shutdown
};

// Data files, running mark, display mode (steps 1 to 5 of the start-up).
StartupResult RunStartup(platform::Dialogs& dialogs, platform::Display& display);

// Restores the display mode and clears the running mark; returns the exit code.
int RunShutdown(platform::Dialogs& dialogs, platform::Display& display, const platform::DisplayMode& found);

QString AlreadyRunningText();
QString ResolutionChangeText(const platform::DisplayMode& found);

}  // namespace qv
