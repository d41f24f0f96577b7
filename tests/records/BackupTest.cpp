// The backup archive: written whole and verified, restored byte for byte, never silently over
// a different file, and not at all from a damaged archive.

#include "records/Backup.h"
#include "records/FileIo.h"
#include "records/IoError.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <archive.h>
#include <archive_entry.h>
#include <map>
#include <sys/stat.h>

using namespace qv;

namespace {

using Files = std::map<QString, QByteArray>;

void put(const QString& root, const QString& rel, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(QDir(root).filePath(rel)).path());
    QFile f(QDir(root).filePath(rel));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << rel.toStdString();
}

// Every file under the folder, hidden ones included, by relative path.
Files contents(const QString& root)
{
    Files out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        out[QDir(root).relativeFilePath(path)] = f.readAll();
    }
    return out;
}

class Backup : public ::testing::Test {
protected:
    void SetUp() override
    {
        QByteArray big;
        for (int i = 0; i < 20000; ++i)
            big += QByteArray::number(i * 7919) + "\r\n";
        source = {
            {"Stats.cef", QByteArray::fromHex("00000000070000000200000001000000")},
            {"Análises/ANA MARIA-INICIAL.twe", QByteArray(199, '\x05')},
            {"Análises/ÇÃO.bol", QByteArray("\x03\xc7\xc3O", 4) + QByteArray(215, '\0')},
            {"Análises/ANA.pln", big},
            {"Análises/VAZIO.otl", QByteArray()},
            {"Análises/radiografias/ANA.dcm", QByteArray(70000, '\xff')},
        };
        for (const auto& [rel, bytes] : source)
            put(work.path(), rel, bytes);
        // Left by a crash or held right now: never part of a backup.
        put(work.path(), "Análises/.ANA.pln.tmp", "cut");
        put(work.path(), "Análises/ANA.pln.lock", "123");
        put(work.path(), "Bolton.cef", "program data, not the clinic's");
        archive = QDir(out.path()).filePath(BackupFileName(QDate(2026, 12, 9)));
    }
    QTemporaryDir work, out, empty;
    Files source;
    QString archive;
};

TEST(BackupName, IsDated) { EXPECT_EQ(BackupFileName(QDate(2026, 1, 5)), QStringLiteral("Quorvel-2026-01-05.tar.gz")); }

TEST_F(Backup, RestoresIntoAnEmptyFolderByteForByte)
{
    const BackupSummary written = WriteBackup(work.path(), archive);
    EXPECT_EQ(written.files, int(source.size()));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(archive).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{BackupFileName(QDate(2026, 12, 9))});

    int asked = 0;
    const RestoreSummary r = RestoreBackup(archive, empty.path(), [&](const QString&) { return ++asked, true; });
    EXPECT_EQ(r.restored, int(source.size()));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(contents(empty.path()), source);
    ASSERT_EQ(::stat(QFile::encodeName(QDir(empty.path()).filePath("Análises")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(QFile::encodeName(QDir(empty.path()).filePath("Análises/ANA.pln")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(Backup, AskesBeforeReplacingADifferentFileAndLeavesEqualOnes)
{
    WriteBackup(work.path(), archive);
    put(work.path(), "Análises/ANA.pln", "changed since");
    put(work.path(), "Stats.cef", QByteArray(16, '\0'));
    QFile::remove(QDir(work.path()).filePath("Análises/ÇÃO.bol"));
    QStringList asked;
    const RestoreSummary r = RestoreBackup(archive, work.path(), [&](const QString& rel) {
        asked << rel;
        return rel == QLatin1String("Stats.cef");  // Yes for the counts, No for the history
    });
    EXPECT_EQ(asked, (QStringList{"Análises/ANA.pln", "Stats.cef"}));
    EXPECT_EQ(r.restored, 1);
    EXPECT_EQ(r.replaced, 1);
    EXPECT_EQ(r.kept, 1);
    EXPECT_EQ(r.same, int(source.size()) - 3);
    Files now = contents(work.path());
    EXPECT_EQ(now["Análises/ANA.pln"], "changed since");
    EXPECT_EQ(now["Stats.cef"], source["Stats.cef"]);
    EXPECT_EQ(now["Análises/ÇÃO.bol"], source["Análises/ÇÃO.bol"]);
}

TEST_F(Backup, ADamagedArchiveRestoresNothingAndSaysWhy)
{
    WriteBackup(work.path(), archive);
    QFile f(archive);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();
    f.close();
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray flipped = whole;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x40);
    const Case cases[] = {
        {"cut in half", whole.left(whole.size() / 2)},
        {"cut before the end", whole.chopped(9)},
        {"one byte changed", flipped},
        {"empty", QByteArray()},
        {"not an archive", QByteArray("ANA\r\nvisita\r\n")},
    };
    for (const Case& c : cases) {
        const QString damaged = QDir(out.path()).filePath("damaged.tar.gz");
        put(out.path(), "damaged.tar.gz", c.bytes);
        try {
            RestoreBackup(damaged, empty.path(), [](const QString&) { return true; });
            ADD_FAILURE() << c.what << ": restored";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("Nada foi restaurado"))) << c.what << e.message().toStdString();
        }
        EXPECT_TRUE(contents(empty.path()).empty()) << c.what;
        EXPECT_TRUE(QDir(empty.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty()) << c.what;
    }
}

// An archive made by hand with an entry the program must never write.
QString handMade(const QString& folder, const char* entryName)
{
    const QString path = QDir(folder).filePath("hand.tar.gz");
    ::archive* a = archive_write_new();
    archive_write_add_filter_gzip(a);
    archive_write_set_format_pax_restricted(a);
    archive_write_set_format_option(a, "pax", "hdrcharset", "BINARY");
    archive_write_open_filename(a, QFile::encodeName(path).constData());
    for (const char* name : {"Análises/BOM.pln", entryName}) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, name);
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0600);
        archive_entry_set_size(e, 2);
        archive_write_header(a, e);
        archive_write_data(a, "ok", 2);
        archive_entry_free(e);
    }
    archive_write_free(a);
    return path;
}

TEST_F(Backup, AnArchiveWithAnythingButPatientFilesRestoresNothing)
{
    for (const char* name : {"../fora.pln", "Análises/../../fora.pln", "/etc/fora", "Bolton.cef", "Análises/.ANA.pln.tmp",
                             "Análises/ANA.pln.lock"}) {
        const QString path = handMade(out.path(), name);
        EXPECT_THROW(RestoreBackup(path, empty.path(), [](const QString&) { return true; }), IoError) << name;
        EXPECT_TRUE(QDir(empty.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty()) << name;
    }
}

TEST_F(Backup, AnArchiveThatCannotBeWrittenLeavesNothingBehind)
{
    const QString nowhere = QDir(out.path()).filePath("missing/Quorvel.tar.gz");
    EXPECT_THROW(WriteBackup(work.path(), nowhere), IoError);
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace
