// Saving on a share mounted through a FUSE client that does not keep the promises the locks rest
// on (see ShareLikeFs.cpp): two mounts of one folder are two computers of one clinic.

#include "records/FileIo.h"
#include "records/FolderSafety.h"
#include "records/HistoryFile.h"
#include "records/IoError.h"

#include "ShareMount.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <map>
#include <thread>

using namespace qv;

namespace {

const QString kShareFs = QStringLiteral(QUORVEL_SHARE_FS);
const QString kHelper = QStringLiteral(QUORVEL_FILE_HELPER);

class ShareClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const QString missing = test::ShareClientMissing(kShareFs); !missing.isEmpty())
            GTEST_SKIP() << qPrintable(missing);
        ASSERT_TRUE(dir.isValid());
        const QDir d(dir.path());
        ASSERT_TRUE(d.mkdir(QStringLiteral("server")) && d.mkdir(QStringLiteral("a")) && d.mkdir(QStringLiteral("b")));
        ASSERT_TRUE(d.mkdir(QStringLiteral("server/Análises")));
        for (const QString& point : {QStringLiteral("a"), QStringLiteral("b")}) {
            mounts.push_back(std::make_unique<test::ShareMount>(kShareFs, d.filePath(QStringLiteral("server")), d.filePath(point)));
            ASSERT_TRUE(mounts.back()->mounted()) << "the share client did not mount at " << qPrintable(point);
        }
    }
    void TearDown() override
    {
        FileIoHooksForTesting() = {};
        mounts.clear();
    }
    // A file of the shared folder as computer "a" or "b" sees it; "server" is the folder itself.
    QString at(const char* computer, const QString& name) const
    {
        return QDir(dir.path()).filePath(QString::fromLatin1(computer) + QStringLiteral("/Análises/") + name);
    }
    QByteArray read(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList onServer() const
    {
        return QDir(QDir(dir.path()).filePath(QStringLiteral("server/Análises"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir dir;
    std::vector<std::unique_ptr<test::ShareMount>> mounts;
};

TEST_F(ShareClient, IsWarnedAboutNamingItsMountOnceAndALocalFolderIsNot)
{
    // Through the link the README recommends, as on a computer of the clinic.
    const QString work = QDir(dir.path()).filePath(QStringLiteral("work"));
    ASSERT_TRUE(QDir().mkpath(work));
    ASSERT_TRUE(QFile::link(QDir(dir.path()).filePath(QStringLiteral("a/Análises")), work + QStringLiteral("/Análises")));
    struct Case {
        QString folder;
        bool atomic;
    };
    const Case cases[] = {
        {work + QStringLiteral("/Análises"), false},
        {QDir(dir.path()).filePath(QStringLiteral("b/Análises")), false},
        {QDir(dir.path()).filePath(QStringLiteral("server/Análises")), true},
        {QDir(dir.path()).filePath(QStringLiteral("nowhere")), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasAtomicExclusiveCreate(c.folder), c.atomic) << qPrintable(c.folder);
        const QString text = UnprotectedFolderWarning(c.folder);
        EXPECT_EQ(text.isEmpty(), c.atomic) << qPrintable(c.folder);
        if (!c.atomic) {
            const QString mount = QFileInfo(c.folder).canonicalFilePath().section(u'/', 0, -2);
            EXPECT_TRUE(text.contains(QStringLiteral("\"%1\"").arg(mount))) << qPrintable(text);
            EXPECT_TRUE(text.contains(QStringLiteral("fuse.sharelike"))) << qPrintable(text);
            EXPECT_TRUE(text.contains(QStringLiteral("salvamentos feitos de vários computadores não estão protegidos")));
        }
    }
    // Once per mount and run: the start-up and every later save ask.
    EXPECT_FALSE(UnprotectedFolderWarningOnce(work + QStringLiteral("/Análises")).isEmpty());
    EXPECT_TRUE(UnprotectedFolderWarningOnce(work + QStringLiteral("/Análises")).isEmpty());
    EXPECT_FALSE(UnprotectedFolderWarningOnce(QDir(dir.path()).filePath(QStringLiteral("b/Análises"))).isEmpty());
    EXPECT_TRUE(UnprotectedFolderWarningOnce(QDir(dir.path()).filePath(QStringLiteral("server/Análises"))).isEmpty());
}

TEST_F(ShareClient, CreatesReplacesAndAppendsWithoutLinksAppendOpensOrExclusiveCreates)
{
    WriteNewFileBytes(at("a", QStringLiteral("ANA.bol")), "first");
    EXPECT_EQ(read(at("b", QStringLiteral("ANA.bol"))), "first");
    EXPECT_THROW(WriteNewFileBytes(at("b", QStringLiteral("ANA.bol")), "second"), FileExistsError);
    EXPECT_EQ(read(at("server", QStringLiteral("ANA.bol"))), "first");

    ReplaceFileBytes(at("b", QStringLiteral("ANA.bol")), "replaced");
    EXPECT_EQ(read(at("a", QStringLiteral("ANA.bol"))), "replaced");

    const QString pln = at("a", QStringLiteral("ANA.pln"));
    EXPECT_EQ(SaveHistoryVisit(pln, QStringLiteral("ANA"), HistoryBlock(QStringLiteral("01/12/2026"), {QStringLiteral("A")})), HistorySave::Created);
    EXPECT_EQ(SaveHistoryVisit(at("b", QStringLiteral("ANA.pln")), QStringLiteral("ANA"),
                               HistoryBlock(QStringLiteral("02/12/2026"), {QStringLiteral("B")})),
              HistorySave::Appended);
    EXPECT_EQ(ReadHistoryFile(pln).lines.size(), 2 * 4);  // both visits, whole
    EXPECT_EQ(onServer(), (QStringList{"ANA.bol", "ANA.pln"}));  // no lock, no temporary file
}

TEST_F(ShareClient, ADeadProgramsLockIsTakenOverWhereAnOpenFileCannotBeDeleted)
{
    const QString pln = at("a", QStringLiteral("ANA.pln"));
    QProcess holder;
    holder.start(kHelper, {QStringLiteral("hold"), pln, QStringLiteral("0")});
    ASSERT_TRUE(holder.waitForFinished(10000));
    ASSERT_EQ(holder.readAllStandardOutput().trimmed(), "locked");
    ASSERT_TRUE(QFile::exists(at("server", QStringLiteral("ANA.pln.lock"))));
    // The other computer's mount, the dead program on this computer: taken over at once.
    EXPECT_EQ(SaveHistoryVisit(at("b", QStringLiteral("ANA.pln")), QStringLiteral("ANA"),
                               HistoryBlock(QStringLiteral("1"), {QStringLiteral("X")})),
              HistorySave::Created);
    EXPECT_EQ(onServer(), QStringList{"ANA.pln"});

    // A lock cut by a crash, held open for a moment by another computer reading it when it is
    // taken over: the removal waits for it and the lock is gone afterwards.
    QFile cut(at("server", QStringLiteral("ANA.pln.lock")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly) && cut.write("4711\nquor") == 9 && cut.flush());
    ASSERT_TRUE(cut.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime));
    cut.close();
    QFile reader(at("a", QStringLiteral("ANA.pln.lock")));
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    std::thread closeSoon([&] {
        QThread::msleep(60);
        reader.close();
    });
    {
        FileLock lock(at("b", QStringLiteral("ANA.pln")), 1500);
        EXPECT_TRUE(lock.isLocked());
        EXPECT_TRUE(lock.takeTookOver());
    }
    closeSoon.join();
    EXPECT_EQ(onServer(), QStringList{"ANA.pln"});
}

TEST_F(ShareClient, TwoComputersCreatingOnePatientNeverLeaveTheLosersRecord)
{
    constexpr int kRaces = 30;
    int twoWinners = 0;
    for (int race = 0; race < kRaces; ++race) {
        const QString name = QStringLiteral("CORRIDA%1.bol").arg(race);
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 150;
        std::map<QByteArray, std::unique_ptr<QProcess>> computers;
        for (const char* c : {"a", "b"}) {
            const QByteArray content = QByteArray("record of computer ") + c + QByteArray(200, *c);
            auto p = std::make_unique<QProcess>();
            p->start(kHelper, {QStringLiteral("create"), at(c, name), QString::fromLatin1(content), QString::number(start)});
            computers[content] = std::move(p);
        }
        std::map<QByteArray, QByteArray> answer;
        for (auto& [content, p] : computers) {
            ASSERT_TRUE(p->waitForFinished(20000));
            answer[content] = p->readAllStandardOutput().trimmed();
            EXPECT_TRUE(answer[content] == "written" || answer[content] == "exists" || answer[content] == "error")
                << answer[content].constData();
        }
        const QByteArray onDisk = read(at("server", name));
        ASSERT_TRUE(answer.count(onDisk)) << "race " << race << ": a mixture or nobody's record";
        EXPECT_EQ(answer[onDisk], "written") << "race " << race << ": the record on disk is one its computer was not told was saved";
        twoWinners += std::count_if(answer.begin(), answer.end(), [](const auto& a) { return a.second == "written"; }) == 2;
    }
    EXPECT_EQ(onServer().filter(QStringLiteral(".tmp")), QStringList{});
    EXPECT_EQ(onServer().filter(QStringLiteral(".lock")), QStringList{});
    std::printf("[          ] races where both computers were told \"written\": %d of %d\n", twoWinners, kRaces);
}

}  // namespace
