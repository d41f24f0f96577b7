// The 219-byte Bolton record: layout, cuts, oversized length bytes, short files, safe names.

#include "records/BoltonFile.h"
#include "records/PatientName.h"
#include "records/Cp1252.h"
#include "records/IoError.h"

#include <QFile>
#include <QTemporaryDir>

#include "bolton/QStringPrinting.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

// A length-prefixed field as the record stores it, built by hand.
QByteArray field(const QByteArray& text, int capacity)
{
    QByteArray out(1 + capacity, '\0');
    out[0] = char(text.size());
    for (int k = 0; k < text.size(); ++k)
        out[1 + k] = text[k];
    return out;
}

BoltonSheet sample()
{
    BoltonSheet r;
    r.bpaciente = QStringLiteral("ÇÃO");
    for (int k = 0; k < 12; ++k) {
        r.s[size_t(k)] = QStringLiteral("%1.5").arg(k + 1);
        r.i[size_t(k)] = QStringLiteral("%1.0").arg(k + 20);
    }
    r.termole = QStringLiteral("11.0");
    r.termold = QStringLiteral("12.0");
    r.segmole = QStringLiteral("10.5");
    r.segmold = QStringLiteral("10.0");
    return r;
}

TEST(BoltonFileRecord, LaysOutEveryFieldInItsPlace)
{
    QByteArray expected;
    expected += field("\xC7\xC3O", 50);  // Ç Ã O in Windows-1252
    for (int k = 0; k < 12; ++k)
        expected += field(QByteArray::number(k + 1) + ".5", 5);
    for (int k = 0; k < 12; ++k)
        expected += field(QByteArray::number(k + 20) + ".0", 5);
    // Molars stored third left, third right, second left, second right.
    expected += field("11.0", 5) + field("12.0", 5) + field("10.5", 5) + field("10.0", 5);
    ASSERT_EQ(expected.size(), 219);

    const QByteArray bytes = EncodeBoltonSheet(sample());
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(quint8(bytes[0]), 3);
    EXPECT_EQ(quint8(bytes[1]), 199);
    EXPECT_EQ(quint8(bytes[2]), 195);
    EXPECT_EQ(quint8(bytes[3]), 79);
    EXPECT_EQ(bytes.mid(4, 47), QByteArray(47, '\0'));
    EXPECT_EQ(bytes.mid(195, 5), QByteArray("\x04" "11.0"));
    EXPECT_EQ(bytes.mid(201, 5), QByteArray("\x04" "12.0"));
    EXPECT_EQ(bytes.mid(207, 5), QByteArray("\x04" "10.5"));
    EXPECT_EQ(bytes.mid(213, 5), QByteArray("\x04" "10.0"));
}

TEST(BoltonFileRecord, ReadsBackWhatItWrote)
{
    const BoltonSheet r = DecodeBoltonSheet(EncodeBoltonSheet(sample()));
    const BoltonSheet s = sample();
    EXPECT_EQ(r.bpaciente, s.bpaciente);
    EXPECT_EQ(r.s, s.s);
    EXPECT_EQ(r.i, s.i);
    EXPECT_EQ(r.termole, s.termole);
    EXPECT_EQ(r.termold, s.termold);
    EXPECT_EQ(r.segmole, s.segmole);
    EXPECT_EQ(r.segmold, s.segmold);
}

TEST(BoltonFileRecord, EmptyFieldsAreZeroBytes)
{
    EXPECT_EQ(EncodeBoltonSheet({}), QByteArray(219, '\0'));
    const BoltonSheet r = DecodeBoltonSheet(QByteArray(219, '\0'));
    EXPECT_TRUE(r.bpaciente.isEmpty());
    EXPECT_TRUE(r.s[0].isEmpty());
    EXPECT_TRUE(r.segmold.isEmpty());
}

TEST(BoltonFileRecord, CutsTextsToTheirCapacity)
{
    BoltonSheet r = sample();
    r.bpaciente = QString(40, u'A') + QString(20, u'Ç');  // 60 characters
    r.termole = QStringLiteral("12.345");
    r.s[11] = QStringLiteral("1234567");
    const QByteArray bytes = EncodeBoltonSheet(r);
    ASSERT_EQ(bytes.size(), 219);
    EXPECT_EQ(quint8(bytes[0]), 50);
    EXPECT_EQ(bytes.mid(1, 50), QByteArray(40, 'A') + QByteArray(10, '\xC7'));
    EXPECT_EQ(bytes.mid(195, 6), QByteArray("\x05" "12.34"));
    EXPECT_EQ(bytes.mid(117, 6), QByteArray("\x05" "12345"));
    const BoltonSheet back = DecodeBoltonSheet(bytes);
    EXPECT_EQ(back.bpaciente, QString(40, u'A') + QString(10, u'Ç'));
    EXPECT_EQ(back.termole, QStringLiteral("12.34"));
}

TEST(BoltonFileRecord, LengthBytePastItsFieldReadsAsTheCapacity)
{
    QByteArray bytes = EncodeBoltonSheet(sample());
    bytes[0] = char(255);
    bytes[51] = char(9);   // s01 "1.5" with a length of 9
    bytes[213] = char(6);  // segmold, the last field: must not read past the record
    const BoltonSheet r = DecodeBoltonSheet(bytes);
    EXPECT_EQ(r.bpaciente.size(), 50);
    EXPECT_TRUE(r.bpaciente.startsWith(QStringLiteral("ÇÃO")));
    EXPECT_EQ(r.s[0], QStringLiteral("1.5") + QString(2, QChar(0)));
    EXPECT_EQ(r.segmold, QStringLiteral("10.0") + QString(1, QChar(0)));
}

class BoltonFileOnDisk : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name = QStringLiteral("X.bol")) const { return dir.filePath(name); }
    void write(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(BoltonFileOnDisk, ShortFileIsAnError)
{
    write(EncodeBoltonSheet(sample()).left(218));
    EXPECT_THROW(ReadBoltonFile(path()), IoError);
    EXPECT_THROW(ReadBoltonFile(path(QStringLiteral("none.bol"))), IoError);
}

TEST_F(BoltonFileOnDisk, BytesAfterTheRecordAreIgnored)
{
    write(EncodeBoltonSheet(sample()) + QByteArray("\x05" "99.99", 6));
    EXPECT_EQ(ReadBoltonFile(path()).segmold, QStringLiteral("10.0"));
}

TEST_F(BoltonFileOnDisk, WritingNeverReplacesAFile)
{
    write(QByteArray("old"));
    EXPECT_THROW(WriteBoltonFile(path(), sample()), IoError);
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));

    WriteBoltonFile(path(QStringLiteral("new.bol")), sample());
    EXPECT_EQ(ReadBoltonFile(path(QStringLiteral("new.bol"))).bpaciente, QStringLiteral("ÇÃO"));
}

TEST(BoltonFilePath, IsInTheAnalysesFolder)
{
    EXPECT_EQ(BoltonFilePath(QStringLiteral("ÇÃO")), QStringLiteral("Análises/ÇÃO.bol"));
    EXPECT_EQ(BoltonFilePath(QStringLiteral("SILVA, JOÃO")), QStringLiteral("Análises/SILVA, JOÃO.bol"));
}

struct NameCase {
    const char* name;
    bool storable;
};

class PatientNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(PatientNames, OnlyWhatTheNameFieldAdmits)
{
    EXPECT_EQ(IsSafePatientName(QString::fromUtf8(GetParam().name)), GetParam().storable) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Bolton, PatientNames,
                         ::testing::Values(NameCase{"MARIA DA SILVA", true}, NameCase{"SILVA, JOÃO", true},
                                           NameCase{"ÇÃOÝÐ×Ø", true}, NameCase{"joão", true},
                                           NameCase{"../SAIR", false}, NameCase{"A/B", false},
                                           NameCase{"A\\B", false}, NameCase{"A.B", false},
                                           NameCase{"..", false}, NameCase{"A:B", false},
                                           NameCase{"A*B", false}, NameCase{"A\bB", false},
                                           NameCase{"A\nB", false}, NameCase{"ABC1", false},
                                           NameCase{"A'B", false}, NameCase{"ÿ", false}));

}  // namespace

namespace {

// The record is converted in one piece; it must read and write exactly as the shared
// length-prefixed helpers do, field by field.
const std::pair<int, int> kFields[] = {
    {0, 50},    {51, 5},  {57, 5},  {63, 5},  {69, 5},  {75, 5},  {81, 5},  {87, 5},  {93, 5},  {99, 5},
    {105, 5},   {111, 5}, {117, 5}, {123, 5}, {129, 5}, {135, 5}, {141, 5}, {147, 5}, {153, 5}, {159, 5},
    {165, 5},   {171, 5}, {177, 5}, {183, 5}, {189, 5}, {195, 5}, {201, 5}, {207, 5}, {213, 5}};

QStringList fieldsOf(const BoltonSheet& r)
{
    QStringList out = {r.bpaciente};
    for (const QString& t : r.s)
        out << t;
    for (const QString& t : r.i)
        out << t;
    out << r.termole << r.termold << r.segmole << r.segmold;
    return out;
}

TEST(BoltonFileRecord, DecodesEveryByteAsTheFieldHelperDoes)
{
    QByteArray bytes(219, '\0');
    for (int k = 0; k < 219; ++k)
        bytes[k] = char((k * 37 + 11) % 256);  // every kind of byte, undefined ones included
    const QStringList fields = fieldsOf(DecodeBoltonSheet(bytes));
    for (int f = 0; f < 29; ++f)
        EXPECT_EQ(fields[f], GetShortString(bytes, kFields[f].first, kFields[f].second)) << "field " << f;
}

TEST(BoltonFileRecord, EncodesAsTheFieldHelperDoes)
{
    for (const QString& name : {QStringLiteral("€ŠŒŽšœžŸ ÀÉÎÕÜ ÿ"), QStringLiteral("ΩMEGA"), QStringLiteral("A\U0001F600B")}) {
        BoltonSheet r = sample();
        r.bpaciente = name;
        r.segmole = QStringLiteral("1.234567");
        QByteArray expected(219, '\0');
        const QStringList fields = fieldsOf(r);
        for (int f = 0; f < 29; ++f)
            PutShortString(expected, kFields[f].first, kFields[f].second, fields[f]);
        EXPECT_EQ(EncodeBoltonSheet(r), expected) << name.toStdString();
    }
}

}  // namespace
