#pragma once
// Hands web and mailto addresses to the desktop's default programs.

#include <QUrl>

namespace qv::platform {

class Shell {
public:
    virtual ~Shell() = default;
    // The result is not examined: a missing browser or mail program is not reported.
    virtual void Open(const QUrl& address) = 0;
};

class DesktopShell : public Shell {
public:
    void Open(const QUrl& address) override;
};

}  // namespace qv::platform
