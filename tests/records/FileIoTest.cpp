// Creating and replacing files whole, their permissions, failures at sync and close, leftovers of
// a crash, the lock beside a file, and the counters' limit.

#include "records/FileIo.h"
#include "records/HistoryFile.h"
#include "records/IoError.h"
#include "records/Statistics.h"
#include "records/TweedFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "support/SystemTraits.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace qv;

namespace {

class FileIo : public ::testing::Test {
protected:
    void TearDown() override { FileIoHooksForTesting() = {}; }
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    int mode(const QString& name) const
    {
        struct stat st {};
        return ::stat(QFile::encodeName(file(name)).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
    }
    QStringList everything() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QTemporaryDir dir;
};

TEST_F(FileIo, NewFileIsPrivateWholeAndNeverReplacesOne)
{
    WriteNewFileBytes(file("A.twe"), "first");
    EXPECT_EQ(read("A.twe"), "first");
    if (test::kPosixPermissions)
        EXPECT_EQ(mode("A.twe"), 0600);
    EXPECT_THROW(WriteNewFileBytes(file("A.twe"), "second"), FileExistsError);
    EXPECT_EQ(read("A.twe"), "first");
    EXPECT_EQ(everything(), QStringList{"A.twe"});  // no lock, no temporary file left
}

TEST_F(FileIo, ReplacementKeepsThePermissionsANewFileIsPrivate)
{
    for (int m : {0644, 0640, 0600, 0664}) {
        write("P.otl", "old");
        ASSERT_EQ(::chmod(QFile::encodeName(file("P.otl")).constData(), mode_t(m)), 0);
        ReplaceFileBytes(file("P.otl"), "new");
        EXPECT_EQ(read("P.otl"), "new");
        if (test::kPosixPermissions)
            EXPECT_EQ(mode("P.otl"), m) << std::oct << m;
    }
    ReplaceFileBytes(file("Q.otl"), "made");
    if (test::kPosixPermissions)
        EXPECT_EQ(mode("Q.otl"), 0600);
    EXPECT_EQ(everything(), (QStringList{"P.otl", "Q.otl"}));
}

TEST_F(FileIo, ALinkedFileIsReplacedWhereItLivesAndADeviceNever)
{
    QV_NEEDS_SYMLINKS();
    QTemporaryDir elsewhere;
    const QString real = QDir(elsewhere.path()).filePath("ANA.otl");
    QFile f(real);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("old") == 3);
    f.close();
    ASSERT_TRUE(QFile::link(real, file("ANA.otl")));
    ReplaceFileBytes(file("ANA.otl"), "new");
    EXPECT_TRUE(QFileInfo(file("ANA.otl")).isSymLink());
    EXPECT_EQ(read("ANA.otl"), "new");

    ASSERT_TRUE(QFile::link("/dev/null", file("DEV.pln")));
    EXPECT_THROW(ReplaceFileBytes(file("DEV.pln"), "x"), IoError);
    EXPECT_THROW(SaveHistoryVisit(file("DEV.pln"), "DEV", "x"), IoError);
    EXPECT_TRUE(QFileInfo(file("DEV.pln")).isSymLink());
}

int failWithEio(int) { return errno = EIO, -1; }
int closeThenFail(int fd) { return ::close(fd), errno = EIO, -1; }

struct Fault {
    const char* what;
    bool datasync;  // else close
    bool create;    // else replace
};

class WriteFault : public FileIo, public ::testing::WithParamInterface<Fault> {};

TEST_P(WriteFault, IsAnErrorAndTheOldFileStays)
{
    const Fault f = GetParam();
    if (!f.create)
        write("T.twe", "old content");
    if (f.datasync)
        FileIoHooksForTesting().datasync = failWithEio;
    else
        FileIoHooksForTesting().close = closeThenFail;
    try {
        if (f.create)
            WriteNewFileBytes(file("T.twe"), "new content");
        else
            ReplaceFileBytes(file("T.twe"), "new content");
        ADD_FAILURE() << f.what << ": no error";
    } catch (const FileExistsError&) {
        ADD_FAILURE() << f.what << ": reported as an existing file";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("não foi possível gravar"))) << f.what;
    }
    EXPECT_EQ(read("T.twe"), f.create ? QByteArray("<missing>") : QByteArray("old content")) << f.what;
    EXPECT_EQ(everything(), f.create ? QStringList{} : QStringList{"T.twe"}) << f.what;
}

INSTANTIATE_TEST_SUITE_P(Faults, WriteFault,
                         ::testing::Values(Fault{"fdatasync on create", true, true}, Fault{"close on create", false, true},
                                           Fault{"fdatasync on replace", true, false},
                                           Fault{"close on replace", false, false}));

TEST_F(FileIo, AFailedHistoryAppendKeepsEveryStoredVisit)
{
    const QString pln = file("ANA.pln");
    CreateHistoryFile(pln, "ANA", HistoryBlock("01/12/2026", {"PRIMEIRA"}));
    const QByteArray before = read("ANA.pln");
    FileIoHooksForTesting().datasync = failWithEio;
    EXPECT_THROW(SaveHistoryVisit(pln, "ANA", HistoryBlock("02/12/2026", {"SEGUNDA"})), IoError);
    EXPECT_EQ(read("ANA.pln"), before);
    FileIoHooksForTesting() = {};
    EXPECT_EQ(SaveHistoryVisit(pln, "ANA", HistoryBlock("02/12/2026", {"SEGUNDA"})), HistorySave::Appended);
    EXPECT_EQ(read("ANA.pln"), before + HistoryBlock("02/12/2026", {"SEGUNDA"}));
}

TEST_F(FileIo, AHistoryWithoutAFinalLineEndGetsOneBeforeTheVisit)
{
    write("B.pln", "B\r\nX");
    EXPECT_EQ(SaveHistoryVisit(file("B.pln"), "B", "D\r\n"), HistorySave::Appended);
    EXPECT_EQ(read("B.pln"), "B\r\nX\r\nD\r\n");
}

// A crash that left no lock: the folder was swept already in this run, yet the next save of the
// file removes what its crashed save left once a minute old, and a younger one stays.
TEST_F(FileIo, TheNextSaveRemovesItsCrashedSavesFilesWithoutALockLeft)
{
    ReplaceFileBytes(file("OUTRO.pln"), "first save of the run: the folder is swept");
    for (const auto& [name, age] : {std::pair{".RESTO.pln.Ab12Cd.tmp", 120}, std::pair{".RESTO.pln.Xy34Zw.tmp", 5}}) {
        write(name, "cut");
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
    }
    ReplaceFileBytes(file("RESTO.pln"), "saved");
    EXPECT_EQ(everything(), (QStringList{".RESTO.pln.Xy34Zw.tmp", "OUTRO.pln", "RESTO.pln"}));
}

TEST_F(FileIo, LeftoversOfACrashAreRemovedOrSweptOnceAMinuteOldAndTheClinicsFilesNever)
{
    struct Leftover {
        const char* name;
        int ageSeconds;
        bool stays;
        const char* content = "x";
    };
    const Leftover cases[] = {
        {".MARIA.otl.tmp", 0, false},            // this file's own (earlier fixed name): the save removes it
        {".JOSE.otl.tmp", 120, false},           // another file's, long dead
        {".JOSE.otl.Ab12Cd.tmp", 120, false},
        {".JOSE.pln.tmp", 5, true},              // another file's, maybe being written right now
        {".JOSE.pln.Zz09Yy.tmp", 5, true},
        {"MARIA.otl.eoCkTc", 120, false, ""},    // an older version's: empty, beside the file it replaced
        {"Stats.cef.YCSzkS", 120, true, ""},     // no Stats.cef here: nothing proves it ours
        {"MARIA.otl.zzzzzz", 5, true, ""},       // an older version's, maybe in flight
        {"MARIA.otl.antigo", 120, true},         // the clinic's copy: it has content
        {"laudo.pdf.backup", 120, true, ""},     // no laudo.pdf beside it
        {"MARIA.otl.ab1234", 120, true, ""},     // QSaveFile names have letters only
        {"MARIA.otl.lock.txt", 120, true},       // not a temporary file
        {"ANA.pln", 120, true},
        {"GONE.bol.lock", 120, false, "4194303\nquorvel\n\n"},  // a dead program's lock on a file nobody saved since
        {"BUSY.bol.lock", 120, true, nullptr},   // held by a live program (this one)
        {"notas.lock", 120, true, "lembrar de ligar"},         // not a lock of this program
    };
#ifdef _WIN32
    // QLockFile keeps its file open and unshared on Windows: the program's own lock stands for it.
    FileLock busy(file("BUSY.bol"));
    ASSERT_TRUE(busy.isLocked());
#else
    QLockFile busy(file("BUSY.bol.lock"));
    ASSERT_TRUE(busy.tryLock(0));
#endif
    write("MARIA.otl", "plan");
    for (const Leftover& l : cases) {
        if (l.content)
            write(l.name, l.content);
        QFile f(file(l.name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-l.ageSeconds), QFileDevice::FileModificationTime));
    }
    ReplaceFileBytes(file("MARIA.otl"), "new plan");
    EXPECT_EQ(read("MARIA.otl"), "new plan");
    for (const Leftover& l : cases)
        EXPECT_EQ(QFile::exists(file(l.name)), l.stays) << l.name;
    EXPECT_EQ(read("MARIA.otl.antigo"), "x");
}

TEST(TemporaryFileName, RecognisesOnlyTheProgramsTemporaryFiles)
{
    const std::pair<const char*, bool> cases[] = {
        {".ANA.pln.tmp", true},        {".Stats.cef.tmp", true},      {".ANA MARIA-INICIAL.twe.tmp", true},
        {".ANA.pln.Xy12Ab.tmp", true}, {".ANA.pln.lock.tmp", true},   {"ANA.pln", false},
        {"ANA-INICIAL.twe", false},    {"ANA.pln.lock", false},       {"ANA.pln.tmp", false},
        {"ANA.bol", false},            {".ANA.pln", false},           {"MARIA.otl.eoCkTc", false},
        {"Stats.cef.YCSzkS", false},   {"ANA.pln.antigo", false},     {"laudo.pdf.backup", false},
        {"ANA.pln.Xy12Ab.tmp", false},
    };
    for (const auto& [name, temporary] : cases)
        EXPECT_EQ(IsTemporaryFileName(QString::fromUtf8(name)), temporary) << name;
}

TEST_F(FileIo, AnOlderVersionsLeftoverIsOnlyAnEmptyOneBesideItsFile)
{
    write("ANA.pln", "ANA\r\n");
    write("Stats.cef", "s");
    struct Case {
        const char* name;
        const char* content;
        bool leftover;
    };
    const Case cases[] = {
        {"ANA.pln.eoCkTc", "", true},       {"Stats.cef.YCSzkS", "", true},
        {"ANA.pln.antigo", "", true},       // QSaveFile's very shape, and empty: nothing to lose
        {"ANA.pln.antigo2", "", false},     {"ANA.pln.eoCkTc", "ANA\r\n", false},
        {"ANA.pln.antigo", "cópia", false}, {"laudo.pdf.backup", "", false},
        {"ANA.pln.ab12cd", "", false},      {"ANA.pln.eoCk-c", "", false},
        // Beside its file where names ignore case (Windows), another name where they do not.
        {"ANA.PLN.eoCkTc", "", !test::kCaseSensitiveNames}, {".ANA.pln.eoCkTc", "", false},
    };
    for (const Case& c : cases) {
        write(c.name, c.content);
        EXPECT_EQ(IsOldVersionLeftover(file(c.name)), c.leftover) << c.name << " [" << c.content << "]";
        QFile::remove(file(c.name));
    }
    EXPECT_FALSE(IsOldVersionLeftover(file("ANA.pln.gOnEEe")));  // missing
}

TEST_F(FileIo, TheLockIsReentrantAndGoneAfterwards)
{
    const QString path = file("R.bol");
    const int result = WithFileLock(path, [&] {
        EXPECT_TRUE(QFile::exists(path + ".lock"));
        WriteNewFileBytes(path, "x");  // takes the same lock again
        return WithFileLock(path, [] { return 7; });
    });
    EXPECT_EQ(result, 7);
    EXPECT_FALSE(QFile::exists(path + ".lock"));
    EXPECT_THROW(WithFileLock(path, [&]() -> int { throw IoError("x"); }), IoError);
    EXPECT_FALSE(QFile::exists(path + ".lock"));
}

TEST_F(FileIo, AnEmptyLockIsWaitedForUntilItIsPlainlyOrphaned)
{
    const QString path = file("E.twe");
    write("E.twe.lock", "");
    {
        FileLock young(path, 200);  // its maker may be about to fill it in
        EXPECT_FALSE(young.isLocked());
        EXPECT_TRUE(young.failureText().contains("sendo salvo em outro computador"));
        EXPECT_THROW(young.throwIfNotLocked(), FileBusyError);
    }
    QFile lock(file("E.twe.lock"));
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime));
    lock.close();
    FileLock orphaned(path, 200);
    EXPECT_TRUE(orphaned.isLocked());
}

TEST_F(FileIo, ALockInAMissingFolderIsAWriteError)
{
    const QString path = file("nowhere/X.bol");
    FileLock lock(path, 100);
    EXPECT_FALSE(lock.isLocked());
    EXPECT_EQ(lock.failureText(), IoError::cannotWrite(path).message());
    EXPECT_THROW(WriteNewFileBytes(path, "x"), IoError);
}

TEST_F(FileIo, TweedSaveDecidesOnTheFileAsItStandsUnderTheLock)
{
    const QString path = file("ANA-INICIAL.twe");
    TweedFileRecord first;
    first.twPaciente = "ANA";
    first.twfma = "25";
    TweedSaveState s;
    s.concluded = true;
    s.fileExists = true;  // whatever the page believed: the file decides
    std::vector<TweedSaveDecision::Action> seen;
    const auto note = [&](const TweedSaveDecision& d) {
        EXPECT_TRUE(QFile::exists(path + ".lock"));
        seen.push_back(d.action);
    };
    EXPECT_EQ(SaveTweedFile(path, first, s, note).action, TweedSaveDecision::Create);
    s.parcial = true;
    TweedFileRecord second = first;
    second.twfma = "30";
    EXPECT_EQ(SaveTweedFile(path, second, s, note).action, TweedSaveDecision::RefuseSaved);
    EXPECT_EQ(ReadTweedFile(path).twfma, "25");
    s.diagnosed = true;
    EXPECT_EQ(SaveTweedFile(path, second, s, note).action, TweedSaveDecision::Rewrite);
    EXPECT_EQ(ReadTweedFile(path).twfma, "30");
    s.completo = true;
    EXPECT_EQ(SaveTweedFile(path, first, s, note).action, TweedSaveDecision::RefuseComplete);
    EXPECT_EQ(ReadTweedFile(path).twfma, "30");
    EXPECT_EQ(seen.size(), 4u);
    // An unsafe name is refused before any lock file is named after it.
    s.nameSafe = false;
    EXPECT_EQ(SaveTweedFile(file("../X-INICIAL.twe"), first, s).action, TweedSaveDecision::RefuseUnsafeName);
    EXPECT_FALSE(QFile::exists(file("../X-INICIAL.twe.lock")));
}

struct Limit {
    qint32 before, after;
};

TEST(Counters, WrapAtTheLimitWithoutOverflow)
{
    const Limit cases[] = {{0, 1}, {2147483646, 2147483647}, {2147483647, -2147483647 - 1}, {-1, 0}, {-2147483647 - 1, -2147483647}};
    QTemporaryDir dir;
    const QString stats = QDir(dir.path()).filePath("Stats.cef");
    for (const Limit& c : cases) {
        qint32 n = c.before;
        CountOne(n);
        EXPECT_EQ(n, c.after) << c.before;
        StatsRecord r;
        r.tweedCount = r.boltonCount = r.guideCount = c.before;
        WriteStats(r, stats);
        RecordStatistic('t', stats);
        RecordStatistic('b', stats);
        CountGuideUse(stats);
        const StatsRecord back = ReadStats(stats);
        EXPECT_EQ(back.tweedCount, c.after);
        EXPECT_EQ(back.boltonCount, c.after);
        EXPECT_EQ(back.guideCount, c.after);
    }
}

}  // namespace
