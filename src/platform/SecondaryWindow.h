#pragma once
// The windows opened over the main window (guide, total space, tracing, patients) act as modal
// dialogs of it: while one is shown the main window and the tray's "&Ocultar" are disabled.

#include <functional>

class QWidget;

namespace qv::platform {

class Dialogs;

// Centres the window on the primary screen's available area.
void CentreOnScreen(QWidget& window);
// Disables the main window and "&Ocultar", then shows the window in front.
void ShowSecondaryWindow(QWidget& window, const std::function<void(bool)>& setMainWindowEnabled, Dialogs* dialogs);
// Hides the window and enables the main window and "&Ocultar" again.
void HideSecondaryWindow(QWidget& window, const std::function<void(bool)>& setMainWindowEnabled, Dialogs* dialogs);

}  // namespace qv::platform
