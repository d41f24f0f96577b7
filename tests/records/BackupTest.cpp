// The backup archive: written whole and verified, restored byte for byte, never silently over
// a different file, and not at all from a damaged archive.

#include "records/Backup.h"
#include "records/FileIo.h"
#include "records/IoError.h"
#include "records/LibArchive.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "support/SystemTraits.h"

#include <gtest/gtest.h>

#include <archive.h>
#include <archive_entry.h>
#include <functional>
#include <map>
#include <memory>
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
            {"Normas.json", "{\"Steiner\": {\"SNA\": [82, 2]}}"},
            {"Modelo de pontos.dat", QByteArray("QUORVEL MODELO DE PONTOS\n") + QByteArray(3000, '\x7f')},
            {"Análises Cefalométricas/Análise da clínica.json", "{\"titulo\": \"Da clínica\"}"},
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
    if (test::kPosixPermissions)
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{BackupFileName(QDate(2026, 12, 9))});

    int asked = 0;
    const RestoreSummary r = RestoreBackup(archive, empty.path(), [&](const QString&) { return ++asked, true; });
    EXPECT_EQ(r.restored, int(source.size()));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(contents(empty.path()), source);
    ASSERT_EQ(::stat(QFile::encodeName(QDir(empty.path()).filePath("Análises")).constData(), &st), 0);
    if (test::kPosixPermissions)
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(QFile::encodeName(QDir(empty.path()).filePath("Análises/ANA.pln")).constData(), &st), 0);
    if (test::kPosixPermissions)
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
                             "Análises/ANA.pln.lock", "Análises.rav", "instalar.sh", "imagens/Logotipo.png",
                             ".Logotipo.png.tmp"}) {
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

namespace {

// libarchive's reasons reach the clinician in Portuguese, with the original for whoever digs.
TEST(ArchiveReason, TranslatesWhatADamagedArchiveGivesAndKeepsTheOriginal)
{
    struct Case {
        const char* libarchive;
        const char* shown;
    };
    const Case cases[] = {
        {"truncated gzip input", "o arquivo compactado termina antes do fim (truncated gzip input)"},
        {"Truncated tar archive", "o arquivo tar termina antes do fim (Truncated tar archive)"},
        {"Truncated input file (needed 386 bytes, only 21 available)",
         "o arquivo termina antes do fim (Truncated input file (needed 386 bytes, only 21 available))"},
        {"Damaged tar archive", "o arquivo tar está danificado (Damaged tar archive)"},
        {"gzip decompression failed", "os dados compactados estão danificados (gzip decompression failed)"},
        {"Unrecognized archive format", "não é um arquivo .tar.gz (Unrecognized archive format)"},
        {"Failed to open '/media/pen/x.tar.gz'", "o arquivo não pôde ser aberto (Failed to open '/media/pen/x.tar.gz')"},
        {"Something libarchive adds one day", "erro no arquivo compactado (Something libarchive adds one day)"},
        {"", "erro desconhecido no arquivo compactado"},
        {nullptr, "erro desconhecido no arquivo compactado"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ArchiveReason(c.libarchive), QString::fromUtf8(c.shown)) << (c.libarchive ? c.libarchive : "null");
}

TEST_F(Backup, ADamagedArchiveIsExplainedInPortuguese)
{
    WriteBackup(work.path(), archive);
    QFile f(archive);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();
    const struct {
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {whole.left(whole.size() / 2), "o arquivo compactado termina antes do fim (truncated gzip input)"},
        {"ANA\r\nvisita\r\n", "não é um arquivo .tar.gz (Unrecognized archive format)"},
    };
    for (const auto& c : cases) {
        put(out.path(), "damaged.tar.gz", c.bytes);
        try {
            RestoreBackup(QDir(out.path()).filePath("damaged.tar.gz"), empty.path(), [](const QString&) { return true; });
            ADD_FAILURE() << c.reason << ": restored";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason))) << e.message().toStdString();
        }
    }
}

// Files a restore on another computer needs beyond Análises/: the letterhead, its logo, and the
// radiographs the tracings point to.
TEST_F(Backup, TakesTheLetterheadItsLogoAndTheRadiographsTheTracingsPointTo)
{
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.path();
    const auto tracing = [](const QString& image) {
        return QStringLiteral("{\"format\": \"quorvel-tracing\", \"version\": 1, \"image\": \"%1\", \"landmarks\": {}}")
            .arg(image)
            .toUtf8();
    };
    struct Case {
        const char* what;
        Files work;     // added to the working folder
        Files outside;  // files kept outside it
        Files extra;    // what the archive holds beyond the usual files
        QStringList leftOut;  // words of each sentence about what stayed out
    };
    const QString at = outside + u'/';
    const Case cases[] = {
        {"letterhead with a logo beside it",
         {{"Consultório.ini", "[consultorio]\nlogotipo=\"Logotipo.png\"\n"}, {"Logotipo.png", "PNG1"}},
         {},
         {{"Consultório.ini", "[consultorio]\nlogotipo=\"Logotipo.png\"\n"}, {"Logotipo.png", "PNG1"}},
         {}},
        {"letterhead of an older version naming a logo elsewhere",
         {{"Consultório.ini", ("[consultorio]\nlogotipo=\"" + at + "marca.jpg\"\n").toUtf8()}},
         {{"marca.jpg", "JPG1"}},
         {{"Consultório.ini", ("[consultorio]\nlogotipo=\"" + at + "marca.jpg\"\n").toUtf8()}, {"marca.jpg", "JPG1"}},
         {}},
        {"letterhead whose logo is gone",
         {{"Consultório.ini", "[consultorio]\nlogotipo=\"/nao/existe/marca.png\"\n"}},
         {},
         {{"Consultório.ini", "[consultorio]\nlogotipo=\"/nao/existe/marca.png\"\n"}},
         {"logotipo", "/nao/existe/marca.png", "não foi encontrado"}},
        {"radiograph inside Análises, stored relative",
         {{"Análises/ANA-INICIAL.tra", tracing("ANA.png")}, {"Análises/ANA.png", "RX1"}},
         {},
         {{"Análises/ANA-INICIAL.tra", tracing("ANA.png")}, {"Análises/ANA.png", "RX1"}},
         {}},
        {"radiograph elsewhere, named by two tracings",
         {{"Análises/ANA-INICIAL.tra", tracing(at + "ana rx.png")}, {"Análises/ANA-FINAL.tra", tracing(at + "ana rx.png")}},
         {{"ana rx.png", "RX2"}},
         {{"Análises/ANA-INICIAL.tra", tracing(at + "ana rx.png")},
          {"Análises/ANA-FINAL.tra", tracing(at + "ana rx.png")},
          {"Análises/ana rx.png", "RX2"}},
         {}},
        {"radiograph elsewhere whose name another file of Análises has",
         {{"Análises/BIA-INICIAL.tra", tracing(at + "ANA.pln")}},
         {{"ANA.pln", "not the history"}},
         {{"Análises/BIA-INICIAL.tra", tracing(at + "ANA.pln")}},
         {"radiografia", "Análises/BIA-INICIAL.tra", "já há outro arquivo \"Análises/ANA.pln\""}},
        {"radiograph that is gone",
         {{"Análises/BIA-INICIAL.tra", tracing("/nao/existe/bia.png")}},
         {},
         {{"Análises/BIA-INICIAL.tra", tracing("/nao/existe/bia.png")}},
         {"radiografia", "/nao/existe/bia.png", "Análises/BIA-INICIAL.tra", "não foi encontrada"}},
        {"a tracing that is not JSON is kept as it is",
         {{"Análises/CAI-INICIAL.tra", "{ cut"}},
         {},
         {{"Análises/CAI-INICIAL.tra", "{ cut"}},
         {}},
    };
    for (const Case& c : cases) {
        QTemporaryDir clinic, there, restored;
        for (const auto& [rel, bytes] : source)
            put(clinic.path(), rel, bytes);
        for (const auto& [rel, bytes] : c.work)
            put(clinic.path(), rel, bytes);
        for (const auto& [rel, bytes] : c.outside)
            put(outside, rel, bytes);
        const QString path = QDir(there.path()).filePath("copia.tar.gz");
        const BackupSummary s = WriteBackup(clinic.path(), path);
        Files expected = source;
        expected.insert(c.extra.begin(), c.extra.end());
        EXPECT_EQ(s.files, int(expected.size())) << c.what;
        if (c.leftOut.isEmpty())
            EXPECT_TRUE(s.leftOut.isEmpty()) << c.what << s.leftOut.join('|').toStdString();
        else {
            ASSERT_EQ(s.leftOut.size(), 1) << c.what;
            for (const QString& word : c.leftOut)
                EXPECT_TRUE(s.leftOut[0].contains(word.startsWith(u'/') ? QDir::toNativeSeparators(word) : word))
                    << c.what << ": " << s.leftOut[0].toStdString();
        }
        RestoreBackup(path, restored.path(), [](const QString&) { return true; });
        EXPECT_EQ(contents(restored.path()), expected) << c.what;
        for (const auto& [rel, bytes] : c.outside)
            QFile::remove(QDir(outside).filePath(rel));
    }
}

// A hand-made archive with its check list in order, so only the shape of its paths is wrong.
QString listedArchive(const QString& folder, const std::vector<std::pair<QString, QByteArray>>& entries)
{
    const QString path = QDir(folder).filePath("listed.tar.gz");
    ::archive* a = archive_write_new();
    archive_write_add_filter_gzip(a);
    archive_write_set_format_pax_restricted(a);
    archive_write_set_format_option(a, "pax", "hdrcharset", "BINARY");
    archive_write_open_filename(a, QFile::encodeName(path).constData());
    std::map<QString, QByteArray> digests;
    std::vector<std::pair<QString, QByteArray>> all = entries;
    for (const auto& [name, bytes] : entries)
        if (!name.endsWith('/'))
            digests[name] = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    QByteArray list;
    for (const auto& [name, hex] : digests)
        list += hex + "  " + name.toUtf8() + '\n';
    all.emplace_back("Quorvel.sha256", list);
    for (const auto& [name, bytes] : all) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, name.toUtf8().constData());
        archive_entry_set_filetype(e, name.endsWith('/') ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(e, 0700);
        archive_entry_set_size(e, name.endsWith('/') ? 0 : bytes.size());
        archive_write_header(a, e);
        archive_write_data(a, bytes.constData(), size_t(bytes.size()));
        archive_entry_free(e);
    }
    archive_write_free(a);
    return path;
}

TEST_F(Backup, APathGivenTwiceOrAsFileAndFolderRestoresNothing)
{
    const struct {
        const char* what;
        std::vector<std::pair<QString, QByteArray>> entries;
        const char* why;
    } cases[] = {
        {"file, then a file inside it",
         {{"Análises/ANA.pln", "ok"}, {"Análises/X", "file"}, {"Análises/X/Y.pln", "inside"}},
         "\"Análises/X\" aparece como arquivo e como pasta"},
        {"file inside, then the file",
         {{"Análises/X/Y.pln", "inside"}, {"Análises/X", "file"}},
         "\"Análises/X\" aparece como arquivo e como pasta"},
        {"folder entry, then a file of that name",
         {{"Análises/ANA.pln", "ok"}, {"Análises/X/", ""}, {"Análises/X", "file"}},
         "\"Análises/X\" aparece como arquivo e como pasta"},
        {"the same file twice", {{"Análises/ANA.pln", "one"}, {"Análises/ANA.pln", "two"}},
         "o arquivo \"Análises/ANA.pln\" aparece duas vezes"},
    };
    for (const auto& c : cases) {
        const QString path = listedArchive(out.path(), c.entries);
        try {
            RestoreBackup(path, empty.path(), [](const QString&) { return true; });
            ADD_FAILURE() << c.what << ": restored";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.why))) << c.what << ": " << e.message().toStdString();
            EXPECT_TRUE(e.message().endsWith(QStringLiteral("Nada foi restaurado."))) << c.what;
        }
        EXPECT_TRUE(QDir(empty.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty()) << c.what;
    }
    // The same shapes with a sound layout restore: the check refuses only the conflict.
    const QString sound = listedArchive(out.path(), {{"Análises/X/", ""}, {"Análises/X/Y.pln", "inside"}});
    EXPECT_EQ(RestoreBackup(sound, empty.path(), {}).restored, 1);
}

// What cannot be written here is skipped and named; everything else is restored.
TEST_F(Backup, AFileThatCannotBeWrittenHereIsSkippedAndNamedAndTheRestGoesOn)
{
    WriteBackup(work.path(), archive);
    struct Case {
        const char* what;
        std::function<void(const QString& folder)> prepare;
        QString skipped;
        const char* why;
        bool busy;
    };
    std::unique_ptr<QLockFile> held;
    const Case cases[] = {
        {"another computer saving it",
         [&](const QString& folder) {
             QDir().mkpath(folder + "/Análises");
             held = std::make_unique<QLockFile>(folder + "/Análises/ANA.pln.lock");
             ASSERT_TRUE(held->tryLock(0));
         },
         "Análises/ANA.pln", "está sendo salvo em outro computador", true},
        {"a folder where the archive has a file",
         [](const QString& folder) { QDir().mkpath(folder + "/Análises/VAZIO.otl"); }, "Análises/VAZIO.otl",
         "aqui há uma pasta com esse nome", false},
        {"a file where the archive has a folder",
         [](const QString& folder) { put(folder, "Análises/radiografias", "a file"); }, "Análises/radiografias/ANA.dcm",
         "não foi possível gravar", false},
    };
    for (const Case& c : cases) {
        QTemporaryDir here;
        c.prepare(here.path());
        const RestoreSummary r = RestoreBackup(archive, here.path(), [](const QString&) { return true; });
        held.reset();
        ASSERT_EQ(r.skipped.size(), 1) << c.what;
        EXPECT_EQ(r.skipped[0].path, c.skipped) << c.what;
        EXPECT_TRUE(r.skipped[0].why.contains(QString::fromUtf8(c.why))) << c.what << ": " << r.skipped[0].why.toStdString();
        EXPECT_EQ(r.skipped[0].busy, c.busy) << c.what;
        EXPECT_TRUE(r.interrupted.isEmpty()) << c.what;
        EXPECT_EQ(r.restored, int(source.size()) - 1) << c.what;
        Files expected = source;
        expected.erase(c.skipped);
        Files now = contents(here.path());
        now.erase("Análises/radiografias");
        EXPECT_EQ(now, expected) << c.what;
    }
}

TEST_F(Backup, AnArchiveCutWhileItIsRestoredStopsAndSaysWhatWasDone)
{
    // Incompressible, so the rest of the archive lies beyond what libarchive has read ahead.
    QByteArray noise(400000, '\0');
    quint32 x = 12345;
    for (char& b : noise)
        b = char((x = x * 1664525u + 1013904223u) >> 24);
    put(work.path(), "Análises/ZZ.dcm", noise);
    WriteBackup(work.path(), archive);
    put(work.path(), "Análises/ANA.pln", "changed since");
    int asked = 0;
    const RestoreSummary r = RestoreBackup(archive, work.path(), [&](const QString&) {
        ++asked;
        QFile cut(archive);  // the stick pulled out while the question is up
        EXPECT_TRUE(cut.resize(cut.size() / 10));
        return false;
    });
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(r.kept, 1);
    EXPECT_TRUE(r.interrupted.contains(QStringLiteral("termina antes do fim"))) << r.interrupted.toStdString();
    EXPECT_EQ(QFile(QDir(work.path()).filePath("Análises/ZZ.dcm")).size(), noise.size());  // left untouched
}

}  // namespace
