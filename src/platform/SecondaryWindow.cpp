#include "platform/SecondaryWindow.h"

#include "platform/Dialogs.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qv::platform {

void CentreOnScreen(QWidget& window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

void ShowSecondaryWindow(QWidget& window, const std::function<void(bool)>& setMainWindowEnabled, Dialogs* dialogs)
{
    if (setMainWindowEnabled)
        setMainWindowEnabled(false);
    if (dialogs)
        dialogs->setHideItemEnabled(false);
    window.show();
    window.raise();
    window.activateWindow();
}

void HideSecondaryWindow(QWidget& window, const std::function<void(bool)>& setMainWindowEnabled, Dialogs* dialogs)
{
    if (setMainWindowEnabled)
        setMainWindowEnabled(true);
    window.hide();
    if (dialogs)
        dialogs->setHideItemEnabled(true);
}

}  // namespace qv::platform
