#pragma once
// What a page needs to talk to the clinician: boxes captioned with the active page's caption.

#include "platform/Dialogs.h"

#include <functional>

namespace qv {
class IoError;
}

namespace qv::platform {

class PageContext {
public:
    PageContext(Dialogs& dialogs, std::function<QString()> activeCaption)
        : m_dialogs(dialogs), m_activeCaption(std::move(activeCaption))
    {
    }

    Dialogs& dialogs() const { return m_dialogs; }
    QString caption() const { return m_activeCaption ? m_activeCaption() : QString(); }

    void warn(const QString& text) const { m_dialogs.ShowNotice(NoticeKind::Warning, text, caption()); }
    void error(const QString& text) const { m_dialogs.ShowNotice(NoticeKind::Error, text, caption()); }
    void inform(const QString& text) const { m_dialogs.ShowNotice(NoticeKind::Information, text, caption()); }
    Answer confirm(const QString& text) const { return m_dialogs.Confirm(text); }
    void failure(const QString& message) const { m_dialogs.ShowFailure(message); }
    // "SAIR" of every page: ends the program (set once by the composition root).
    void setExitProgram(std::function<void()> exit) { m_exit = std::move(exit); }
    void exitProgram() const
    {
        if (m_exit)
            m_exit();
    }

    // Asked before every save of a patient file (set once by the composition root): a warning
    // to show first (the folder does not protect saves from several computers), or nothing.
    void setSaveWarning(std::function<QString()> check) { m_saveWarning = std::move(check); }
    void beforeSave() const
    {
        if (!m_saveWarning)
            return;
        if (const QString text = m_saveWarning(); !text.isEmpty())
            warn(text);
    }

    std::function<void(const QString&)> warner() const
    {
        return [this](const QString& text) { warn(text); };
    }

private:
    Dialogs& m_dialogs;
    std::function<QString()> m_activeCaption;
    std::function<void()> m_exit;
    std::function<QString()> m_saveWarning;
};

}  // namespace qv::platform
