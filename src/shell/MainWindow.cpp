#include "shell/MainWindow.h"

#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/Tray.h"
#include "printing/ClinicDialog.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "notes/BackupActions.h"
#include "records/FolderSafety.h"
#include "records/IoError.h"
#include "shell/FoundationsPage.h"
#include "shell/MakerInfo.h"
#include "shell/StartWindow.h"
#include "records/Statistics.h"

#include "shell/Art.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QUrlQuery>

namespace qv {

namespace {

constexpr QSize kClientSize(1016, 692);

struct PageInfo {
    const char* name;
    const char* caption;
};

constexpr PageInfo kPages[] = {
    {"TabSheet3", "Fundamentos Teóricos"},   {"TabSheet1", "Análise de Tweed"},   {"TabSheet2", "Análise de Bolton"},
    {"TabSheet4", "Histórico do Tratamento"}, {"TabSheet5", "Plano de Tratamento"},
};

QAction* addItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

}  // namespace

MainWindow::MainWindow(platform::Dialogs& dialogs, platform::Shell& shell, bool trayAvailable, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_shell(shell), m_context(dialogs, [this] { return activeCaption(); })
{
    InitArt();
    // Told once per run and mount, here or at start-up, whichever comes first.
    m_context.setSaveWarning([] { return UnprotectedFolderWarningOnce(QStringLiteral("Análises")); });
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Quorvel"));
    setWindowIcon(QIcon(QStringLiteral(":/art/quorvel.png")));
    // A fixed single border: system menu, minimise box, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    m_tray = std::make_unique<platform::Tray>(QIcon(QStringLiteral(":/art/tray1.png")),
                                              QIcon(QStringLiteral(":/art/tray2.png")), trayAvailable);
    m_dialogs.setHideItem(m_tray->popOcultar());
    m_dialogs.setParentWindow(this);
    connect(m_tray->popRestaurar(), &QAction::triggered, this, &MainWindow::restoreFromTray);
    connect(m_tray->popOcultar(), &QAction::triggered, this, &MainWindow::hideToTray);
    connect(m_tray->popFechar(), &QAction::triggered, this, [] { QCoreApplication::exit(0); });
    connect(m_tray.get(), &platform::Tray::doubleClicked, this, [this] {
        if (m_form1 && m_form1->isVisible())
            return;
        restoreFromTray();
    });

    m_reports = std::make_unique<ReportEngine>(m_dialogs);
    buildMenus();

    m_analise = new QTabWidget;
    m_analise->setObjectName(QStringLiteral("Analise"));
    m_analise->setTabPosition(QTabWidget::West);
    m_analise->setUsesScrollButtons(false);
    m_analise->setDocumentMode(false);
    // The five captions must fit down the left side of the window.
    QFont tabFont = m_analise->tabBar()->font();
    tabFont.setPixelSize(11);
    m_analise->tabBar()->setFont(tabFont);
    m_analise->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 8px 3px; }"));
    m_foundations = new FoundationsPage(m_context, m_shell);
    connect(m_foundations, &FoundationsPage::menuRequested, this, &MainWindow::backToStartMenu);
    for (int i = 0; i < 5; ++i) {
        QWidget* page = i == Foundations ? m_foundations : new QWidget;
        page->setObjectName(QLatin1String(kPages[i].name));
        m_analise->addTab(page, QString::fromUtf8(kPages[i].caption));
    }
    connect(m_analise, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);

    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("Form2Scroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_analise);
    setCentralWidget(m_scroll);
    // The client area is the pages' own: the menu bar comes on top of it.
    m_analise->setMinimumSize(kClientSize);
    setFixedSize(windowSizeFor(kClientSize));

    m_tray->show();
    setEnabled(false);
}

MainWindow::~MainWindow() = default;

QSize MainWindow::windowSizeFor(QSize client) const
{
    return {client.width(), client.height() + menuBar()->sizeHint().height()};
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(QStringLiteral("&Arquivo"));
    file->setObjectName(QStringLiteral("File1"));
    connect(addItem(file, "New1", QStringLiteral("&Novo")), &QAction::triggered, this, &MainWindow::New1Click);
    connect(addItem(file, "Open1", QStringLiteral("&Abrir...")), &QAction::triggered, this, &MainWindow::Open1Click);
    QAction* patients = addItem(file, "Pacientes1", QStringLiteral("&Pacientes..."));
    patients->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    connect(patients, &QAction::triggered, this, &MainWindow::patientsRequested);
    connect(addItem(file, "Save1", QStringLiteral("&Salvar")), &QAction::triggered, this, &MainWindow::Save1Click);
    file->addSeparator()->setObjectName(QStringLiteral("N2"));
    connect(addItem(file, "Print1", QStringLiteral("&Imprimir...")), &QAction::triggered, this, &MainWindow::Print1Click);
    connect(addItem(file, "ClinicInfo1", QStringLiteral("&Dados do Consultório...")), &QAction::triggered, this,
            [this] { report::EditClinicInfo(m_dialogs, this); });
    connect(addItem(file, "Normas1", QStringLiteral("N&ormas...")), &QAction::triggered, this, &MainWindow::normsRequested);
    connect(addItem(file, "Backup1", QStringLiteral("&Cópia de Segurança...")), &QAction::triggered, this, [this] { MakeBackup(m_dialogs); });
    connect(addItem(file, "Restore1", QStringLiteral("Res&taurar Cópia...")), &QAction::triggered, this, [this] { RestoreFromBackup(m_dialogs); });
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    connect(addItem(file, "Exit1", QStringLiteral("Sai&r")), &QAction::triggered, this, [] { QCoreApplication::exit(0); });

    QMenu* modules = bar->addMenu(QStringLiteral("&Módulos"));
    modules->setObjectName(QStringLiteral("Mdulos1"));
    connect(addItem(modules, "FundamentosTericos2", QStringLiteral("&Fundamentos Teóricos")), &QAction::triggered, this,
            [this] {
                setActivePage(Foundations);
                m_foundations->ShowFoundationsLinks();
            });
    const std::pair<const char*, const char*> others[] = {
        {"AnlisedeTweed1", "&Análise de Tweed"},
        {"AnlisedeBolton1", "A&nálise de Bolton"},
        {"HistoricodeTratamento1", "&Histórico do Tratamento"},
        {"PlanodeTratamento1", "P&lano de Tratamento"},
    };
    for (int i = 0; i < 4; ++i) {
        const Page page = Page(i + 1);
        connect(addItem(modules, others[i].first, QString::fromUtf8(others[i].second)), &QAction::triggered, this,
                [this, page] {
                    setActivePage(page);
                    m_foundations->ResetFoundationsPage();
                });
    }

    modules->addSeparator()->setObjectName(QStringLiteral("N3"));
    connect(addItem(modules, "Tracado1", QStringLiteral("&Traçado Cefalométrico")), &QAction::triggered, this,
            &MainWindow::tracingRequested);
    connect(addItem(modules, "Pacientes2", QStringLiteral("&Pacientes...")), &QAction::triggered, this,
            &MainWindow::patientsRequested);

    QMenu* help = bar->addMenu(QStringLiteral("A&juda"));
    help->setObjectName(QStringLiteral("Help1"));
    connect(addItem(help, "Estatsticas1", QStringLiteral("&Estatísticas")), &QAction::triggered, this,
            &MainWindow::Estatsticas1Click);
    connect(addItem(help, "Contato1", QStringLiteral("&Contato")), &QAction::triggered, this, &MainWindow::Contato1Click);
    connect(addItem(help, "Site1", QStringLiteral("S&ite")), &QAction::triggered, this, &MainWindow::Site1Click);
    connect(addItem(help, "About1", QStringLiteral("&Sobre...")), &QAction::triggered, this, &MainWindow::About1Click);
}

void MainWindow::setPage(Page page, QWidget* widget, PageActions actions)
{
    m_actions[size_t(page)] = std::move(actions);
    if (!widget || widget == m_analise->widget(page))
        return;
    const bool wasCurrent = m_analise->currentIndex() == page;
    m_settingPage = true;
    QWidget* old = m_analise->widget(page);
    m_analise->removeTab(page);
    m_analise->insertTab(page, widget, QString::fromUtf8(kPages[page].caption));
    widget->setObjectName(QLatin1String(kPages[page].name));
    if (wasCurrent)
        m_analise->setCurrentIndex(page);
    m_settingPage = false;
    if (old != m_foundations)
        delete old;
}

QWidget* MainWindow::page(Page page) const { return m_analise->widget(page); }

QString MainWindow::activeCaption() const { return QString::fromUtf8(kPages[m_analise->currentIndex()].caption); }

void MainWindow::setActivePage(Page page)
{
    m_settingPage = true;
    m_analise->setCurrentIndex(page);
    m_settingPage = false;
}

MainWindow::Page MainWindow::activePage() const { return Page(m_analise->currentIndex()); }

void MainWindow::onTabChanged(int index)
{
    if (m_settingPage)
        return;
    // Only a tab the user chose resets or shows the foundations page.
    if (index == Foundations)
        m_foundations->ShowFoundationsLinks();
    else
        m_foundations->ResetFoundationsPage();
}

void MainWindow::route(QPointer<QAction> PageActions::*command)
{
    if (QAction* action = m_actions[size_t(activePage())].*command)
        action->trigger();
    else
        m_context.error(QStringLiteral("Ação não disponível!"));
}

void MainWindow::New1Click() { route(&PageActions::novo); }
void MainWindow::Open1Click() { route(&PageActions::abrir); }
void MainWindow::Save1Click() { route(&PageActions::salvar); }
void MainWindow::Print1Click() { route(&PageActions::imprimir); }

void MainWindow::Estatsticas1Click()
{
    try {
        const StatsRecord r = RecordStatistic('c');
        m_dialogs.ShowNotice(platform::NoticeKind::Information, StatisticsText(r), QStringLiteral("Estatísticas"));
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
    }
}

QUrl MainWindow::ContactAddress()
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(maker::kContactAddress);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("cc"), maker::kCopyAddress);
    query.addQueryItem(QStringLiteral("subject"), maker::kContactSubject);
    url.setQuery(query);
    return url;
}

void MainWindow::Contato1Click() { m_shell.Open(ContactAddress()); }

void MainWindow::Site1Click() { m_shell.Open(QUrl(maker::kSite)); }

QString MainWindow::AboutText()
{
    return QStringLiteral("Software de Quorvel") + QStringLiteral("\r\r") + QString(7, u' ') + maker::kAuthor.toUpper()
           + QStringLiteral("\r\r") + QStringLiteral("             VERSÃO ") + maker::kVersion;
}

void MainWindow::About1Click()
{
    m_dialogs.ShowNotice(platform::NoticeKind::Information, AboutText(), QStringLiteral("Sobre..."));
}

QAction* MainWindow::popOcultarAction() const { return m_tray->popOcultar(); }
QAction* MainWindow::popRestaurarAction() const { return m_tray->popRestaurar(); }

void MainWindow::showMain()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize outer = frameGeometry().size().expandedTo(size());
        move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
    }
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::fitToScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize s = screen->size();
    if (s.width() >= 1024 && s.height() >= 768) {
        setFixedSize(windowSizeFor(kClientSize));
        return;
    }
    // A smaller screen: the window takes what there is and scrolls its contents.
    const QRect area = screen->availableGeometry();
    const QSize full = windowSizeFor(kClientSize);
    setFixedSize(qMin(full.width(), area.width() - 8), qMin(full.height(), area.height() - 32));
}

void MainWindow::restoreFromTray()
{
    showNormal();
    raise();
    activateWindow();
    m_tray->stopCycling();
    m_tray->popRestaurar()->setEnabled(false);
    m_tray->popOcultar()->setEnabled(true);
}

void MainWindow::hideToTray()
{
    if (!m_tray->available()) {
        // Without a notification area nothing could bring a hidden window back.
        showMinimized();
        return;
    }
    hide();
    m_tray->startCycling();
    m_tray->popOcultar()->setEnabled(false);
    m_tray->popRestaurar()->setEnabled(true);
}

void MainWindow::openFromStartMenu(Page page, FoundationsView view)
{
    popOcultarAction()->setEnabled(true);
    setEnabled(true);
    if (view == FoundationsView::Objective)
        m_foundations->ShowObjective();
    else if (view == FoundationsView::Links)
        m_foundations->ShowFoundationsLinks();
    setActivePage(page);
    fitToScreen();
    showMain();
}

void MainWindow::backToStartMenu()
{
    m_tray->popRestaurar()->setEnabled(false);
    m_tray->popOcultar()->setEnabled(false);
    hide();
    m_foundations->ResetFoundationsPage();
    setEnabled(false);
    if (m_form1)
        m_form1->showStartMenu();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    QCoreApplication::exit(0);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && m_tray->available()) {
        // Minimising hides the window in the tray; defer so the state change completes first.
        QMetaObject::invokeMethod(
            this,
            [this] {
                setWindowState(windowState() & ~Qt::WindowMinimized);
                hideToTray();
            },
            Qt::QueuedConnection);
    }
}

}  // namespace qv
