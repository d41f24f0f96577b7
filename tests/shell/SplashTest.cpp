// The splash on the screen first: its pictures from raw pixels, the start menu built after it,
// and the whole program still creating every window before its event loop runs.

#include "shell/Application.h"
#include "shell/Art.h"
#include "shell/StartWindow.h"
#include "support/WorkFolder.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QResource>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct Picture {
    const char* name;
    QSize size;
    QImage::Format stored;  // opaque pictures need no alpha channel
};

class ArtPictureTest : public ::testing::TestWithParam<Picture> {};

TEST_P(ArtPictureTest, RawPixelsAreThePngsPixels)
{
    InitArt();
    const Picture p = GetParam();
    const QString name = QLatin1String(p.name);
    ASSERT_TRUE(QResource(QStringLiteral(":/art/") + name + QStringLiteral(".raw")).isValid())
        << "the raw form is compiled in";
    const QImage raw = ArtPicture(name);
    const QImage png(QStringLiteral(":/art/") + name + QStringLiteral(".png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(raw.size(), p.size);
    EXPECT_EQ(raw.format(), p.stored);
    const QImage a = raw.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = png.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_TRUE(a == b) << "every pixel as the PNG gives it";
}

INSTANTIATE_TEST_SUITE_P(FirstWindow, ArtPictureTest,
                         ::testing::Values(Picture{"splash", {700, 381}, QImage::Format_RGB32},
                                           Picture{"quorvel", {64, 64}, QImage::Format_ARGB32_Premultiplied}));

TEST(ArtPicture, AnUnknownNameIsNull) { EXPECT_TRUE(ArtPicture(QStringLiteral("nothing")).isNull()); }

class SplashFirstTest : public qv::test::WorkFolderTest {};

TEST_F(SplashFirstTest, MenuComesAfterTheSplashAndEndsTheSameWay)
{
    StartWindow form1(nullptr, StartWindow::MenuTiming::AfterSplash);
    EXPECT_EQ(form1.findChild<QPushButton*>(QStringLiteral("Button6")), nullptr);
    form1.timer()->setInterval(20);  // the test's shortcut; the program waits 5000 ms
    form1.startSplash();
    form1.waitUntilPainted(1000);
    EXPECT_TRUE(form1.testAttribute(Qt::WA_Mapped)) << "exposed, hence painted";
    EXPECT_TRUE(form1.showingSplash());
    // Shown and named after its window, for screen readers as before.
    EXPECT_EQ(form1.findChild<QLabel*>(QStringLiteral("Image2"))->accessibleName(), QStringLiteral("Quorvel"));
    form1.buildMenu();
    form1.buildMenu();  // a second call adds nothing
    EXPECT_EQ(form1.findChildren<QPushButton*>().size(), 8) << "seven rows and the hidden Button1";
    for (QPushButton* b : form1.findChildren<QPushButton*>())
        EXPECT_FALSE(b->isVisible()) << b->objectName().toStdString();
    QTest::qWait(120);
    EXPECT_FALSE(form1.showingSplash());
    EXPECT_TRUE(form1.findChild<QPushButton*>(QStringLiteral("Button6"))->isVisible());
    EXPECT_EQ(form1.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("QUORVEL"));
}

TEST_F(SplashFirstTest, TheTimerBuildsAMenuNotYetBuilt)
{
    StartWindow form1(nullptr, StartWindow::MenuTiming::AfterSplash);
    form1.startSplash();
    form1.Button1Click();
    ASSERT_NE(form1.findChild<QPushButton*>(QStringLiteral("Button5")), nullptr);
    EXPECT_TRUE(form1.findChild<QPushButton*>(QStringLiteral("Button5"))->isVisible());
}

TEST_F(SplashFirstTest, EveryWindowExistsWhenTheEventLoopRuns)
{
    qv::test::FakeDisplay display;
    display.mode = {1280, 1024, 32};
    qv::test::FakeShell shell;
    QStringList seen;
    bool menuBuilt = false;
    // Runs once the program's own event loop runs (a timer may also fire while the splash waits
    // for its first paint, before that loop).
    std::function<void()> look = [&] {
        if (QThread::currentThread()->loopLevel() == 0) {
            QTimer::singleShot(0, look);
            return;
        }
        for (QWidget* w : QApplication::topLevelWidgets())
            seen << w->objectName();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Form1"))
                menuBuilt = w->findChild<QPushButton*>(QStringLiteral("Button6")) != nullptr;
        QCoreApplication::exit(0);
    };
    QTimer::singleShot(0, look);
    EXPECT_EQ(RunQuorvel(*qApp, dialogs, display, shell), 0);
    for (const char* form : {"Form1", "Form2", "Form3", "Form4"})
        EXPECT_TRUE(seen.contains(QLatin1String(form))) << form;
    EXPECT_TRUE(menuBuilt);
}

}  // namespace
