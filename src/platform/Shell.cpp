#include "platform/Shell.h"

#include <QDesktopServices>

namespace qv::platform {

void DesktopShell::Open(const QUrl& address) { QDesktopServices::openUrl(address); }

}  // namespace qv::platform
