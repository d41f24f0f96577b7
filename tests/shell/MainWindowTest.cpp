// The main window, the start window, the tray and the foundations page on real widgets.

#include "platform/Tray.h"
#include "shell/Application.h"
#include "shell/FoundationsPage.h"
#include "shell/MainWindow.h"
#include "shell/StartWindow.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <memory>

#include <gtest/gtest.h>

using namespace qv;
using qv::platform::NoticeKind;

namespace {

// Runs the event loop until something ends it; false when only the safety timer did.
bool loopEnds(const std::function<void()>& command)
{
    QTimer::singleShot(0, command);
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safety.start(3000);
    return QCoreApplication::exec() == 0;
}

class ShellWindowsTest : public qv::test::WorkFolderTest {
protected:
    void SetUp() override { build(true); }
    void build(bool trayAvailable)
    {
        form1 = std::make_unique<StartWindow>();
        form2 = std::make_unique<MainWindow>(dialogs, shell, trayAvailable);
        QObject::connect(form1.get(), &StartWindow::pageRequested, form2.get(), &MainWindow::openFromStartMenu);
        form2->setStartWindow(form1.get());
    }
    template <typename T>
    T* child(QObject* parent, const char* name)
    {
        T* c = parent->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QAction* action(const char* name) { return child<QAction>(form2.get(), name); }
    QTabWidget* analise() { return child<QTabWidget>(form2.get(), "Analise"); }
    void toStartMenu()
    {
        form1->startSplash();
        form1->Button1Click();
    }
    void openFromMenu(const char* button)
    {
        toStartMenu();
        QTest::mouseClick(child<QPushButton>(form1.get(), button), Qt::LeftButton);
    }

    qv::test::FakeShell shell;
    std::unique_ptr<StartWindow> form1;
    std::unique_ptr<MainWindow> form2;
};

TEST_F(ShellWindowsTest, MainWindowFrameAndPagesInTabOrder)
{
    EXPECT_EQ(form2->windowTitle(), QStringLiteral("Quorvel"));
    form2->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form2->width(), 1016);
    EXPECT_EQ(form2->centralWidget()->height(), 692) << "the menu bar is not part of the client area";
    EXPECT_FALSE(form2->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form2->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(analise()->tabPosition(), QTabWidget::West);
    const char* names[] = {"TabSheet3", "TabSheet1", "TabSheet2", "TabSheet4", "TabSheet5"};
    const char* captions[] = {"Fundamentos Teóricos", "Análise de Tweed", "Análise de Bolton", "Histórico do Tratamento",
                              "Plano de Tratamento"};
    ASSERT_EQ(analise()->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(analise()->widget(i)->objectName(), QLatin1String(names[i]));
        EXPECT_EQ(analise()->tabText(i), QString::fromUtf8(captions[i]));
    }
}

TEST_F(ShellWindowsTest, MenusCarryTheirCaptionsAndAccessKeys)
{
    struct Item {
        const char* name;
        const char* caption;
    };
    const Item items[] = {
        {"New1", "&Novo"},
        {"Open1", "&Abrir..."},
        {"Save1", "&Salvar"},
        {"Print1", "&Imprimir..."},
        {"Backup1", "&Cópia de Segurança..."},
        {"Restore1", "Res&taurar Cópia..."},
        {"Normas1", "N&ormas..."},
        {"Exit1", "Sai&r"},
        {"FundamentosTericos2", "&Fundamentos Teóricos"},
        {"AnlisedeTweed1", "&Análise de Tweed"},
        {"AnlisedeBolton1", "A&nálise de Bolton"},
        {"HistoricodeTratamento1", "&Histórico do Tratamento"},
        {"PlanodeTratamento1", "P&lano de Tratamento"},
        {"Tracado1", "&Traçado Cefalométrico"},
        {"Pacientes1", "&Pacientes..."},
        {"Pacientes2", "&Pacientes..."},
        {"Estatsticas1", "&Estatísticas"},
        {"Contato1", "&Contato"},
        {"Site1", "S&ite"},
        {"About1", "&Sobre..."},
    };
    for (const Item& i : items)
        EXPECT_EQ(action(i.name)->text(), QString::fromUtf8(i.caption)) << i.name;
    EXPECT_EQ(child<QMenu>(form2.get(), "File1")->title(), QStringLiteral("&Arquivo"));
    EXPECT_EQ(child<QMenu>(form2.get(), "Mdulos1")->title(), QStringLiteral("&Módulos"));
    EXPECT_EQ(child<QMenu>(form2.get(), "Help1")->title(), QStringLiteral("A&juda"));
    // Order of the File menu, separators included.
    QStringList order;
    for (QAction* a : child<QMenu>(form2.get(), "File1")->actions())
        order << a->objectName();
    EXPECT_EQ(order.join(u','), QStringLiteral("New1,Open1,Pacientes1,Save1,N2,Print1,ClinicInfo1,Normas1,Backup1,Restore1,N1,Exit1"));
}

TEST_F(ShellWindowsTest, FileMenuRoutesByActivePage)
{
    QStringList calls;
    QObject owner;  // the pages' actions
    auto rec = [&calls, &owner](const char* what) {
        auto* a = new QAction(&owner);
        QObject::connect(a, &QAction::triggered, &owner, [&calls, what] { calls << QLatin1String(what); });
        return a;
    };
    form2->setPage(MainWindow::Tweed, nullptr, {rec("tweed-new"), rec("tweed-open"), rec("tweed-save"), rec("tweed-print")});
    form2->setPage(MainWindow::Plan, nullptr, {rec("hist-new"), rec("hist-open"), rec("hist-save"), nullptr});

    form2->setActivePage(MainWindow::Tweed);
    for (const char* item : {"New1", "Open1", "Save1", "Print1"})
        action(item)->trigger();
    EXPECT_EQ(calls.join(u','), QStringLiteral("tweed-new,tweed-open,tweed-save,tweed-print"));

    calls.clear();
    form2->setActivePage(MainWindow::Plan);
    for (const char* item : {"New1", "Open1", "Save1"})
        action(item)->trigger();
    EXPECT_EQ(calls.join(u','), QStringLiteral("hist-new,hist-open,hist-save"));
    action("Print1")->trigger();
    dialogs.expectNotice(NoticeKind::Error, QStringLiteral("Ação não disponível!"), QStringLiteral("Plano de Tratamento"));

    form2->setActivePage(MainWindow::Foundations);
    for (const char* item : {"New1", "Open1", "Save1", "Print1"}) {
        action(item)->trigger();
        dialogs.expectNotice(NoticeKind::Error, QStringLiteral("Ação não disponível!"),
                             QStringLiteral("Fundamentos Teóricos"));
    }
}

// An action that went with its page leaves the command unavailable instead of running it.
TEST_F(ShellWindowsTest, FileMenuCommandsGoneWithTheirPageAreUnavailable)
{
    int runs = 0;
    auto owner = std::make_unique<QObject>();
    PageActions actions;
    for (QPointer<QAction> PageActions::*member :
         {&PageActions::novo, &PageActions::abrir, &PageActions::salvar, &PageActions::imprimir}) {
        auto* a = new QAction(owner.get());
        QObject::connect(a, &QAction::triggered, owner.get(), [&runs] { ++runs; });
        actions.*member = a;
    }
    form2->setPage(MainWindow::Bolton, nullptr, actions);
    form2->setActivePage(MainWindow::Bolton);
    const char* items[] = {"New1", "Open1", "Save1", "Print1"};
    for (const char* item : items)
        action(item)->trigger();
    EXPECT_EQ(runs, 4);
    owner.reset();
    for (const char* item : items) {
        SCOPED_TRACE(item);
        action(item)->trigger();
        dialogs.expectNotice(NoticeKind::Error, QStringLiteral("Ação não disponível!"), QStringLiteral("Análise de Bolton"));
    }
    EXPECT_EQ(runs, 4);
}

TEST_F(ShellWindowsTest, NoticesDisableTheTrayItemWhileShown)
{
    openFromMenu("Button3");
    ASSERT_TRUE(form2->popOcultarAction()->isEnabled());
    action("About1")->trigger();
    const qv::test::Box box = dialogs.take();
    EXPECT_FALSE(box.hideItemEnabled);
    EXPECT_EQ(box.caption, QStringLiteral("Sobre..."));
    EXPECT_EQ(box.text, MainWindow::AboutText());
    EXPECT_TRUE(form2->popOcultarAction()->isEnabled());
}

TEST_F(ShellWindowsTest, AboutTextIsExact)
{
    EXPECT_EQ(MainWindow::AboutText(),
              QStringLiteral("Software de Quorvel\r\r       DR. HENRIQUE VALADARES MOURA\r\r             VERSÃO 1.5.0"));
}

TEST_F(ShellWindowsTest, StatisticsShowTheCountsCaptionedStatistics)
{
    work.write(QStringLiteral("Stats.cef"), qv::test::StatsBytes(0, 2, 0, 1));
    action("Estatsticas1")->trigger();
    const qv::test::Box box = dialogs.take();
    EXPECT_EQ(box.caption, QStringLiteral("Estatísticas"));
    EXPECT_EQ(box.kind, NoticeKind::Information);
    EXPECT_TRUE(box.text.contains(QStringLiteral("Análise de Tweed : 2\r\r")));
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), qv::test::StatsBytes(0, 2, 0, 1));

    work.remove(QStringLiteral("Stats.cef"));
    action("Estatsticas1")->trigger();
    const qv::test::Box failure = dialogs.take();
    EXPECT_EQ(failure.kind, NoticeKind::Error);
    EXPECT_TRUE(failure.text.contains(QStringLiteral("Stats.cef")));
}

TEST_F(ShellWindowsTest, ContactAndSiteGoToTheShell)
{
    action("Contato1")->trigger();
    action("Site1")->trigger();
    ASSERT_EQ(shell.opened.size(), 2u);
    const QUrl mail = shell.opened[0];
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    const QUrlQuery q(mail);
    EXPECT_FALSE(mail.path().isEmpty());
    EXPECT_FALSE(q.queryItemValue(QStringLiteral("cc")).isEmpty());
    EXPECT_EQ(q.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), QStringLiteral("Contato - Software Quorvel"));
    EXPECT_FALSE(q.hasQueryItem(QStringLiteral("body")) && !q.queryItemValue(QStringLiteral("body")).isEmpty());
    EXPECT_EQ(shell.opened[1].scheme(), QStringLiteral("https"));
}

TEST_F(ShellWindowsTest, TrayStatesAndTheirItems)
{
    platform::Tray* tray = form2->tray();
    EXPECT_EQ(tray->objectName(), QStringLiteral("tray"));
    EXPECT_FALSE(tray->popRestaurar()->isEnabled());
    EXPECT_FALSE(tray->popOcultar()->isEnabled());
    EXPECT_TRUE(tray->popFechar()->isEnabled());
    EXPECT_EQ(tray->cycleTimer()->interval(), 400);

    openFromMenu("Button3");  // MainShown
    EXPECT_TRUE(form2->isVisible());
    EXPECT_FALSE(tray->popRestaurar()->isEnabled());
    EXPECT_TRUE(tray->popOcultar()->isEnabled());
    EXPECT_FALSE(tray->cycling());

    tray->popOcultar()->trigger();  // InTray
    EXPECT_FALSE(form2->isVisible());
    EXPECT_TRUE(tray->cycling());
    EXPECT_TRUE(tray->popRestaurar()->isEnabled());
    EXPECT_FALSE(tray->popOcultar()->isEnabled());
    QTest::qWait(450);
    EXPECT_EQ(tray->iconIndex(), 1);

    emit tray->doubleClicked();  // back to MainShown at the page it showed
    EXPECT_TRUE(form2->isVisible());
    EXPECT_FALSE(tray->cycling());
    EXPECT_EQ(tray->iconIndex(), 0);
    EXPECT_EQ(form2->activePage(), MainWindow::Tweed);
    EXPECT_FALSE(tray->popRestaurar()->isEnabled());
    EXPECT_TRUE(tray->popOcultar()->isEnabled());
}

TEST_F(ShellWindowsTest, MinimisingHidesInTheTray)
{
    openFromMenu("Button4");
    form2->showMinimized();
    QTest::qWait(50);
    EXPECT_FALSE(form2->isVisible());
    EXPECT_TRUE(form2->tray()->cycling());
    form2->tray()->popRestaurar()->trigger();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_FALSE(form2->isMinimized());
    EXPECT_EQ(form2->activePage(), MainWindow::Bolton);
}

TEST_F(ShellWindowsTest, WithoutATrayMinimisingNeverHidesTheWindow)
{
    form2.reset();
    form1.reset();
    build(false);
    openFromMenu("Button3");
    form2->showMinimized();
    QTest::qWait(50);
    EXPECT_FALSE(form2->tray()->cycling());
    form2->tray()->popOcultar()->trigger();
    QTest::qWait(50);
    EXPECT_FALSE(form2->tray()->cycling());
    EXPECT_FALSE(form2->tray()->popRestaurar()->isEnabled()) << "nothing to restore from";
}

TEST_F(ShellWindowsTest, DoubleClickOnTheTrayDoesNothingDuringSplashOrStartMenu)
{
    form1->startSplash();
    emit form2->tray()->doubleClicked();
    EXPECT_FALSE(form2->isVisible());
    form1->Button1Click();
    emit form2->tray()->doubleClicked();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_TRUE(form1->isVisible());
}

TEST_F(ShellWindowsTest, SplashBecomesTheStartMenuOnTheTimer)
{
    EXPECT_EQ(form1->timer()->interval(), 5000);
    form1->timer()->setInterval(20);  // the test's shortcut; the program waits 5000 ms
    form1->startSplash();
    EXPECT_TRUE(form1->showingSplash());
    EXPECT_FALSE(child<QPushButton>(form1.get(), "Button6")->isVisible());
    QTest::qWait(120);
    EXPECT_FALSE(form1->showingSplash());
    EXPECT_FALSE(form1->timer()->isActive());
    EXPECT_EQ(child<QLabel>(form1.get(), "Label1")->text(), QStringLiteral("QUORVEL"));
    const char* rows[] = {"Button6", "Button2", "Button3", "Button4", "Button7", "Button8", "Button5"};
    const char* captions[] = {"OBJETIVO", "FUNDAMENTOS TEÓRICOS", "ANÁLISE DE TWEED", "ANÁLISE DE BOLTON",
                              "HISTÓRICO DO TRATAMENTO", "PLANO DE TRATAMENTO", "SAIR"};
    int lastY = -1;
    for (int i = 0; i < 7; ++i) {
        auto* b = child<QPushButton>(form1.get(), rows[i]);
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(b->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(b->size(), QSize(260, 45));
        EXPECT_TRUE(b->font().bold());
        EXPECT_GT(b->y(), lastY);
        lastY = b->y();
        EXPECT_EQ(b->cursor().shape(), i == 5 ? Qt::ArrowCursor : Qt::PointingHandCursor) << rows[i];
    }
    // Keyboard order puts SAIR before PLANO DE TRATAMENTO.
    QWidget* w = child<QPushButton>(form1.get(), "Button6");
    QStringList order;
    for (int i = 0; i < 7; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w && !qobject_cast<QPushButton*>(w))
            w = w->nextInFocusChain();
    }
    EXPECT_EQ(order.join(u','), QStringLiteral("Button6,Button2,Button3,Button4,Button7,Button5,Button8"));
}

struct StartButton {
    const char* button;
    MainWindow::Page page;
};

void PrintTo(const StartButton& b, std::ostream* os) { *os << b.button; }

class StartMenuButton : public ShellWindowsTest, public ::testing::WithParamInterface<StartButton> {};

TEST_P(StartMenuButton, OpensTheMainWindowAtItsPage)
{
    openFromMenu(GetParam().button);
    EXPECT_FALSE(form1->isVisible());
    EXPECT_FALSE(form1->isEnabled());
    EXPECT_TRUE(form2->isVisible());
    EXPECT_TRUE(form2->isEnabled());
    EXPECT_EQ(form2->activePage(), GetParam().page);
    EXPECT_TRUE(form2->popOcultarAction()->isEnabled());
    EXPECT_FALSE(form2->popRestaurarAction()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Buttons, StartMenuButton,
                         ::testing::Values(StartButton{"Button6", MainWindow::Foundations},
                                           StartButton{"Button2", MainWindow::Foundations},
                                           StartButton{"Button3", MainWindow::Tweed}, StartButton{"Button4", MainWindow::Bolton},
                                           StartButton{"Button7", MainWindow::History},
                                           StartButton{"Button8", MainWindow::Plan}));

TEST_F(ShellWindowsTest, ObjectiveShowsOverThePageUntilTheNextPageChange)
{
    openFromMenu("Button6");
    auto* obj = child<QPlainTextEdit>(form2.get(), "obj");
    EXPECT_TRUE(obj->isVisible());
    action("FundamentosTericos2")->trigger();
    EXPECT_TRUE(obj->isVisible()) << "the menu does not hide it";
    EXPECT_TRUE(child<QPlainTextEdit>(form2.get(), "Fteor")->isVisible());
    analise()->setCurrentIndex(MainWindow::Bolton);  // as a click on the tab does
    EXPECT_FALSE(obj->isVisible());
}

TEST_F(ShellWindowsTest, TypingIntoTheObjectiveIsNotAvailable)
{
    openFromMenu("Button6");
    auto* obj = child<QPlainTextEdit>(form2.get(), "obj");
    const QString before = obj->toPlainText();
    QTest::keyClick(obj, Qt::Key_A);
    dialogs.expectNotice(NoticeKind::Error, QStringLiteral("Ação não disponível!"), QStringLiteral("Fundamentos Teóricos"));
    EXPECT_EQ(obj->toPlainText(), before);
}

TEST_F(ShellWindowsTest, TabRuleRunsForTheUserOnly)
{
    openFromMenu("Button3");
    auto visibleLinks = [this] {
        int n = 0;
        for (const char* name : {"Label1", "Label2", "Label3", "Label7", "Label8", "Label9"})
            n += child<QLabel>(form2.get(), name)->isVisibleTo(form2->foundationsPage());
        return n;
    };
    form2->setActivePage(MainWindow::Foundations);  // by the program: nothing runs
    const int before = visibleLinks();
    analise()->setCurrentIndex(MainWindow::Tweed);  // by the user: reset
    EXPECT_EQ(visibleLinks(), 1);
    EXPECT_NE(before, 1);
    analise()->setCurrentIndex(MainWindow::Foundations);  // by the user: links
    EXPECT_EQ(visibleLinks(), 6);
    EXPECT_TRUE(child<QPlainTextEdit>(form2.get(), "Fteor")->isVisibleTo(form2->foundationsPage()));
    action("AnlisedeBolton1")->trigger();  // the module menu resets
    EXPECT_EQ(visibleLinks(), 1);
    EXPECT_FALSE(child<QPlainTextEdit>(form2.get(), "Fteor")->isVisibleTo(form2->foundationsPage()));
}

TEST_F(ShellWindowsTest, LinksOpenTheirArticles)
{
    openFromMenu("Button2");
    auto* label = child<QLabel>(form2.get(), "Label9");
    EXPECT_TRUE(label->isVisible());
    emit label->linkActivated(FoundationsPage::ArticleAddress(5));
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_TRUE(shell.opened[0].toString(QUrl::FullyDecoded).contains(FoundationsPage::ArticleTitles()[5]));
    EXPECT_EQ(label->accessibleName(), FoundationsPage::ArticleTitles()[5]);
}

TEST_F(ShellWindowsTest, MenuLeadsBackToTheStartMenuWithoutTheSplash)
{
    openFromMenu("Button2");
    QTest::mouseClick(child<QPushButton>(form2.get(), "Button3"), Qt::LeftButton);
    EXPECT_FALSE(form2->isVisible());
    EXPECT_FALSE(form2->isEnabled());
    EXPECT_TRUE(form1->isVisible());
    EXPECT_TRUE(form1->isEnabled());
    EXPECT_FALSE(form1->showingSplash());
    EXPECT_FALSE(form2->popOcultarAction()->isEnabled());
    EXPECT_FALSE(form2->popRestaurarAction()->isEnabled());
    EXPECT_FALSE(child<QPlainTextEdit>(form2.get(), "Fteor")->isVisibleTo(form2->foundationsPage()));
}

TEST_F(ShellWindowsTest, ObjectiveTextIsExact)
{
    const QStringList lines = FoundationsPage::ObjectiveText().split(u'\n');
    ASSERT_EQ(lines.size(), 29);
    EXPECT_EQ(lines[0], QString());
    EXPECT_EQ(lines[1], QString(80, u' ') + QStringLiteral("OBJETIVO"));
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[3], QString());
    for (int i = 4; i < 29; ++i) {
        if (i % 2 == 1) {
            EXPECT_EQ(lines[i], QString()) << "line " << i + 1;
        } else {
            EXPECT_TRUE(lines[i].endsWith(u' ') && !lines[i].endsWith(QStringLiteral("  "))) << "line " << i + 1;
        }
    }
    EXPECT_EQ(lines[4], QStringLiteral("          O correto diagnóstico e planejamento é de fundamental importância para um "
                                       "tratamento ortodôntico de "));
    EXPECT_EQ(lines[14], QStringLiteral("erros. "));
    EXPECT_EQ(lines[18], QStringLiteral("adequado planejamento do caso a ser tratado e conseqüentemente alcançar um resultado "
                                        "satisfatório. "));
    EXPECT_EQ(lines[26], QStringLiteral("estabilidade esperada. Diante disto, lembramos que o  diagnóstico gerado é meramente "
                                        "sugestivo, devendo o "));
    const QStringList heading = FoundationsPage::HeadingText().split(u'\n');
    ASSERT_EQ(heading.size(), 3);
    EXPECT_EQ(heading[0], QString(63, u' '));
    EXPECT_EQ(heading[1], QString(66, u' ') + QStringLiteral("FUNDAMENTOS TEÓRICOS"));
    EXPECT_EQ(heading[2], QString(3, u' '));
}

TEST_F(ShellWindowsTest, EveryExitCommandEndsTheEventLoop)
{
    openFromMenu("Button3");
    EXPECT_TRUE(loopEnds([this] { action("Exit1")->trigger(); }));
    EXPECT_TRUE(loopEnds([this] { form2->tray()->popFechar()->trigger(); }));
    EXPECT_TRUE(loopEnds([this] { form2->close(); }));
    EXPECT_TRUE(loopEnds([this] { form1->close(); }));
    EXPECT_TRUE(loopEnds([this] {
        form1->showStartMenu();
        QTest::mouseClick(child<QPushButton>(form1.get(), "Button5"), Qt::LeftButton);
    }));
}

TEST_F(ShellWindowsTest, WholeProgramRunsAndClearsTheMarkOnExit)
{
    form2.reset();
    form1.reset();
    qv::test::FakeDisplay display;
    display.mode = {1280, 720, 32};
    QTimer::singleShot(50, [] {
        auto* f1 = qobject_cast<QWidget*>(qApp->findChild<QObject*>(QStringLiteral("Form1")));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Form1") && w->isVisible())
                f1 = w;
        if (f1)
            f1->close();
        else
            QCoreApplication::exit(1);
    });
    const int code = RunQuorvel(*qApp, dialogs, display, shell);
    EXPECT_EQ(code, 0);
    dialogs.take();  // the resolution notice
    ASSERT_EQ(display.switches.size(), 2u);
    EXPECT_EQ(display.switches[1], (platform::DisplayMode{1280, 720, 32}));
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), qv::test::StatsBytes(0, 0, 0, 0));
    QStringList titles;
    for (QWidget* w : QApplication::topLevelWidgets())
        titles << w->objectName();
    EXPECT_FALSE(titles.contains(QStringLiteral("Form1"))) << "windows are destroyed at exit";
}

}  // namespace

namespace {

TEST_F(ShellWindowsTest, ASmallScreenGetsScrollBars)
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    openFromMenu("Button3");
    auto* scroll = form2->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    QTest::qWait(20);
    if (screen.width() < 1024 || screen.height() < 768) {
        EXPECT_LT(form2->centralWidget()->width() * form2->centralWidget()->height(), 1016 * 692);
        EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible() || scroll->verticalScrollBar()->isVisible());
    } else {
        EXPECT_EQ(form2->centralWidget()->size(), QSize(1016, 692));
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    }
}

}  // namespace
