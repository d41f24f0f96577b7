#include "records/Cp1252.h"
#include "records/HistoryFile.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "records/PlanFile.h"
#include "records/TextFile.h"

#include "FileLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;

namespace {

const QByteArray kDashes(145, '-');

}  // namespace

struct NameCase {
    const char* name;  // UTF-8
    bool safe;
};

class SafePatientName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafePatientName, OnlyWhatTheNameFilterAccepts)
{
    EXPECT_EQ(IsSafePatientName(QString::fromUtf8(GetParam().name)), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SafePatientName,
    ::testing::Values(NameCase{"ANA", true}, NameCase{"ANA MARIA, JOSÉ", true}, NameCase{"ÇÃÕÝ×Ø", true},
                      NameCase{"ana", true},  // the filter turns it to capitals: nothing a path could misuse
                      NameCase{"", true}, NameCase{"../ANA", false}, NameCase{"ANA/BIA", false},
                      NameCase{"ANA\\BIA", false}, NameCase{"ANA.", false}, NameCase{"C:ANA", false},
                      NameCase{"ANA\x08", false}, NameCase{"ANA\t", false}, NameCase{"ANA1", false},
                      NameCase{"ANA-BIA", false}, NameCase{"ß", false}, NameCase{"ÿ", false},
                      NameCase{"ANA\xEF\xBF\xBD", false},  // a replacement character from an undecodable byte
                      NameCase{"ANA\xC2\x81", false}));

TEST(SafePatientName, NulCharacter) { EXPECT_FALSE(IsSafePatientName(QString(QChar(0)) + QStringLiteral("A"))); }

struct SplitCase {
    QByteArray bytes;
    QStringList lines;
};

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, Lines) { EXPECT_EQ(SplitTextLines(GetParam().bytes), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitLines,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"A", {"A"}}, SplitCase{"A\r\n", {"A"}}, SplitCase{"A\r\nB", {"A", "B"}},
                      SplitCase{"\r\n", {""}}, SplitCase{"\r\n\r\n", {"", ""}}, SplitCase{"A\n\nB\r\n", {"A", "", "B"}},
                      SplitCase{"A\rB\r", {"A", "B"}}, SplitCase{"A\n\rB", {"A", "", "B"}},
                      SplitCase{"\xC7\xC3O \x80\r\n", {QStringLiteral("ÇÃO €")}}));

TEST(TextLines, JoinEndsEveryLineWithCrLf)
{
    EXPECT_EQ(JoinTextLines({}), QByteArray());
    EXPECT_EQ(JoinTextLines({QString()}), QByteArray("\r\n"));
    EXPECT_EQ(JoinTextLines({QStringLiteral("JOÃO"), QStringLiteral("€ 5"), QString()}), QByteArray("JO\xC3O\r\n\x80 5\r\n\r\n"));
}

// The same bytes on every system: the five bytes Windows-1252 leaves undefined read back as
// themselves, and a character it cannot hold is one SUB byte (a pair of surrogates included).
TEST(TextLines, UndefinedBytesSurviveAndForeignCharactersAreOneSubstitute)
{
    EXPECT_EQ(ToCp1252(QString::fromUtf16(u"a\u4e2d\U0001F600\u20ac\u0081\u009d\u00ff")),
              QByteArray("a\x1a\x1a\x80\x81\x9d\xff"));
    EXPECT_EQ(FromCp1252(QByteArray("\x81\x8d\x8f\x90\x9d\x80")), QString::fromUtf16(u"\u0081\u008d\u008f\u0090\u009d\u20ac"));
}

TEST(TextLines, EveryByteSurvivesReadingAndWriting)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all.append(char(b));
    const QByteArray file = QByteArray("NAME\r\n") + all + "\r\n";
    EXPECT_EQ(JoinTextLines(SplitTextLines(file)).toHex().toStdString(), file.toHex().toStdString());
}

struct StorableCase {
    const char* what;
    QString in;
    QString out;
};

class Storable : public ::testing::TestWithParam<StorableCase> {};

TEST_P(Storable, Keeps) { EXPECT_EQ(StorableText(GetParam().in).toStdString(), GetParam().out.toStdString()); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Storable,
    ::testing::Values(StorableCase{"plain", QStringLiteral("Ação “já” – 5€"), QStringLiteral("Ação “já” – 5€")},
                      StorableCase{"crlf", QStringLiteral("A\r\nB\rC\nD"), QStringLiteral("A\nB\nC\nD")},
                      StorableCase{"tab", QStringLiteral("A\tB"), QStringLiteral("A\tB")},
                      StorableCase{"cjk", QStringLiteral("A中B"), QStringLiteral("AB")},
                      StorableCase{"emoji", QStringLiteral("A😀B"), QStringLiteral("AB")},
                      StorableCase{"controls", QString::fromUtf16(u"A\u0001\u007f\u0081B"), QStringLiteral("AB")},
                      StorableCase{"paragraph_separator", QString::fromUtf16(u"A\u2029B"), QStringLiteral("AB")}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(HistoryText, BlockBytes)
{
    EXPECT_EQ(HistorySeparator(), QString(145, u'-'));
    EXPECT_EQ(HistoryFileName(QStringLiteral("ANA")), QStringLiteral("Análises/ANA.pln"));
    EXPECT_EQ(HistoryBlock(QStringLiteral("09/12/2024"), {QStringLiteral("DOR NO DENTE"), QString(), QStringLiteral("ÓK")}),
              QByteArray("09/12/2024\r\n\r\nDOR NO DENTE\r\n\r\n\xD3K\r\n") + kDashes + "\r\n");
}

TEST(HistoryText, DateInTheBrazilianShortFormatWhateverTheLocale)
{
    const QLocale before = QLocale();
    for (const QLocale& l : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany),
                             QLocale(QLocale::Portuguese, QLocale::Brazil)}) {
        QLocale::setDefault(l);
        EXPECT_EQ(HistoryDateText(QDate(2026, 12, 9)), QStringLiteral("09/12/2026"));
        EXPECT_EQ(HistoryDateText(QDate(2027, 1, 31)), QStringLiteral("31/01/2027"));
        EXPECT_EQ(HistoryDateText(QDate(999, 3, 5)), QStringLiteral("05/03/0999"));
    }
    QLocale::setDefault(before);
}

TEST(HistoryText, Parse)
{
    const HistoryContents empty = ParseHistory(QByteArray());
    EXPECT_TRUE(empty.patient.isEmpty());
    EXPECT_TRUE(empty.lines.isEmpty());
    const HistoryContents single = ParseHistory("ANA");
    EXPECT_EQ(single.patient, QStringLiteral("ANA"));
    EXPECT_TRUE(single.lines.isEmpty());
    const HistoryContents two = ParseHistory(QByteArray("ANA\r\nD\r\n\r\nX\r\n") + kDashes + "\r\n");
    EXPECT_EQ(two.lines, QStringList({"D", "", "X", HistorySeparator()}));
}

TEST(PlanText, EncodeAndParse)
{
    EXPECT_EQ(PlanFileName(QStringLiteral("ANA")), QStringLiteral("Análises/ANA.otl"));
    EXPECT_EQ(EncodePlan({QStringLiteral("ANA"), {}}), QByteArray("ANA\r\n"));
    EXPECT_EQ(EncodePlan({QStringLiteral("ANA"), {"A", "", "B"}}), QByteArray("ANA\r\nA\r\n\r\nB\r\n"));
    const PlanContents p = ParsePlan("ANA\r\nA\r\n\r\nB\r\n");
    EXPECT_EQ(p.patient, QStringLiteral("ANA"));
    EXPECT_EQ(p.lines, QStringList({"A", "", "B"}));
}

class TextFilesOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(TextFilesOnDisk, HistoryCreateThenAppend)
{
    const QString p = path(QStringLiteral("ANA.pln"));
    const QByteArray one = HistoryBlock(QStringLiteral("01/02/2024"), {QStringLiteral("UM")});
    const QByteArray two = HistoryBlock(QStringLiteral("02/02/2024"), {QStringLiteral("DOIS")});
    CreateHistoryFile(p, QStringLiteral("ANA"), one);
    EXPECT_EQ(read(QStringLiteral("ANA.pln")), QByteArray("ANA\r\n") + one);
    EXPECT_THROW(CreateHistoryFile(p, QStringLiteral("ANA"), two), IoError);
    EXPECT_EQ(read(QStringLiteral("ANA.pln")), QByteArray("ANA\r\n") + one);
    AppendHistoryFile(p, two);
    EXPECT_EQ(read(QStringLiteral("ANA.pln")), QByteArray("ANA\r\n") + one + two);
}

TEST_F(TextFilesOnDisk, AppendEndsAnUnfinishedLastLineFirst)
{
    write(QStringLiteral("ANA.pln"), "ANA\r\nOLD");
    const QByteArray block = HistoryBlock(QStringLiteral("D"), {QStringLiteral("X")});
    AppendHistoryFile(path(QStringLiteral("ANA.pln")), block);
    EXPECT_EQ(read(QStringLiteral("ANA.pln")), QByteArray("ANA\r\nOLD\r\n") + block);

    write(QStringLiteral("LF.pln"), "ANA\n");
    AppendHistoryFile(path(QStringLiteral("LF.pln")), block);
    EXPECT_EQ(read(QStringLiteral("LF.pln")), QByteArray("ANA\n") + block);

    write(QStringLiteral("EMPTY.pln"), "");
    AppendHistoryFile(path(QStringLiteral("EMPTY.pln")), block);
    EXPECT_EQ(read(QStringLiteral("EMPTY.pln")), block);
}

TEST_F(TextFilesOnDisk, AppendNeverCreates)
{
    EXPECT_THROW(AppendHistoryFile(path(QStringLiteral("NEW.pln")), "X\r\n"), IoError);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("NEW.pln"))));
}

TEST_F(TextFilesOnDisk, FailedAppendLeavesTheEarlierVisits)
{
    QV_NEEDS_FILE_SIZE_LIMIT();
    const QByteArray old = QByteArray("ANA\r\n") + HistoryBlock(QStringLiteral("D"), {QStringLiteral("VISITA")});
    write(QStringLiteral("ANA.pln"), old);
    QStringList longVisit;
    for (int i = 0; i < 200; ++i)
        longVisit << QStringLiteral("LINHA %1 DE UMA VISITA LONGA").arg(i);
    {
        const test::FileSizeLimit limit(old.size() + 100);  // part of the block fits, the rest fails
        EXPECT_THROW(AppendHistoryFile(path(QStringLiteral("ANA.pln")), HistoryBlock(QStringLiteral("E"), longVisit)), IoError);
    }
    EXPECT_EQ(read(QStringLiteral("ANA.pln")), old);
}

TEST_F(TextFilesOnDisk, FailedPlanWriteKeepsTheOldPlan)
{
    QV_NEEDS_FILE_SIZE_LIMIT();
    const QByteArray old = EncodePlan({QStringLiteral("ANA"), {"PLANO ANTIGO"}});
    write(QStringLiteral("ANA.otl"), old);
    QStringList longPlan;
    for (int i = 0; i < 200; ++i)
        longPlan << QStringLiteral("ETAPA %1 DO PLANO NOVO").arg(i);
    {
        const test::FileSizeLimit limit(1000);
        EXPECT_THROW(WritePlanFile(path(QStringLiteral("ANA.otl")), {QStringLiteral("ANA"), longPlan}), IoError);
    }
    EXPECT_EQ(read(QStringLiteral("ANA.otl")), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ANA.otl")});  // no temporary left
}

TEST_F(TextFilesOnDisk, PlanReplacesTheWholeFile)
{
    write(QStringLiteral("ANA.otl"), "ANA\r\n1\r\n2\r\n3\r\n");
    WritePlanFile(path(QStringLiteral("ANA.otl")), {QStringLiteral("ANA"), {"NOVO"}});
    EXPECT_EQ(read(QStringLiteral("ANA.otl")), QByteArray("ANA\r\nNOVO\r\n"));
}

TEST_F(TextFilesOnDisk, ReadErrors)
{
    EXPECT_THROW(ReadHistoryFile(path(QStringLiteral("none.pln"))), IoError);
    EXPECT_THROW(ReadPlanFile(path(QStringLiteral("none.otl"))), IoError);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("DIR.otl")));
    EXPECT_THROW(ReadPlanFile(path(QStringLiteral("DIR.otl"))), IoError);
    EXPECT_THROW(WritePlanFile(path(QStringLiteral("DIR.otl")), {QStringLiteral("DIR"), {}}), IoError);
    EXPECT_THROW(WritePlanFile(path(QStringLiteral("nowhere/ANA.otl")), {QStringLiteral("ANA"), {}}), IoError);
}
