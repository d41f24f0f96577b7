// Start-up and shutdown in a temporary working folder, with a fake display and fake boxes.

#include "printing/PrintActions.h"
#include "shell/Startup.h"
#include "records/StatsFile.h"
#include "support/WorkFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace qv;
using qv::platform::DisplayMode;
using qv::platform::NoticeKind;
using qv::test::StatsBytes;

namespace {

class StartupTest : public qv::test::WorkFolderTest {
protected:
    qv::test::FakeDisplay display;
};

class MissingFile : public StartupTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MissingFile, EndsWithTheReinstallMessageAndTouchesNothing)
{
    const QString name = QString::fromUtf8(GetParam());
    const QByteArray stats = StatsBytes(1, 5, 6, 7);  // even a running mark is not looked at
    work.write(QStringLiteral("Stats.cef"), stats);
    work.remove(name);

    const StartupResult r = RunStartup(dialogs, display);

    EXPECT_FALSE(r.proceed);
    EXPECT_NE(r.exitCode, 0);
    dialogs.expectNotice(NoticeKind::Error, MissingComponentsText(), QStringLiteral("Quorvel"));
    EXPECT_EQ(display.measured, 0);
    if (name != QLatin1String("Stats.cef")) {
        EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), stats);
    }
}

INSTANTIATE_TEST_SUITE_P(EachDataFile, MissingFile, ::testing::Values("Stats.cef", "Bolton.cef", "Análises.rav"));

TEST_F(StartupTest, MissingTextHasTwentySpacesAfterTheBreak)
{
    EXPECT_TRUE(MissingComponentsText().contains(QStringLiteral("!\r                    Reinstale")));
    EXPECT_FALSE(MissingComponentsText().contains(QStringLiteral("!\r                     Reinstale")));
}

TEST_F(StartupTest, RunningMarkEndsWithoutMeasuringOrWriting)
{
    QByteArray stats = StatsBytes(1, 2, 0, 1);
    stats[1] = 'x';  // padding must survive too
    work.write(QStringLiteral("Stats.cef"), stats);

    const StartupResult r = RunStartup(dialogs, display);

    EXPECT_FALSE(r.proceed);
    dialogs.expectNotice(NoticeKind::Error, AlreadyRunningText(), QStringLiteral("Quorvel"));
    EXPECT_EQ(display.measured, 0);
    EXPECT_TRUE(display.switches.empty());
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), stats);
}

TEST_F(StartupTest, RunningMarkTextHasItsSpaces)
{
    const QString t = AlreadyRunningText();
    EXPECT_TRUE(t.startsWith(QString(32, u' ') + QStringLiteral("Já existe")));
    EXPECT_TRUE(t.endsWith(QStringLiteral("\r\r") + QString(53, u' ') + QStringLiteral("Tente reinstalar o software!")));
    EXPECT_TRUE(t.contains(QStringLiteral("executada!\r\r\rCaso o software")));
}

TEST_F(StartupTest, OnlyAFlagOfExactlyOneMeansRunning)
{
    work.write(QStringLiteral("Stats.cef"), StatsBytes(2, 0, 0, 0));
    const StartupResult r = RunStartup(dialogs, display);
    EXPECT_TRUE(r.proceed);
}

struct LowDisplay {
    DisplayMode found;
    const char* firstLine;
};

void PrintTo(const LowDisplay& d, std::ostream* os) { *os << d.found.width << 'x' << d.found.height << 'x' << d.found.bitsPerPixel; }

class LowDisplayTest : public StartupTest, public ::testing::WithParamInterface<LowDisplay> {};

TEST_P(LowDisplayTest, SwitchesMarksAndRestoresAtShutdown)
{
    const LowDisplay c = GetParam();
    display.mode = c.found;
    QByteArray stats = StatsBytes(0, 2, 0, 1);
    stats[2] = char(0x7f);
    work.write(QStringLiteral("Stats.cef"), stats);

    const StartupResult r = RunStartup(dialogs, display);

    ASSERT_TRUE(r.proceed);
    const qv::test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Information);
    EXPECT_EQ(box.caption, QStringLiteral("Quorvel"));
    EXPECT_EQ(box.text.section(u'\r', 0, 0).toStdString(), c.firstLine);
    EXPECT_EQ(box.text, ResolutionChangeText(c.found));
    ASSERT_EQ(display.switches.size(), 1u);
    EXPECT_EQ(display.switches[0], (DisplayMode{1024, 768, 32}));
    QByteArray marked = stats;
    marked[0] = 1;
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), marked);

    // A count made during the run survives the shutdown.
    QByteArray counted = StatsBytes(1, 3, 0, 1);
    counted[2] = char(0x7f);
    work.write(QStringLiteral("Stats.cef"), counted);
    EXPECT_EQ(RunShutdown(dialogs, display, r.found), 0);
    ASSERT_EQ(display.switches.size(), 2u);
    EXPECT_EQ(display.switches[1], c.found);
    QByteArray cleared = counted;
    cleared[0] = 0;
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), cleared);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LowDisplayTest,
    ::testing::Values(LowDisplay{{1366, 768, 24}, "                         Sua resolução atual é 1366x768 - 24 bits."},
                      LowDisplay{{1280, 720, 32}, "                         Sua resolução atual é 1280x720 - 32 bits."},
                      LowDisplay{{1920, 1080, 16}, "                         Sua resolução atual é 1920x1080 - 16 bits."},
                      LowDisplay{{1023, 768, 32}, "                         Sua resolução atual é 1023x768 - 32 bits."},
                      LowDisplay{{1024, 767, 32}, "                         Sua resolução atual é 1024x767 - 32 bits."}));

TEST_F(StartupTest, ResolutionTextReadsAsOneMessage)
{
    EXPECT_EQ(ResolutionChangeText({1366, 768, 24}),
              QStringLiteral("                         Sua resolução atual é 1366x768 - 24 bits.\r"
                             "A resolução será alterada para 1024x768 - 32 bits para melhor visualização!\r"
                             "             Após a execução o monitor retornará à resolução original."));
}

TEST_F(StartupTest, AdequateDisplayChangesNothingUntilShutdown)
{
    display.mode = {1024, 768, 32};
    QByteArray stats = StatsBytes(0, 4, 5, 6);
    stats[3] = char(0xAB);
    stats.append("trailing bytes");
    work.write(QStringLiteral("Stats.cef"), stats);

    const StartupResult r = RunStartup(dialogs, display);

    ASSERT_TRUE(r.proceed);
    EXPECT_TRUE(display.switches.empty());
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), stats);

    EXPECT_EQ(RunShutdown(dialogs, display, r.found), 0);
    ASSERT_EQ(display.switches.size(), 1u);
    EXPECT_EQ(display.switches[0], (DisplayMode{1024, 768, 32}));
    // The first write leaves just the one record.
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), stats.left(16));
}

TEST_F(StartupTest, ShortStatsFileEndsWithAnErrorNamingIt)
{
    work.write(QStringLiteral("Stats.cef"), QByteArray(15, '\0'));
    const StartupResult r = RunStartup(dialogs, display);
    EXPECT_FALSE(r.proceed);
    const qv::test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_TRUE(box.text.contains(QStringLiteral("Stats.cef"))) << box.text.toStdString();
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), QByteArray(15, '\0'));
}

TEST_F(StartupTest, UnreadableBoltonFileEndsWithAnErrorNamingIt)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    QFile::setPermissions(work.file(QStringLiteral("Bolton.cef")), QFileDevice::WriteOwner);
    qv::test::Unprivileged user(work);
    ASSERT_TRUE(user.ok());
    const StartupResult r = RunStartup(dialogs, display);
    EXPECT_FALSE(r.proceed);
    const qv::test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_TRUE(box.text.contains(QStringLiteral("Bolton.cef")));
}

TEST_F(StartupTest, UnwritableStatsFileAtTheModeChangeEndsWithAnError)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    display.mode = {800, 600, 32};
    const QByteArray stats = work.read(QStringLiteral("Stats.cef"));
    QFile::setPermissions(work.file(QStringLiteral("Stats.cef")), QFileDevice::ReadOwner);
    qv::test::Unprivileged user(work);
    ASSERT_TRUE(user.ok());

    const StartupResult r = RunStartup(dialogs, display);

    EXPECT_FALSE(r.proceed);
    dialogs.take();  // the resolution notice
    const qv::test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_TRUE(box.text.contains(QStringLiteral("Stats.cef")));
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), stats);
}

TEST_F(StartupTest, StatsFileRemovedDuringTheRunIsReportedAtShutdown)
{
    const StartupResult r = RunStartup(dialogs, display);
    ASSERT_TRUE(r.proceed);
    work.remove(QStringLiteral("Stats.cef"));
    EXPECT_NE(RunShutdown(dialogs, display, r.found), 0);
    const qv::test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_FALSE(work.exists(QStringLiteral("Stats.cef")));  // the program never creates it
}

}  // namespace
