// Every window of the program on a 1024 x 768 screen: the window and its frame inside the
// screen, and every control, column and button text whole. The program runs from that size up.
//
// This program has its own main: the offscreen screen is made 1024 x 768 before the
// application starts.

#include "patients/EvolutionView.h"
#include "patients/PatientsWindow.h"
#include "patients/StageSamples.h"
#include "platform/Accessibility.h"
#include "platform/Modules.h"
#include "printing/ClinicDialog.h"
#include "guide/GuideWindow.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "shell/StartWindow.h"
#include "spaceentry/SpaceEntryWindow.h"
#include "support/WorkFolder.h"
#include "tracing/NormsDialog.h"
#include "tracing/TracingWindow.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace qv;

namespace {

constexpr QSize kScreen(1024, 768);
// What a desktop's window frame adds around a window: borders and the title bar.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 32;

QString Describe(const QWidget* w)
{
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
             w->inherits("QAbstractButton") ? static_cast<const QAbstractButton*>(w)->text()
             : w->inherits("QLabel")        ? static_cast<const QLabel*>(w)->text().left(40)
                                            : QString());
}

// Inside a scroll area's viewport a control may lie beyond what shows: the area scrolls to it.
bool InScrolledContent(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(p->parentWidget()))
            if (area->viewport() == p)
                return true;
    return false;
}

// Everything a clinician needs of the window shows whole on the screen.
void ExpectFitsTheScreen(QWidget* window)
{
    ASSERT_TRUE(window->isVisible());
    QCoreApplication::processEvents();
    const QRect area = window->screen()->availableGeometry();
    ASSERT_EQ(area.size(), kScreen);
    EXPECT_LE(window->width() + kFrameWidth, area.width()) << Describe(window).toStdString();
    EXPECT_LE(window->height() + kFrameHeight, area.height()) << Describe(window).toStdString();
    EXPECT_TRUE(area.contains(window->geometry()))
        << Describe(window).toStdString() << " at " << window->x() << "," << window->y() << " " << window->width()
        << "x" << window->height();

    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow() || InScrolledContent(w, window))
            continue;
        const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
        // A backdrop covering the whole window (the splash picture) may run past its edge.
        if (!inWindow.contains(window->rect())) {
            EXPECT_TRUE(window->rect().contains(inWindow)) << Describe(w).toStdString() << " is cut by the window's edge";
        }
        // A button or a one-line label narrower than its text cuts the text.
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            const QString text = QString(button->text()).remove(u'&');
            EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(text) + 4) << Describe(w).toStdString() << " is cut";
        }
        const auto* label = qobject_cast<const QLabel*>(w);
        if (label && !label->wordWrap() && !label->hasScaledContents() && !label->text().isEmpty()) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << Describe(w).toStdString() << " is cut";
        }
        // Every column of a table shows whole, without scrolling sideways.
        if (const auto* table = qobject_cast<const QTableView*>(w)) {
            EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width())
                << Describe(w).toStdString() << ": a column is cut";
            EXPECT_FALSE(table->horizontalScrollBar()->isVisible()) << Describe(w).toStdString();
        }
    }
}

struct WindowCase {
    const char* name;
    std::function<QWidget*(Windows&, test::FakeDialogs&)> open;
};

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

void PutPatients(const test::WorkFolder& work)
{
    const auto stages = test::FourStages(QStringLiteral("MARIA APARECIDA DOS SANTOS"));
    const char* names[] = {"-INICIAL.twe", "-INTER1.twe", "-INTER2.twe", "-FINAL.twe"};
    for (int s = 0; s < 4; ++s)
        work.write(QStringLiteral("Análises/MARIA APARECIDA DOS SANTOS") + QLatin1String(names[s]), stages[size_t(s)]);
    work.write(QStringLiteral("Análises/JOSE.bol"), "x");
}

MainWindow* OnPage(Windows& w, MainWindow::Page page)
{
    w.form2()->showMain();
    w.form2()->setActivePage(page);
    return w.form2();
}

const WindowCase kWindows[] = {
    {"Splash", [](Windows& w, test::FakeDialogs&) -> QWidget* { w.form1()->startSplash(); return w.form1(); }},
    {"StartMenu", [](Windows& w, test::FakeDialogs&) -> QWidget* {
         w.form1()->startSplash();
         w.form1()->Button1Click();
         return w.form1();
     }},
    {"MainFoundations", [](Windows& w, test::FakeDialogs&) -> QWidget* { return OnPage(w, MainWindow::Foundations); }},
    {"MainTweed", [](Windows& w, test::FakeDialogs&) -> QWidget* { return OnPage(w, MainWindow::Tweed); }},
    {"MainBolton", [](Windows& w, test::FakeDialogs&) -> QWidget* { return OnPage(w, MainWindow::Bolton); }},
    {"MainHistory", [](Windows& w, test::FakeDialogs&) -> QWidget* { return OnPage(w, MainWindow::History); }},
    {"MainPlan", [](Windows& w, test::FakeDialogs&) -> QWidget* { return OnPage(w, MainWindow::Plan); }},
    {"Guide", [](Windows& w, test::FakeDialogs& dialogs) -> QWidget* {
         w.form3()->Open(QStringLiteral("Análise de Tweed"), {});
         EXPECT_EQ(dialogs.take().kind, platform::NoticeKind::Information);  // the guide's opening notice
         return w.form3();
     }},
    {"SpaceEntry", [](Windows& w, test::FakeDialogs&) -> QWidget* { w.form4()->Open(); return w.form4(); }},
    {"Tracing", [](Windows& w, test::FakeDialogs&) -> QWidget* { w.tracing()->Open(); return w.tracing(); }},
    {"TracingEveryAnalysis", [](Windows& w, test::FakeDialogs&) -> QWidget* {
         w.tracing()->setAnalyses(w.tracing()->catalogue().titles());
         w.tracing()->Open();
         w.tracing()->findChild<QTabWidget*>(QStringLiteral("medidasAbas"))->setCurrentIndex(1);
         return w.tracing();
     }},
    {"Norms", [](Windows& w, test::FakeDialogs& dialogs) -> QWidget* {
         auto* d = new NormsDialog(dialogs, CephNorms::defaults(), w.form2());
         d->setAttribute(Qt::WA_DeleteOnClose);
         d->show();
         return d;
     }},
    {"Patients", [](Windows& w, test::FakeDialogs&) -> QWidget* { w.patients()->Open(); return w.patients(); }},
    {"Evolution", [](Windows& w, test::FakeDialogs&) -> QWidget* {
         w.patients()->Open();
         w.patients()->showEvolution(w.patients()->model()->rowOf(QStringLiteral("MARIA APARECIDA DOS SANTOS")));
         return w.patients()->evolutionView();
     }},
    {"ClinicInfo", [](Windows& w, test::FakeDialogs& dialogs) -> QWidget* {
         auto* d = new report::ClinicDialog(dialogs, report::ClinicInfo{}, w.form2());
         d->setAttribute(Qt::WA_DeleteOnClose);
         d->show();
         return d;
     }},
};

class ScreenFit : public test::WorkFolderTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(ScreenFit, TheWindowShowsWholeOnA1024By768Screen)
{
    PutPatients(work);
    test::FakeShell shell;
    Windows windows(dialogs, shell);
    QWidget* window = GetParam().open(windows, dialogs);
    ASSERT_NE(window, nullptr);
    ExpectFitsTheScreen(window);
    window->close();
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, ScreenFit, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

class PatientsFit : public test::WorkFolderTest {};

// The list's names show from their first letter to their last, beside every column.
TEST_F(PatientsFit, LongNamesShowWhole)
{
    PutPatients(work);
    PatientsWindow window;
    window.Open();
    QCoreApplication::processEvents();
    QTableView* table = window.table();
    const int name = table->columnWidth(PatientTableModel::Name);
    EXPECT_GE(name, table->fontMetrics().horizontalAdvance(QStringLiteral("MARIA APARECIDA DOS SANTOS")) + 8);
    EXPECT_GE(window.x(), 0);
    EXPECT_LE(window.x() + window.width(), kScreen.width());
    // Nothing the table holds lies beyond its right edge.
    EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width());
}

TEST(PatientsWindowSize, BoundedByTheScreen)
{
    EXPECT_EQ(PatientsWindow::PreferredSize(nullptr), QSize(980, 620));
    const QSize onScreen = PatientsWindow::PreferredSize(QGuiApplication::primaryScreen());
    EXPECT_LE(onScreen.width() + kFrameWidth, kScreen.width());
    EXPECT_LE(onScreen.height() + kFrameHeight, kScreen.height());
}

}  // namespace

int main(int argc, char** argv)
{
    // The offscreen platform reads its screens from a file: one screen of 1024 x 768.
    QTemporaryDir config;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        QFile file(config.filePath(QStringLiteral("screen.json")));
        if (!file.open(QIODevice::WriteOnly)
            || file.write(QStringLiteral(R"({"screens": [{"name": "S1024", "x": 0, "y": 0, "width": %1, )"
                                         R"("height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                              .arg(kScreen.width())
                              .arg(kScreen.height())
                              .toLatin1())
                   < 0)
            return 2;
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(file.fileName()));
    }
    test::KeepSettingsApart();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::InstallAccessibility();
    test::UseProgramFontsAndLook();
    platform::AddModuleFolder(QStringLiteral(QUORVEL_MODULE_DIR));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
