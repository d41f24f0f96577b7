// The patient index: file names to patients, the history's visits, the search key, the
// listing of a folder and the table's updates.

#include "patients/PatientIndex.h"
#include "patients/PatientTable.h"

#include <QDir>
#include <QFile>
#include <QPersistentModelIndex>
#include <QTemporaryDir>

#include "support/SystemTraits.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

std::string S(const QString& s) { return s.toStdString(); }

struct NameCase {
    const char* file;
    bool fits;
    const char* patient = "";
    PatientFileKind kind = PatientFileKind::Tweed;
    int stage = -1;
};

const NameCase kNames[] = {
    {"ANA-INICIAL.twe", true, "ANA", PatientFileKind::Tweed, 0},
    {"ANA-INTER1.twe", true, "ANA", PatientFileKind::Tweed, 1},
    {"ANA-INTER2.TWE", true, "ANA", PatientFileKind::Tweed, 2},
    {"ANA-FINAL.Twe", true, "ANA", PatientFileKind::Tweed, 3},
    {"ana-inicial.twe", true, "ana", PatientFileKind::Tweed, 0},
    {"JOÃO DA SILVA-FINAL.twe", true, "JOÃO DA SILVA", PatientFileKind::Tweed, 3},
    {"ANA-MARIA SOUZA-INTER1.twe", true, "ANA-MARIA SOUZA", PatientFileKind::Tweed, 1},
    {"JOSE-INICIAL-INICIAL.twe", true, "JOSE-INICIAL", PatientFileKind::Tweed, 0},
    {"JOSE-FINAL-INTER2.twe", true, "JOSE-FINAL", PatientFileKind::Tweed, 2},
    {"JOSE-INICIAL.bol", true, "JOSE-INICIAL", PatientFileKind::Bolton},
    {"SANTOS, ANA.bol", true, "SANTOS, ANA", PatientFileKind::Bolton},
    {"MARIA.BOL", true, "MARIA", PatientFileKind::Bolton},
    {"CONCEIÇÃO.pln", true, "CONCEIÇÃO", PatientFileKind::History},
    {"MARIA.PLN", true, "MARIA", PatientFileKind::History},
    {"MARIA.otl", true, "MARIA", PatientFileKind::Plan},
    {"MARIA.Otl", true, "MARIA", PatientFileKind::Plan},
    {"A.otl", true, "A", PatientFileKind::Plan},
    {"ANA-INICIAL.tra", true, "ANA", PatientFileKind::Tracing, 0},
    {"ANA-final.TRA", true, "ANA", PatientFileKind::Tracing, 3},
    {"ANA.tra", false},
    {"ANA-INTER9.tra", false},
    // Not a patient's file.
    {"MARIA.otl.eoCkTc", false},
    {"MARIA.pln.lock", false},
    {"ANA-INICIAL.twe.lock", false},
    {"ANA-INICIAL.twe~", false},
    {"ANA.twe", false},
    {"ANA-INTER3.twe", false},
    {"ANA-INICIALtwe", false},
    {"ANAINICIAL.twe", false},
    {"-INICIAL.twe", false},
    {".bol", false},
    {"  .pln", false},
    {".ANA.otl", false},
    {"Stats.cef", false},
    {"ANA.txt", false},
    {"ANA.bolx", false},
    {"ANA", false},
    {"", false},
};

TEST(PatientFileName, EveryKindAndWhatIsNotOne)
{
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.file);
        const auto parsed = ParsePatientFileName(QString::fromUtf8(c.file));
        ASSERT_EQ(parsed.has_value(), c.fits);
        if (!c.fits)
            continue;
        EXPECT_EQ(S(parsed->patient), c.patient);
        EXPECT_EQ(parsed->kind, c.kind);
        EXPECT_EQ(parsed->stage, c.stage);
    }
}

struct SearchCase {
    const char* name;
    const char* search;
    bool found;
};

const SearchCase kSearches[] = {
    {"JOÃO SILVA", "joao", true},      {"JOÃO SILVA", "JOÃO", true},       {"JOAO SILVA", "joão", true},
    {"JOÃO SILVA", "silva", true},     {"JOÃO SILVA", "ão si", true},      {"JOÃO SILVA", "silva joao", true},
    {"JOÃO SILVA", "  joao  ", true},  {"JOÃO SILVA", "", true},           {"JOÃO SILVA", "joana", false},
    {"JOÃO SILVA", "silvas", false},   {"CONCEIÇÃO", "conceicao", true},   {"CONCEIÇÃO", "CONCEICAO", true},
    {"ÂNGELA", "angela", true},        {"ÉDER", "eder", true},             {"MÜLLER", "muller", true},
    {"ANA-MARIA", "ana-maria", true},  {"ANA-MARIA", "anamaria", false},   {"SANTOS, ANA", "santos,", true},
    {"JOSÉ", "josé lima", false},      {"ANA", "b", false},
};

// The filter of the window, over a one-row table.
TEST(PatientSearch, AccentsAndCaseIgnoredOnAnyPartOfTheName)
{
    for (const SearchCase& c : kSearches) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.search);
        PatientTableModel model;
        PatientRow row;
        row.name = QString::fromUtf8(c.name);
        row.key = FoldForSearch(row.name);
        row.plan = row.name + QStringLiteral(".otl");
        model.setRows({row});
        PatientFilter filter;
        filter.setSourceTable(&model);
        filter.setSearch(QString::fromUtf8(c.search));
        EXPECT_EQ(filter.rowCount(), c.found ? 1 : 0);
    }
}

// The table for Latin-1 letters gives what the decomposition gives (a character beyond
// Latin-1 sends the same text through the decomposition).
TEST(PatientSearch, TheLatin1TableAgreesWithTheDecomposition)
{
    for (char16_t u = 0x20; u <= 0xFF; ++u) {
        if (u >= 0x7F && u < 0xC0)
            continue;
        const QString c(QChar{u});
        const QString viaDecomposition = FoldForSearch(c + QStringLiteral("\u0101")).chopped(1);
        EXPECT_EQ(FoldForSearch(c), viaDecomposition) << "U+" << std::hex << int(u);
    }
}

struct HistoryCase {
    const char* what;
    QByteArray bytes;
    HistorySummary expected;
};

QByteArray Sep() { return QByteArray(145, '-'); }

TEST(HistorySummary, VisitsAndTheLastDate)
{
    const QByteArray s = Sep();
    const HistoryCase cases[] = {
        {"empty file", "", {true, 0, ""}},
        {"name only", "ANA\r\n", {true, 0, ""}},
        {"one visit", "ANA\r\n01/02/2024\r\n\r\nRevisão\r\n" + s + "\r\n", {true, 1, "01/02/2024"}},
        {"two visits", "ANA\r\n01/02/2024\r\n\r\nA\r\n" + s + "\r\n03/04/2024\r\n\r\nB\r\nC\r\n" + s + "\r\n",
         {true, 2, "03/04/2024"}},
        {"short dashes are text", "ANA\r\n01/02/2024\r\n\r\n-----\r\n" + s + "\r\n", {true, 1, "01/02/2024"}},
        {"146 dashes are text", "ANA\r\n01/02/2024\r\n\r\n" + s + "-\r\n" + s + "\r\n", {true, 1, "01/02/2024"}},
        {"last block unfinished", "ANA\r\n01/02/2024\r\n\r\nA\r\n" + s + "\r\n05/06/2024\r\n\r\nB", {true, 2, "05/06/2024"}},
        {"line feeds only", "ANA\n01/02/2024\n\nA\n" + s + "\n02/02/2024\n\nB\n" + s + "\n", {true, 2, "02/02/2024"}},
        {"no final line end", "ANA\r\n01/02/2024\r\n\r\nA\r\n" + s, {true, 1, "01/02/2024"}},
        {"same day twice", "ANA\r\n01/02/2024\r\n\r\nA\r\n" + s + "\r\n01/02/2024\r\n\r\nB\r\n" + s + "\r\n",
         {true, 2, "01/02/2024"}},
    };
    for (const HistoryCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SummariseHistory(c.bytes), c.expected)
            << SummariseHistory(c.bytes).visits << " " << S(SummariseHistory(c.bytes).lastVisit);
    }
}

class ScanTest : public ::testing::Test {
protected:
    void write(const QString& name, const QByteArray& bytes = "x")
    {
        QFile f(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(ScanTest, RowsFromNamesSortedByNameIgnoringAccents)
{
    for (const char* name : {"ÉDER-INICIAL.twe", "ÉDER-FINAL.twe", "EDNA.bol", "ANA.otl", "ANA-INTER1.TWE",
                             "ZÉ.pln", "notas.txt", "ANA.otl.eoCkTc", "Bolton.lock", "ANA.twe"})
        write(QString::fromUtf8(name));
    PatientScanner scanner(dir.path());
    const QList<PatientRow> rows = scanner.scan();
    ASSERT_TRUE(scanner.folderFound());
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(S(rows[0].name), "ANA");
    EXPECT_EQ(S(rows[0].plan), "ANA.otl");
    EXPECT_EQ(S(rows[0].tweed[1]), "ANA-INTER1.TWE");
    EXPECT_TRUE(rows[0].tweed[0].isEmpty());
    EXPECT_EQ(rows[0].fileCount(), 2);
    EXPECT_EQ(S(rows[1].name), "ÉDER");  // folded "eder" before "edna"
    EXPECT_EQ(S(rows[1].tweed[0]), "ÉDER-INICIAL.twe");
    EXPECT_EQ(S(rows[1].tweed[3]), "ÉDER-FINAL.twe");
    EXPECT_EQ(S(rows[2].name), "EDNA");
    EXPECT_EQ(S(rows[3].name), "ZÉ");
    EXPECT_EQ(rows[3].historyInfo.visits, 0);
    EXPECT_TRUE(rows[3].lastChange.isValid());
}

TEST_F(ScanTest, APatientWithTracingsAloneIsListedWithTheStagesTraced)
{
    for (const char* name : {"JOSE-FINAL.tra", "JOSE-INICIAL.tra", "ANA-INTER1.twe", "ANA-INTER2.tra"})
        write(QString::fromUtf8(name));
    const QList<PatientRow> rows = PatientScanner(dir.path()).scan();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(S(rows[0].tracedStages()), "Inter 2");
    EXPECT_EQ(S(rows[1].name), "JOSE");
    EXPECT_EQ(S(rows[1].tracedStages()), "Inicial, Final");
    EXPECT_EQ(S(rows[1].file(PatientFileKind::Tracing, 3)), "JOSE-FINAL.tra");
    EXPECT_FALSE(rows[1].hasTweed());
    EXPECT_EQ(rows[1].fileCount(), 0);  // nothing the window opens in a page
    EXPECT_TRUE(rows[1].lastChange.isValid());
}

TEST_F(ScanTest, LastChangeIsTheNewestFile)
{
    write(QStringLiteral("ANA.bol"));
    write(QStringLiteral("ANA.otl"));
    const QDateTime old = QDateTime::currentDateTime().addDays(-30);
    const QDateTime newer = QDateTime::currentDateTime().addDays(-2);
    for (const auto& [name, when] : {std::pair{"ANA.bol", old}, std::pair{"ANA.otl", newer}}) {
        QFile f(QDir(dir.path()).filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    const QList<PatientRow> rows = PatientScanner(dir.path()).scan();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].lastChange.toSecsSinceEpoch(), newer.toSecsSinceEpoch());
}

TEST_F(ScanTest, AnUnreadableHistoryShowsAsSuchAndTheListGoesOn)
{
    QV_NEEDS_SYMLINKS();
    write(QStringLiteral("ANA.bol"));
    write(QStringLiteral("BIA.bol"));
    // A link to nothing: listed by the folder, unreadable by anyone (root included).
    ASSERT_TRUE(QFile::link(QDir(dir.path()).filePath(QStringLiteral("gone")),
                            QDir(dir.path()).filePath(QStringLiteral("ANA.pln"))));
    const QList<PatientRow> rows = PatientScanner(dir.path()).scan();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(S(rows[0].history), "ANA.pln");
    EXPECT_FALSE(rows[0].historyInfo.readable);
    EXPECT_EQ(S(PatientTableModel::historyText(rows[0].historyInfo)), "ilegível");
    EXPECT_EQ(S(rows[1].name), "BIA");
}

TEST_F(ScanTest, ARescanReadsAChangedHistoryAgain)
{
    const QByteArray first = "ANA\r\n01/02/2024\r\n\r\nA\r\n" + Sep() + "\r\n";
    write(QStringLiteral("ANA.pln"), first);
    PatientScanner scanner(dir.path());
    EXPECT_EQ(scanner.scan()[0].historyInfo.visits, 1);
    write(QStringLiteral("ANA.pln"), first + "09/09/2024\r\n\r\nB\r\n" + Sep() + "\r\n");
    const PatientRow row = scanner.scan()[0];
    EXPECT_EQ(row.historyInfo.visits, 2);
    EXPECT_EQ(S(row.historyInfo.lastVisit), "09/09/2024");
    EXPECT_EQ(S(PatientTableModel::historyText(row.historyInfo)), "2 consultas, última 09/09/2024");
}

TEST(ScanMissingFolder, GivesNoRows)
{
    PatientScanner scanner(QStringLiteral("/nonexistent/Análises"));
    EXPECT_TRUE(scanner.scan().isEmpty());
    EXPECT_FALSE(scanner.folderFound());
}

PatientRow Row(const char* name, const char* bolton = "")
{
    PatientRow r;
    r.name = QString::fromUtf8(name);
    r.key = FoldForSearch(r.name);
    r.bolton = QString::fromUtf8(bolton);
    return r;
}

QStringList Names(const PatientTableModel& m)
{
    QStringList out;
    for (const PatientRow& r : m.rows())
        out << r.name;
    return out;
}

// A rescan changes only what differs: rows that stay keep their indexes (and so the
// selection and current cell of the view).
TEST(PatientTable, UpdatesKeepTheRowsThatStay)
{
    PatientTableModel model;
    model.setRows({Row("ANA", "ANA.bol"), Row("BIA"), Row("CAIO"), Row("DORA")});
    QPersistentModelIndex caio(model.index(2, 0));
    QPersistentModelIndex ana(model.index(0, PatientTableModel::Bolton));
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });

    model.setRows({Row("ABEL"), Row("ANA", "ANA.bol"), Row("CAIO"), Row("DORA"), Row("EVA"), Row("ÊNIO")});
    EXPECT_EQ(Names(model), QStringList({"ABEL", "ANA", "CAIO", "DORA", "EVA", "ÊNIO"}));
    EXPECT_EQ(caio.row(), 2);
    EXPECT_EQ(ana.row(), 1);

    model.setRows({Row("ANA"), Row("DORA")});
    EXPECT_EQ(Names(model), QStringList({"ANA", "DORA"}));
    EXPECT_FALSE(caio.isValid());
    EXPECT_EQ(ana.row(), 0);
    EXPECT_EQ(model.data(model.index(0, PatientTableModel::Bolton)).toString(), QString());
    EXPECT_EQ(resets, 0);

    model.setRows({});
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(ana.isValid());
}

TEST(PatientTable, SortsByAnyColumn)
{
    PatientTableModel model;
    PatientRow withHistory = Row("CAIO");
    withHistory.history = QStringLiteral("CAIO.pln");
    withHistory.historyInfo = {true, 3, QStringLiteral("01/01/2025")};
    model.setRows({Row("ANA", "ANA.bol"), Row("BIA"), withHistory, Row("DORA", "DORA.bol")});
    PatientFilter filter;
    filter.setSourceTable(&model);
    auto column = [&] {
        QStringList names;
        for (int r = 0; r < filter.rowCount(); ++r)
            names << filter.index(r, PatientTableModel::Name).data().toString();
        return names;
    };
    filter.sort(PatientTableModel::Bolton, Qt::DescendingOrder);
    EXPECT_EQ(column(), QStringList({"DORA", "ANA", "CAIO", "BIA"}));
    filter.sort(PatientTableModel::History, Qt::DescendingOrder);
    EXPECT_EQ(column().front(), QStringLiteral("CAIO"));
    filter.sort(PatientTableModel::Name, Qt::DescendingOrder);
    EXPECT_EQ(column(), QStringList({"DORA", "CAIO", "BIA", "ANA"}));
}

}  // namespace
