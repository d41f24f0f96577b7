// Locks left by programs that died (cut, empty, on this computer or another), what their saves
// left behind, and the check that a save's file is the one it wrote.

#include "platform/FileSystem.h"
#include "records/FileIo.h"
#include "records/HistoryFile.h"
#include "records/IoError.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include "support/SystemTraits.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace qv;

namespace {

class Locks : public ::testing::Test {
protected:
    void TearDown() override { FileIoHooksForTesting() = {}; }
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void write(const QString& name, const QByteArray& bytes, int ageSeconds = 0) const
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush());
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList everything() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QTemporaryDir dir;
};

QByteArray ownProgram() { return platform::ProgramOf(QCoreApplication::applicationPid()); }

// A process number that was just in use and is gone.
qint64 deadPid()
{
    QProcess p;
    p.start(QStringLiteral(QUORVEL_FILE_HELPER), {});  // ends at once
    p.waitForFinished();
    return p.processId() ? p.processId() : 4194303;
}

QByteArray lockOf(qint64 pid, const QByteArray& program, const QByteArray& host, const QByteArray& machine, const QByteArray& boot)
{
    return QByteArray::number(pid) + '\n' + program + '\n' + host + '\n' + machine + '\n' + boot + '\n';
}

TEST_F(Locks, AnAbandonedLockIsTakenOverAndALiveOneWaitedFor)
{
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray machine = QSysInfo::machineUniqueId();
    const QByteArray boot = QSysInfo::bootUniqueId();
    const QByteArray other = lockOf(31337, "quorvel", "recepcao", "0123456789abcdef0123456789abcdef", "b00b");
    const qint64 self = QCoreApplication::applicationPid();
    struct Case {
        const char* what;
        QByteArray content;
        int ageSeconds;
        bool takenOver;
    };
    const Case cases[] = {
        // Cut by a crash: whoever wrote it, abandoned once it is a moment old.
        {"another computer's, cut in its machine id", other.left(other.indexOf("0123") + 10), 3, true},
        {"another computer's, cut, just written", other.left(other.indexOf("0123") + 10), 0, false},
        {"this computer's, cut after the host", lockOf(self, ownProgram(), host, machine, boot).left(20), 3, true},
        {"empty, a few seconds old", "", 3, true},
        {"empty, just created", "", 0, false},
        {"zeros where the text was", QByteArray(60, '\0'), 3, true},
        {"not a number where the process is", "quorvel\nquorvel\nrecepcao\nx\ny\n", 3, true},
        // Whole, from another computer: its owner cannot be asked, so only its age counts.
        {"another computer's, recent", other, 5, false},
        {"another computer's, past the stale time", other, kStaleLockMs / 1000 + 5, true},
        {"another computer's, dated far ahead", other, -(kStaleLockMs / 1000 + 5), true},
        // Whole, from this computer: its owner is asked.
        {"this computer's, owner gone", lockOf(deadPid(), "quorvel", host, machine, boot), 0, true},
        {"this computer's, owner alive, however old", lockOf(self, ownProgram(), host, machine, boot), 120, false},
        {"this computer's, owner alive, older program line", lockOf(self, "", host, machine, boot), 120, false},
        {"this computer's, number reused by another program", lockOf(self, "not-quorvel", host, machine, boot), 0, true},
        // Same name and machine id, another boot: an earlier start, or a computer copied from this
        // one's disk. Its owner cannot be asked either.
        {"this computer's name, another boot, recent", lockOf(self, ownProgram(), host, machine, "earlier-boot"), 5, false},
        {"this computer's name, another boot, stale", lockOf(self, ownProgram(), host, machine, "earlier-boot"), kStaleLockMs / 1000 + 5, true},
    };
    for (const Case& c : cases) {
        const QString path = file(QStringLiteral("ANA.pln"));
        write(QStringLiteral("ANA.pln.lock"), c.content, c.ageSeconds);
        {
            FileLock lock(path, 150);
            EXPECT_EQ(lock.isLocked(), c.takenOver) << c.what;
            if (lock.isLocked()) {
                // Now this program's, whole.
                const QList<QByteArray> lines = read(QStringLiteral("ANA.pln.lock")).split('\n');
                EXPECT_EQ(lines.size(), 6) << c.what;
                EXPECT_EQ(lines.value(0).toLongLong(), qint64(QCoreApplication::applicationPid())) << c.what;
                EXPECT_EQ(lines.value(2), host) << c.what;
            } else {
                EXPECT_TRUE(lock.failureText().contains(QStringLiteral("sendo salvo em outro computador"))) << c.what;
                EXPECT_EQ(read(QStringLiteral("ANA.pln.lock")), c.content) << c.what;
            }
        }
        QFile::remove(file(QStringLiteral("ANA.pln.lock")));
        EXPECT_EQ(everything(), QStringList{}) << c.what;  // no claim of the removal left either
    }
}

TEST_F(Locks, ALockOfThisProgramIsReadAsAliveByAnother)
{
    // Another program on this computer sees this one's lock as held, whole, however long.
    FileLock mine(file(QStringLiteral("B.bol")));
    ASSERT_TRUE(mine.isLocked());
    QProcess other;
    other.start(QStringLiteral(QUORVEL_FILE_HELPER), {QStringLiteral("hold"), file(QStringLiteral("B.bol")), QStringLiteral("0")});
    ASSERT_TRUE(other.waitForFinished(10000));
    EXPECT_EQ(other.exitCode(), 2);  // it could not take it
    EXPECT_EQ(read(QStringLiteral("B.bol.lock")).split('\n').value(1), ownProgram());
}

TEST_F(Locks, TheNextSaveOfAFileRemovesWhatItsCrashedSaveLeftAtOnce)
{
    // A first save in the folder: the once-a-run sweep of the folder is behind us.
    ReplaceFileBytes(file(QStringLiteral("ZED.otl")), "z");
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray dead = lockOf(deadPid(), "quorvel", host, QSysInfo::machineUniqueId(), QSysInfo::bootUniqueId());
    struct Case {
        const char* what;
        bool create;
    };
    for (const Case& c : {Case{"replacing", false}, Case{"creating", true}}) {
        QFile::remove(file(QStringLiteral("ANA.pln")));
        if (!c.create)
            write(QStringLiteral("ANA.pln"), "old");
        // Killed between writing its temporary file and putting it in place, seconds ago.
        write(QStringLiteral("ANA.pln.lock"), dead);
        write(QStringLiteral(".ANA.pln.Ab12Cd.tmp"), "half");
        write(QStringLiteral(".ANA.pln.tmp"), "an earlier version's");
        write(QStringLiteral(".JOSE.pln.Xy12Zz.tmp"), "another file's, in flight");
        write(QStringLiteral(".ANA.pln.Ab12Cd.tmp.txt"), "not ours");
        if (c.create)
            WriteNewFileBytes(file(QStringLiteral("ANA.pln")), "new");
        else
            ReplaceFileBytes(file(QStringLiteral("ANA.pln")), "new");
        EXPECT_EQ(read(QStringLiteral("ANA.pln")), "new") << c.what;
        EXPECT_EQ(everything(), (QStringList{".ANA.pln.Ab12Cd.tmp.txt", ".JOSE.pln.Xy12Zz.tmp", "ANA.pln", "ZED.otl"})) << c.what;
    }
}

struct Interference {
    const char* what;
    bool create;
    std::function<void(const QString&)> act;  // on the file just put in place
    bool done;
};

void overwrite(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TEST_F(Locks, ASaveIsDoneOnlyWhenTheFileInPlaceIsTheOneItWrote)
{
    const Interference cases[] = {
        {"replaced, nobody else", false, [](const QString&) {}, true},
        {"created, nobody else", true, [](const QString&) {}, true},
        {"replaced, then another writer's of the same size", false, [](const QString& p) { overwrite(p, "OTHER"); }, false},
        {"created, then another writer's of the same size", true, [](const QString& p) { overwrite(p, "OTHER"); }, false},
        {"replaced, then cut", false, [](const QString& p) { overwrite(p, "MIN"); }, false},
        {"created, then longer", true, [](const QString& p) { overwrite(p, "MINE and more"); }, false},
        {"created, then gone", true, [](const QString& p) { QFile::remove(p); }, false},
    };
    for (const Interference& c : cases) {
        QFile::remove(file(QStringLiteral("R.bol")));
        if (!c.create)
            write(QStringLiteral("R.bol"), "old");
        FileIoHooksForTesting().placed = c.act;
        bool done = false;
        try {
            if (c.create)
                WriteNewFileBytes(file(QStringLiteral("R.bol")), "MINE!");
            else
                ReplaceFileBytes(file(QStringLiteral("R.bol")), "MINE!");
            done = true;
        } catch (const FileExistsError&) {
            ADD_FAILURE() << c.what << ": told it exists";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("não foi possível gravar"))) << c.what;
        }
        EXPECT_EQ(done, c.done) << c.what;
        FileIoHooksForTesting() = {};
        const QStringList left = everything();
        EXPECT_TRUE(left.filter(QStringLiteral(".tmp")).isEmpty() && !left.contains(QStringLiteral("R.bol.lock"))) << c.what;
    }
}

}  // namespace

namespace {

TEST_F(Locks, SomethingElseWhereTheLockGoesIsWaitedForThenRefusedNeverRemoved)
{
    struct Case {
        const char* what;
        std::function<bool(const QString&)> make;
    };
    const Case cases[] = {
        {"a folder", [](const QString& p) { return QDir().mkdir(p); }},
        {"a link to nowhere", [](const QString& p) { return QFile::link(QStringLiteral("/nonexistent/x"), p); }},
    };
    for (const Case& c : cases) {
        if (!test::kLinuxTools && std::string(c.what) == "a link to nowhere")
            continue;  // QFile::link makes a shortcut on Windows, not a link
        const QString lock = file(QStringLiteral("ANA.pln.lock"));
        ASSERT_TRUE(c.make(lock)) << c.what;
        QElapsedTimer waited;
        waited.start();
        FileLock l(file(QStringLiteral("ANA.pln")), 150);
        EXPECT_FALSE(l.isLocked()) << c.what;
        EXPECT_LT(waited.elapsed(), 2000) << c.what;
        EXPECT_TRUE(QFileInfo(lock).isSymLink() || QFileInfo(lock).isDir()) << c.what;
        QFile::remove(lock);
        QDir().rmdir(lock);
    }
}

}  // namespace
