// The safe writes on what differs between Linux and Windows: Unicode and very long paths, names
// Windows refuses, a file another program keeps open, a read-only file, two spellings of one
// name. The same table runs on both; where the systems differ the case says what each must do.

#include "platform/FileSystem.h"
#include "records/FileIo.h"
#include "records/IoError.h"
#include "records/WorkingFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#ifndef _WIN32
#include <unistd.h>
#endif

using namespace qv;

namespace {

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

enum class Expect { Written, Refused, InUse };

struct Case {
    const char* what;
    QString name;                                      // below the test's folder
    std::function<void(const QString& path)> prepare;  // before the save; may leave a file
    Expect linux;
    Expect windows;
    bool replace = true;  // ReplaceFileBytes, else WriteNewFileBytes
};

QString longName()
{
    // Three folders of 100 letters: a path of more than 300 characters.
    const QString part(100, u'a');
    return part + u'/' + part + u'/' + part + QStringLiteral("/ANÁLISE.otl");
}

void makeOld(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("old");
}

void readOnly(const QString& path)
{
    makeOld(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser);
}

QString listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name).join(u',');
}

class PlatformFiles : public ::testing::TestWithParam<Case> {
protected:
    QTemporaryDir dir;
};

TEST_P(PlatformFiles, AreSavedWholeOrRefusedByNameLeavingTheOldFile)
{
    const Case& c = GetParam();
    const QString path = QDir(dir.path()).filePath(c.name);
    QProcess holder;
    if (c.prepare)
        c.prepare(path);
    const bool hadOld = QFileInfo::exists(path);
    if (std::string(c.what) == "held open by another program") {
        holder.start(QStringLiteral(QUORVEL_FILE_HELPER), {QStringLiteral("keepopen"), path, QStringLiteral("20000")});
        ASSERT_TRUE(holder.waitForReadyRead(20000)) << "the helper did not start";
    }
    Expect expect = kWindows ? c.windows : c.linux;
#ifndef _WIN32
    if (::geteuid() == 0 && QFileInfo(path).fileName() == QLatin1String("RO.otl"))
        expect = Expect::Written;  // root may write any file
#endif
    const QString before = listing(QFileInfo(path).absolutePath());
    try {
        if (c.replace)
            ReplaceFileBytes(path, "new");
        else
            WriteNewFileBytes(path, "new");
        EXPECT_EQ(expect, Expect::Written) << c.what << ": saved";
    } catch (const FileInUseError& e) {
        EXPECT_EQ(expect, Expect::InUse) << c.what << ": " << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(path)) << c.what;
    } catch (const IoError& e) {
        EXPECT_EQ(expect, Expect::Refused) << c.what << ": " << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QFileInfo(path).fileName())) << c.what;
    }
    holder.kill();
    holder.waitForFinished();
    QFile f(path);
    const QByteArray now = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    if (expect == Expect::Written) {
        EXPECT_EQ(now, "new") << c.what;
    } else {
        EXPECT_EQ(now, hadOld ? QByteArray("old") : QByteArray("<missing>")) << c.what;
        // Nothing else was written: no temporary file, no lock.
        EXPECT_EQ(listing(QFileInfo(path).absolutePath()), before) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformFiles,
    ::testing::Values(
        Case{"accented name", QStringLiteral("JOÃO DA CONCEIÇÃO.pln"), nullptr, Expect::Written, Expect::Written},
        Case{"accented folder", QStringLiteral("Análises/JOSÉ.otl"), makeOld, Expect::Written, Expect::Written},
        Case{"path longer than 260 characters", longName(), makeOld, Expect::Written, Expect::Written},
        Case{"new file on a path longer than 260 characters", longName(),
             [](const QString& p) { QDir().mkpath(QFileInfo(p).absolutePath()); }, Expect::Written, Expect::Written, false},
        Case{"device name CON", QStringLiteral("CON.bol"), nullptr, Expect::Written, Expect::Refused, false},
        Case{"device name in lower case", QStringLiteral("nul.pln"), nullptr, Expect::Written, Expect::Refused},
        Case{"device name COM1 before a space", QStringLiteral("COM1 .otl"), nullptr, Expect::Written, Expect::Refused},
        Case{"device name only as a part", QStringLiteral("CON-INICIAL.twe"), nullptr, Expect::Written, Expect::Written, false},
        Case{"name ending in a dot", QStringLiteral("ANA."), nullptr, Expect::Written, Expect::Refused},
        Case{"name ending in a space", QStringLiteral("ANA "), nullptr, Expect::Written, Expect::Refused},
        Case{"read-only file", QStringLiteral("RO.otl"), readOnly, Expect::Refused, Expect::Refused},
        Case{"held open by another program", QStringLiteral("ABERTO.pln"), makeOld, Expect::Written, Expect::InUse}));

TEST(PlatformNames, OneFileUnderTwoSpellingsHasOneLockWhereNamesIgnoreCase)
{
    QTemporaryDir dir;
    const QString upper = QDir(dir.path()).filePath(QStringLiteral("ANA.twe"));
    const QString lower = QDir(dir.path()).filePath(QStringLiteral("ana.twe"));
    FileLock held(upper);
    ASSERT_TRUE(held.isLocked());
    // Reentrant in this thread where both name one file; on Linux they are two files.
    FileLock again(lower, 0);
    EXPECT_TRUE(again.isLocked());
    EXPECT_EQ(platform::PathKey(upper) == platform::PathKey(lower), kWindows);
}

// The Windows program prepares its working folder itself, by the launcher's rules: program data
// brought up to date, the clinic's counts, norms and patient files never touched.
TEST(WorkingFolder, IsPreparedOnceAndKeepsWhatTheClinicMade)
{
    QTemporaryDir dir;
    const QDir data(QDir(dir.path()).filePath(QStringLiteral("data")));
    QDir().mkpath(data.path());
    const auto put = [](const QString& path, const QByteArray& bytes, int ageSeconds) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    const auto get = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    for (const char* name : {"Bolton.cef", "Análises.rav", "Stats.cef", "Normas.json"})
        put(data.filePath(QString::fromUtf8(name)), QByteArray("novo ") + name, 100);
    const QString work = QDir(dir.path()).filePath(QStringLiteral("Documentos/Quorvel"));

    EXPECT_EQ(PrepareWorkingFolder(data.path(), work), QString());
    for (const char* name : {"Bolton.cef", "Análises.rav", "Stats.cef", "Normas.json"})
        EXPECT_EQ(get(QDir(work).filePath(QString::fromUtf8(name))), QByteArray("novo ") + name) << name;
    EXPECT_TRUE(QFileInfo(QDir(work).filePath(QStringLiteral("Análises"))).isDir());

    // The clinic's counts, norms and a patient; a report project changed since, an upgrade.
    put(QDir(work).filePath(QStringLiteral("Stats.cef")), "contagens", 10);
    put(QDir(work).filePath(QStringLiteral("Normas.json")), "normas da clínica", 10);
    put(QDir(work).filePath(QStringLiteral("Análises/ANA.pln")), "paciente", 10);
    put(QDir(work).filePath(QStringLiteral("Análises.rav")), "alterado", 10);
    put(data.filePath(QStringLiteral("Bolton.cef")), "atualizado", 50);
    EXPECT_EQ(PrepareWorkingFolder(data.path(), work), QString());
    EXPECT_EQ(get(QDir(work).filePath(QStringLiteral("Stats.cef"))), "contagens");
    EXPECT_EQ(get(QDir(work).filePath(QStringLiteral("Normas.json"))), "normas da clínica");
    EXPECT_EQ(get(QDir(work).filePath(QStringLiteral("Análises/ANA.pln"))), "paciente");
    EXPECT_EQ(get(QDir(work).filePath(QStringLiteral("Análises.rav"))), "novo Análises.rav");
    EXPECT_EQ(get(QDir(work).filePath(QStringLiteral("Bolton.cef"))), "atualizado");
    EXPECT_EQ(QDir(work).entryList(QDir::Files | QDir::Hidden).size(), 4);  // no lock or temporary left

    // Without the installed data nothing is invented: the start-up then names what is missing.
    const QString other = QDir(dir.path()).filePath(QStringLiteral("outra"));
    EXPECT_FALSE(PrepareWorkingFolder(QDir(dir.path()).filePath(QStringLiteral("nada")), other).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QDir(other).filePath(QStringLiteral("Stats.cef"))));
}

}  // namespace
