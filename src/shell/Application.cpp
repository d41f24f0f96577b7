#include "shell/Application.h"

#include "guide/GuideWindow.h"
#include "platform/Dialogs.h"
#include "platform/Display.h"
#include "platform/Shell.h"
#include "platform/Tray.h"
#include "records/HistoryPage.h"
#include "records/PlanPage.h"
#include "shell/MainWindow.h"
#include "shell/StartWindow.h"
#include "shell/Startup.h"
#include "spaceentry/SpaceEntryWindow.h"

#include <QApplication>

namespace qv {

Windows::Windows(platform::Dialogs& dialogs, platform::Shell& shell, bool showSplash)
{
    m_form1 = std::make_unique<StartWindow>();
    if (showSplash) {
        m_form1->startSplash();
        QCoreApplication::processEvents();
    }
    m_form2 = std::make_unique<MainWindow>(dialogs, shell, platform::Tray::desktopHasTray());
    m_form3 = std::make_unique<GuideWindow>(dialogs);
    m_form4 = std::make_unique<SpaceEntryWindow>();
    m_form1->setMainWindow(m_form2.get());
    m_form2->setStartWindow(m_form1.get());
    buildPages();
}

void Windows::buildPages()
{
    MainWindow* form2 = m_form2.get();
    const auto exitProgram = [] { QCoreApplication::exit(0); };

    auto* history = new HistoryPage(form2->context());
    history->exitProgram = exitProgram;
    form2->setPage(MainWindow::History, history,
                   {[history] { history->pllimparClick(); }, [history] { history->plabrirClick(); },
                    [history] { history->plsalvarClick(); }, {}});

    // On the plan page the File menu acts on the history page's fields.
    auto* plan = new PlanPage(form2->context());
    plan->setHistoryPage(history);
    plan->exitProgram = exitProgram;
    form2->setPage(MainWindow::Plan, plan,
                   {[plan] { plan->pllimparClick(); }, [plan] { plan->plabrirClick(); },
                    [plan] { plan->plsalvarClick(); }, {}});
}

Windows::~Windows() = default;

int RunQuorvel(QApplication& app, platform::Dialogs& dialogs, platform::Display& display, platform::Shell& shell)
{
    const StartupResult start = RunStartup(dialogs, display);
    if (!start.proceed)
        return start.exitCode;
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvel"));
    // Only the exit commands end the program; hiding a window never does.
    QApplication::setQuitOnLastWindowClosed(false);
    {
        Windows windows(dialogs, shell, true);
        app.exec();
    }
    return RunShutdown(dialogs, display, start.found);
}

int RunQuorvel(QApplication& app)
{
    platform::QtDialogs dialogs;
    platform::DesktopShell shell;
    auto display = platform::CreateSystemDisplay();
    return RunQuorvel(app, dialogs, *display, shell);
}

}  // namespace qv
