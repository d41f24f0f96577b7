#include "shell/Application.h"

#include "guide/GuideWindow.h"
#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/Display.h"
#include "platform/Shell.h"
#include "platform/Tray.h"
#include "bolton/BoltonPage.h"
#include "notes/HistoryPage.h"
#include "tweed/TweedPage.h"
#include "notes/PlanPage.h"
#include "shell/MainWindow.h"
#include "shell/StartWindow.h"
#include "shell/Startup.h"
#include "spaceentry/SpaceEntryWindow.h"
#include "patients/PatientsWindow.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "tracing/CephNormsStore.h"
#include "tracing/NormsDialog.h"
#include "tracing/SuperimpositionWindow.h"
#include "analysis/TracingValues.h"
#include "tracing/TracingWindow.h"

#include <QApplication>

#include <type_traits>

namespace qv {

namespace {

// The File menu's actions a page owns, each triggering one of its handlers; a null handler
// leaves the command unavailable on that page.
template <typename Page>
using Handler = void (Page::*)();

template <typename Page>
PageActions OwnedActions(Page* page, std::type_identity_t<Handler<Page>> novo, std::type_identity_t<Handler<Page>> abrir,
                         std::type_identity_t<Handler<Page>> salvar, std::type_identity_t<Handler<Page>> imprimir)
{
    const auto own = [page](Handler<Page> handler) -> QAction* {
        if (!handler)
            return nullptr;
        auto* action = new QAction(page);
        QObject::connect(action, &QAction::triggered, page, handler);
        return action;
    };
    return {own(novo), own(abrir), own(salvar), own(imprimir)};
}

}  // namespace

Windows::Windows(platform::Dialogs& dialogs, platform::Shell& shell, bool showSplash)
{
    // Whatever the splash does not show is built once it is on the screen, so it is not held up.
    m_form1 = std::make_unique<StartWindow>(nullptr, showSplash ? StartWindow::MenuTiming::AfterSplash
                                                                : StartWindow::MenuTiming::WithWindow);
    if (showSplash) {
        m_form1->startSplash();
        m_form1->waitUntilPainted(1000);
        m_form1->buildMenu();
    }
    m_form2 = std::make_unique<MainWindow>(dialogs, shell, platform::Tray::desktopHasTray());
    m_form3 = std::make_unique<GuideWindow>(dialogs);
    m_form4 = std::make_unique<SpaceEntryWindow>(dialogs);
    QObject::connect(m_form1.get(), &StartWindow::pageRequested, m_form2.get(), &MainWindow::openFromStartMenu);
    m_form2->setStartWindow(m_form1.get());
    m_norms = std::make_unique<CephNormsStore>(dialogs);
    m_tracing = std::make_unique<TracingWindow>(dialogs);
    m_patients = std::make_unique<PatientsWindow>(QStringLiteral("Análises/"));
    m_superimposition = std::make_unique<SuperimpositionWindow>(dialogs);
    buildPages(dialogs);
}

void Windows::buildPages(platform::Dialogs& dialogs)
{
    MainWindow* form2 = m_form2.get();
    GuideWindow* form3 = m_form3.get();
    SpaceEntryWindow* form4 = m_form4.get();
    const auto exitProgram = [] { QCoreApplication::exit(0); };

    // Every page's SAIR ends the program through the context all pages share.
    form2->context().setExitProgram(exitProgram);
    auto* tweed = new TweedPage(form2->context());
    QObject::connect(tweed, &TweedPage::guideRequested, form3, &GuideWindow::Open);
    QObject::connect(tweed, &TweedPage::guideClearRequested, form3, &GuideWindow::glimparClick);
    QObject::connect(tweed, &TweedPage::spaceEntryClearRequested, form4, &SpaceEntryWindow::Button3Click);
    form2->setPage(MainWindow::Tweed, tweed,
                   OwnedActions(tweed, &TweedPage::NewAnalysis, &TweedPage::tabrirClick, &TweedPage::tsalvarClick,
                                &TweedPage::timprimirClick));
    tweed->setReportEngine(&form2->reports());

    // The guide generates from the Tweed analysis's results; the analysis keeps the panel and
    // the answers it came from, and saves the guide's answers when it has no diagnosis.
    QObject::connect(form3, &GuideWindow::mainWindowEnabledRequested, form2, &QWidget::setEnabled);
    QObject::connect(form3, &GuideWindow::diagnosisGenerated, &tweed->model(), &TweedAnalysisModel::applyDiagnosis);
    QObject::connect(form3, &GuideWindow::answersChanged, tweed, &TweedPage::setGuideAnswers);
    tweed->setGuideAnswers(form3->answers());

    auto* bolton = new BoltonPage(form2->context());
    form2->setPage(MainWindow::Bolton, bolton,
                   OwnedActions(bolton, &BoltonPage::NewAnalysis, &BoltonPage::babrirClick, &BoltonPage::bsalvarClick,
                                &BoltonPage::bimprimirClick));
    bolton->setReportEngine(&form2->reports());

    // The total space window imports from the two pages as they stand when it opens; the
    // Bolton page lives as long as the Tweed page that asks, both pages of the main window.
    QObject::connect(tweed, &TweedPage::spaceEntryRequested, form4, [form4, tweed, bolton] {
        const BoltonSheet b = bolton->sheet();
        form4->setImportSource({LowerRow(b), b.bpaciente, tweed->patientName(), bolton->calculated()});
        form4->Open();
    });
    QObject::connect(form4, &SpaceEntryWindow::mainWindowEnabledRequested, form2, &QWidget::setEnabled);
    QObject::connect(form4, &SpaceEntryWindow::spaceSummed, tweed, &TweedPage::fillSpace);

    auto* history = new HistoryPage(form2->context());
    history->setReportEngine(&form2->reports());
    form2->setPage(MainWindow::History, history,
                   OwnedActions(history, &HistoryPage::pllimparClick, &HistoryPage::plabrirClick,
                                &HistoryPage::plsalvarClick, &HistoryPage::plimprimirClick));

    // On the plan page the File menu acts on the history page's fields.
    auto* plan = new PlanPage(form2->context());
    plan->setHistoryPage(history);
    plan->setReportEngine(&form2->reports());
    form2->setPage(MainWindow::Plan, plan,
                   OwnedActions(plan, &PlanPage::pllimparClick, &PlanPage::plabrirClick, &PlanPage::plsalvarClick, nullptr));

    // The tracing writes the measurements of the Tweed sheet while the page accepts input.
    TracingWindow* tracing = m_tracing.get();
    // The tracing works with the Tweed page as it stands when the tracing opens (the main window,
    // which outlives the tracing, stays disabled while it shows).
    QObject::connect(tracing, &TracingWindow::opening, tracing, [tracing, tweed] {
        tracing->setTweedState({tweed->acceptsTracing(), tweed->patientName(), StageText(tweed->stage())});
    });
    QObject::connect(tracing, &TracingWindow::mainWindowEnabledRequested, form2, &QWidget::setEnabled);
    QObject::connect(tracing, &TracingWindow::measurementsApplied, tweed, &TweedPage::applyTracingValues);
    QObject::connect(tracing, &TracingWindow::printRequested, form2, [form2](const ReportParamList& params, int lastPage) {
        PrintCephalometric(form2->reports(), form2->context(), params, lastPage);
    });

    // The patients window opens each file through its page's own opening.
    PatientsWindow* patients = m_patients.get();
    // Each page lives inside the main window, so the page is the context of its opening.
    const auto openOn = [form2](MainWindow::Page page, auto open) {
        return [form2, page, open](const QString& path) {
            form2->setActivePage(page);
            open(path);
            form2->raise();
            form2->activateWindow();
        };
    };
    QObject::connect(patients, &PatientsWindow::mainWindowEnabledRequested, form2, &QWidget::setEnabled);
    QObject::connect(patients, &PatientsWindow::tweedFileRequested, tweed,
                     openOn(MainWindow::Tweed, [tweed](const QString& p) { tweed->openFile(p); }));
    QObject::connect(patients, &PatientsWindow::boltonFileRequested, bolton,
                     openOn(MainWindow::Bolton, [bolton](const QString& p) { bolton->openFile(p); }));
    QObject::connect(patients, &PatientsWindow::historyFileRequested, history,
                     openOn(MainWindow::History, [history](const QString& p) { history->openFile(p); }));
    QObject::connect(patients, &PatientsWindow::planFileRequested, plan,
                     openOn(MainWindow::Plan, [plan](const QString& p) { plan->openFile(p); }));
    QObject::connect(patients, &PatientsWindow::evolutionPrintRequested, form2,
                     [form2](const ReportParamList& params, int lastPage) {
                         PrintEvolution(form2->reports(), form2->context(), params, lastPage);
                     });
    patients->setDialogs(&dialogs);

    // Both the tracing and the patients window show a patient's stages superimposed.
    SuperimpositionWindow* superimposition = m_superimposition.get();
    QObject::connect(tracing, &TracingWindow::superimpositionRequested, superimposition, &SuperimpositionWindow::Open);
    QObject::connect(patients, &PatientsWindow::superimpositionRequested, superimposition, &SuperimpositionWindow::Open);

    QObject::connect(tweed, &TweedPage::tracingRequested, tracing, &TracingWindow::Open);
    // The clinic's norms are read when first wanted, and every change reaches the tracing.
    CephNormsStore* norms = m_norms.get();
    QObject::connect(norms, &CephNormsStore::changed, tracing, &TracingWindow::setNorms);
    QObject::connect(tracing, &TracingWindow::opening, norms, [norms] { norms->norms(); });
    // The norms store goes before the main window: it is the context of the dialog's opening.
    platform::Dialogs* boxes = &dialogs;
    QObject::connect(form2, &MainWindow::normsRequested, norms, [norms, form2, boxes] { NormsDialog::Edit(*boxes, *norms, form2); });
    QObject::connect(form2, &MainWindow::patientsRequested, patients, &PatientsWindow::Open);
    QObject::connect(form2, &MainWindow::tracingRequested, tracing, &TracingWindow::Open);
}

Windows::~Windows() = default;

int RunQuorvel(QApplication& app, platform::Dialogs& dialogs, platform::Display& display, platform::Shell& shell)
{
    platform::InstallAccessibility();
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
