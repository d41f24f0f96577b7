#include "records/IoError.h"
#include "records/PatientName.h"
#include "records/TweedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;

namespace {

// A length byte, the Latin-1 text, zero bytes up to the field's capacity.
QByteArray field(int capacity, const QByteArray& text)
{
    QByteArray f(capacity + 1, '\0');
    f[0] = char(text.size());
    for (int i = 0; i < text.size(); ++i)
        f[1 + i] = text[i];
    return f;
}

TweedFileRecord sampleRecord()
{
    TweedFileRecord r;
    r.guideDone = true;
    r.twPaciente = QStringLiteral("JOÃO");
    r.Idade = QStringLiteral("12");
    r.GenMasc = true;
    r.twfma = QStringLiteral("25.0");
    r.twfmia = QStringLiteral("65.0");
    r.twimpa = QStringLiteral("90.0");
    r.twploc = QStringLiteral("10.0");
    r.twsna = QStringLiteral("82.0");
    r.twsnb = QStringLiteral("80.0");
    r.twaobo = QStringLiteral("-2.0");
    r.twangz = QStringLiteral("75.0");
    r.twls = QStringLiteral("1.0");
    r.twqt = QStringLiteral("12.0");
    r.twafa = QStringLiteral("65.0");
    r.twafp = QStringLiteral("45.0");
    r.anaer = QStringLiteral("-3.0");
    r.anaep = QStringLiteral("1.5");
    r.anmer = QStringLiteral("2.0");
    r.anmep = QStringLiteral(".5");
    r.anmspee = QStringLiteral("-2.0");
    r.anmcorr = QStringLiteral("-1.0");
    r.anper = QStringLiteral("0.0");
    r.anpep = QStringLiteral("3.0");
    r.dcnao = true;
    r.dcopcres = QStringLiteral("88.0");
    GuideAnswers& g = r.guide;
    g.daapinh = true;
    g.maior = true;
    g.dmrel = true;
    g.dpadq = true;
    g.clsim = true;
    g.clnao = false;
    g.horcl2 = true;
    g.esquerda = true;
    g.profunda = true;
    g.media = true;
    g.desarm = true;
    g.dessevera = true;
    return r;
}

}  // namespace

TEST(TweedFileRecord, WholeLayoutByteForByte)
{
    QByteArray expected;
    expected += char(1);                        // 0 guideDone
    expected += field(50, "JO\xC3O");           // 1 twPaciente, Windows-1252 Ã
    expected += field(2, "12");                 // 52 Idade
    expected += char(1);                        // 55 GenMasc
    for (const char* m : {"25.0", "65.0", "90.0", "10.0", "82.0", "80.0", "-2.0", "75.0", "1.0", "12.0", "65.0",
                          "45.0", "-3.0", "1.5", "2.0", ".5", "-2.0", "-1.0", "0.0", "3.0"})
        expected += field(5, m);                // 56 .. 175
    ASSERT_EQ(expected.size(), 176);
    expected += char(1);                        // 176 dcnao
    expected += field(5, "88.0");               // 177 dcopcres
    ASSERT_EQ(expected.size(), 183);
    // daapinh menor dmapinh dmrel dmpro dpadq clsim horcl2 sub horcl3 aberta grade profunda media desarm dessuave
    expected += QByteArray("\x01\x00\x00\x01\x00\x01\x01\x01" "e" "\x00\x00" "m" "\x01\x01\x01\x00", 16);
    ASSERT_EQ(expected.size(), 199);

    EXPECT_EQ(EncodeTweed(sampleRecord()).toHex(' ').toStdString(), expected.toHex(' ').toStdString());
}

TEST(TweedFileRecord, AnaMariaAtInter2)
{
    TweedFileRecord r;
    r.twPaciente = QStringLiteral("ANA MARIA");
    EXPECT_EQ(TweedFileName(r.twPaciente, AnalysisStage::INTER2), QStringLiteral("Análises/ANA MARIA-INTER2.twe"));
    const QByteArray bytes = EncodeTweed(r);
    ASSERT_EQ(bytes.size(), 199);
    EXPECT_EQ(bytes.mid(1, 10), QByteArray("\x09" "ANA MARIA"));
    // Zero-filled: nothing but the name, the two letter codes' defaults and their guide flags.
    QByteArray rest = bytes;
    rest.replace(1, 10, QByteArray(10, '\0'));
    rest[191] = 0;
    rest[194] = 0;
    EXPECT_EQ(rest, QByteArray(199, '\0'));
    EXPECT_EQ(bytes[191], 's');
    EXPECT_EQ(bytes[194], 'v');
}

struct CutCase {
    const char* what;
    QString TweedFileRecord::*member;
    QString typed;
    QString reread;
};

class TweedFieldCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(TweedFieldCut, StoresOnlyTheCapacity)
{
    const CutCase& c = GetParam();
    TweedFileRecord r;
    r.*(c.member) = c.typed;
    const TweedFileRecord back = DecodeTweed(EncodeTweed(r));
    EXPECT_EQ((back.*(c.member)).toStdString(), c.reread.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TweedFieldCut,
    ::testing::Values(CutCase{"age 105", &TweedFileRecord::Idade, QStringLiteral("105"), QStringLiteral("10")},
                      CutCase{"age 7", &TweedFileRecord::Idade, QStringLiteral("7"), QStringLiteral("7")},
                      CutCase{"normalised 1234", &TweedFileRecord::twfma, QStringLiteral("1234.0"), QStringLiteral("1234.")},
                      CutCase{"five exactly", &TweedFileRecord::anpep, QStringLiteral("-12.5"), QStringLiteral("-12.5")},
                      CutCase{"empty", &TweedFileRecord::twafp, QString(), QString()},
                      CutCase{"name 50", &TweedFileRecord::twPaciente, QString(50, u'Ç'), QString(50, u'Ç')},
                      CutCase{"name 60", &TweedFileRecord::twPaciente, QString(30, u'A') + QString(30, u'B'),
                              QString(30, u'A') + QString(20, u'B')}),
    [](const auto& info) {
        std::string s = info.param.what;
        for (char& ch : s)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return s;
    });

TEST(TweedFileRecord, SixtyCharacterNameKeepsAllSixtyInTheFileName)
{
    const QString name = QString(60, u'M');
    EXPECT_EQ(TweedFileName(name, AnalysisStage::INICIAL), QStringLiteral("Análises/") + name + QStringLiteral("-INICIAL.twe"));
    TweedFileRecord r;
    r.twPaciente = name;
    EXPECT_EQ(static_cast<unsigned char>(EncodeTweed(r)[1]), 50);
}

TEST(TweedFileRecord, LengthBytesBeyondCapacityReadAsTheCapacity)
{
    QByteArray bytes(199, 'X');
    bytes[0] = 0;
    bytes[1] = char(255);  // name: 50
    bytes[52] = char(9);   // age: 2
    bytes[56] = char(6);   // twfma: 5
    bytes[176] = 1;        // dcnao
    bytes[177] = char(200);
    const TweedFileRecord r = DecodeTweed(bytes);
    EXPECT_EQ(r.twPaciente, QString(50, u'X'));
    EXPECT_EQ(r.Idade, QStringLiteral("XX"));
    EXPECT_EQ(r.twfma, QStringLiteral("XXXXX"));
    EXPECT_EQ(r.dcopcres, QStringLiteral("XXXXX"));
    EXPECT_FALSE(r.GenMasc);  // 'X' is not 1
}

GuideAnswers expect(std::initializer_list<bool GuideAnswers::*> on, bool clnao = false);

TEST(TweedFileRecord, ShortArrayReadsAsZeroFilled)
{
    const TweedFileRecord r = DecodeTweed(QByteArray("\x01\x03" "ANA", 5));
    EXPECT_TRUE(r.guideDone);
    EXPECT_EQ(r.twPaciente, QStringLiteral("ANA"));
    EXPECT_TRUE(r.twfma.isEmpty());
    EXPECT_TRUE(r.guide == expect({&GuideAnswers::dpinadeq}, true));
}

TEST(TweedFileRecord, ClinicianImpaOnlyWithNao)
{
    TweedFileRecord r;
    r.dcopcres = QStringLiteral("88.0");
    EXPECT_EQ(EncodeTweed(r).mid(176, 7), QByteArray(7, '\0'));
    r.dcnao = true;
    EXPECT_EQ(EncodeTweed(r).mid(176, 7), QByteArray("\x01\x04" "88.0\x00", 7));

    QByteArray bytes = EncodeTweed(r);
    bytes[176] = 0;
    EXPECT_TRUE(DecodeTweed(bytes).dcopcres.isEmpty());
}

TEST(TweedFileRecord, RoundTripWithGuide)
{
    const TweedFileRecord r = sampleRecord();
    EXPECT_TRUE(DecodeTweed(EncodeTweed(r)) == r);
}

TEST(TweedFileRecord, GuideAnswersIgnoredWithoutGuideDone)
{
    TweedFileRecord r = sampleRecord();
    r.guideDone = false;
    const TweedFileRecord back = DecodeTweed(EncodeTweed(r));
    EXPECT_TRUE(back.guide == GuideAnswers{});
    EXPECT_EQ(back.twPaciente, r.twPaciente);
}

struct CodeCase {
    const char* what;
    GuideAnswers answers;
    char subdivision;
    char openBite;
    char mediaFlag;
};

GuideAnswers with(std::initializer_list<bool GuideAnswers::*> on)
{
    GuideAnswers g;
    for (auto m : on)
        g.*m = true;
    return g;
}

class GuideLetterCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(GuideLetterCodes, Encoded)
{
    TweedFileRecord r;
    r.guide = GetParam().answers;
    const QByteArray b = EncodeTweed(r);
    EXPECT_EQ(b[191], GetParam().subdivision);
    EXPECT_EQ(b[194], GetParam().openBite);
    EXPECT_EQ(b[196], GetParam().mediaFlag);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, GuideLetterCodes,
    ::testing::Values(CodeCase{"none", GuideAnswers{}, 's', 'v', 0},
                      CodeCase{"direita", with({&GuideAnswers::direita}), 'd', 'v', 0},
                      CodeCase{"esquerda", with({&GuideAnswers::esquerda}), 'e', 'v', 0},
                      CodeCase{"direita_wins", with({&GuideAnswers::direita, &GuideAnswers::esquerda}), 'd', 'v', 0},
                      CodeCase{"sem", with({&GuideAnswers::sem}), 's', 'v', 0},
                      CodeCase{"suave", with({&GuideAnswers::suave}), 's', 's', 0},
                      CodeCase{"media", with({&GuideAnswers::media}), 's', 'm', 1},
                      CodeCase{"severa", with({&GuideAnswers::severa}), 's', 'v', 0}),
    [](const auto& info) { return std::string(info.param.what); });

struct RestoreCase {
    const char* what;
    std::vector<std::pair<int, char>> bytes;  // set on a guideDone record
    GuideAnswers expected;
};

class GuideRestore : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(GuideRestore, DerivesTheUnstoredAnswers)
{
    QByteArray b(199, '\0');
    b[0] = 1;
    for (auto [offset, value] : GetParam().bytes)
        b[offset] = value;
    const GuideAnswers got = DecodeTweed(b).guide;
    EXPECT_TRUE(got == GetParam().expected);
    EXPECT_TRUE(RestoreGuideAnswers(b) == GetParam().expected);
}

GuideAnswers expect(std::initializer_list<bool GuideAnswers::*> on, bool clnao)
{
    GuideAnswers g;
    g.clnao = clnao;
    for (auto m : on)
        g.*m = true;
    return g;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuideRestore,
    ::testing::Values(
        RestoreCase{"all_zero", {}, expect({&GuideAnswers::dpinadeq}, true)},
        RestoreCase{"menor_without_daapinh", {{184, 1}, {188, 1}}, expect({&GuideAnswers::dpadq}, true)},
        RestoreCase{"daapinh_gives_maior", {{183, 1}}, expect({&GuideAnswers::daapinh, &GuideAnswers::maior, &GuideAnswers::dpinadeq}, true)},
        RestoreCase{"daapinh_menor", {{183, 1}, {184, 1}}, expect({&GuideAnswers::daapinh, &GuideAnswers::menor, &GuideAnswers::dpinadeq}, true)},
        RestoreCase{"section_b", {{185, 1}, {186, 1}, {187, 1}},
                    expect({&GuideAnswers::dmapinh, &GuideAnswers::dmrel, &GuideAnswers::dmpro, &GuideAnswers::dpinadeq}, true)},
        RestoreCase{"clsim_zero_stops", {{188, 1}, {190, 1}, {191, 'd'}, {193, 1}, {195, 1}, {197, 1}},
                    expect({&GuideAnswers::dpadq}, true)},
        RestoreCase{"horcl2_d", {{189, 1}, {190, 1}, {191, 'd'}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::horcl2, &GuideAnswers::direita, &GuideAnswers::dpinadeq})},
        RestoreCase{"horcl2_e", {{189, 1}, {190, 1}, {191, 'e'}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::horcl2, &GuideAnswers::esquerda, &GuideAnswers::dpinadeq})},
        RestoreCase{"horcl2_other_letter_is_sem", {{189, 1}, {190, 1}, {191, 'q'}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::horcl2, &GuideAnswers::sem, &GuideAnswers::dpinadeq})},
        RestoreCase{"code_without_horcl2", {{189, 1}, {191, 'd'}, {192, 1}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::horcl3, &GuideAnswers::dpinadeq})},
        RestoreCase{"aberta_s", {{189, 1}, {193, 1}, {194, 's'}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::aberta, &GuideAnswers::suave, &GuideAnswers::dpinadeq})},
        RestoreCase{"aberta_m", {{189, 1}, {193, 1}, {194, 'm'}, {196, 1}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::aberta, &GuideAnswers::media, &GuideAnswers::dpinadeq})},
        RestoreCase{"aberta_other_is_severa", {{189, 1}, {193, 1}, {194, 0}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::aberta, &GuideAnswers::severa, &GuideAnswers::dpinadeq})},
        RestoreCase{"profunda_mild", {{189, 1}, {195, 1}, {196, 1}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::profunda, &GuideAnswers::media, &GuideAnswers::dpinadeq})},
        RestoreCase{"profunda_severe", {{189, 1}, {195, 1}, {194, 'm'}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::profunda, &GuideAnswers::severa, &GuideAnswers::dpinadeq})},
        RestoreCase{"desarm_mild", {{189, 1}, {197, 1}, {198, 1}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::desarm, &GuideAnswers::dessuave, &GuideAnswers::dpinadeq})},
        RestoreCase{"desarm_severe", {{189, 1}, {197, 1}},
                    expect({&GuideAnswers::clsim, &GuideAnswers::desarm, &GuideAnswers::dessevera, &GuideAnswers::dpinadeq})},
        RestoreCase{"flag_two_is_not_checked", {{183, 2}, {188, 2}}, expect({&GuideAnswers::dpinadeq}, true)}),
    [](const auto& info) { return std::string(info.param.what); });

struct StageCase {
    const char* path;
    AnalysisStage stage;
};

class StageOfPath : public ::testing::TestWithParam<StageCase> {};

TEST_P(StageOfPath, Selected) { EXPECT_EQ(StageFromPath(QString::fromUtf8(GetParam().path)), GetParam().stage); }

INSTANTIATE_TEST_SUITE_P(Paths, StageOfPath,
                         ::testing::Values(StageCase{"Análises/ANA-FINAL.twe", AnalysisStage::FINAL},
                                           StageCase{"Análises/ANA-INTER1.twe", AnalysisStage::INTER1},
                                           StageCase{"Análises/ANA-INTER2.twe", AnalysisStage::INTER2},
                                           StageCase{"Análises/ANA-INICIAL.twe", AnalysisStage::INICIAL},
                                           StageCase{"Análises/ANA.twe", AnalysisStage::INICIAL},
                                           StageCase{"/x/ANA-INTER2-FINAL.twe", AnalysisStage::FINAL},
                                           StageCase{"/x/FINAL/ANA.twe", AnalysisStage::INICIAL},
                                           StageCase{"/x/ANA-final.twe", AnalysisStage::INICIAL}));

TEST(TweedPath, ExtensionTestIsCaseSensitive)
{
    EXPECT_TRUE(IsTweedPath(QStringLiteral("/a/ANA-INICIAL.twe")));
    EXPECT_FALSE(IsTweedPath(QStringLiteral("/a/ANA-INICIAL.TWE")));
    EXPECT_FALSE(IsTweedPath(QString()));
}

TEST(TweedPath, AlreadyOpen)
{
    const QString inicial = QStringLiteral("/w/Análises/ANA-INICIAL.twe");
    EXPECT_TRUE(IsTweedFileAlreadyOpen(inicial, QStringLiteral("ANA"), true, AnalysisStage::INICIAL));
    EXPECT_FALSE(IsTweedFileAlreadyOpen(inicial, QStringLiteral("ANA"), false, AnalysisStage::INICIAL));  // editing
    EXPECT_FALSE(IsTweedFileAlreadyOpen(inicial, QStringLiteral("ANA"), true, AnalysisStage::FINAL));
    EXPECT_FALSE(IsTweedFileAlreadyOpen(inicial, QString(), true, AnalysisStage::INICIAL));
    EXPECT_FALSE(IsTweedFileAlreadyOpen(inicial, QStringLiteral("BIA"), true, AnalysisStage::INICIAL));
    // The name is a substring test on the whole path.
    EXPECT_TRUE(IsTweedFileAlreadyOpen(QStringLiteral("/w/Análises/MARIANA-INICIAL.twe"), QStringLiteral("ANA"), true,
                                       AnalysisStage::INICIAL));
}

struct SaveCase {
    const char* what;
    TweedSaveState state;
    TweedSaveDecision::Action action;
    bool parcial;
    bool completo;
    TweedSaveDecision::Kind kind;
    const char* message;
};

class TweedSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(TweedSave, Decides)
{
    const SaveCase& c = GetParam();
    const TweedSaveDecision d = DecideTweedSave(c.state);
    EXPECT_EQ(d.action, c.action);
    EXPECT_EQ(d.checkParcial, c.parcial);
    EXPECT_EQ(d.checkCompleto, c.completo);
    EXPECT_EQ(d.kind, c.kind);
    EXPECT_EQ(d.message.toStdString(), std::string(c.message));
}

// concluded, diagnosed, nameSafe, fileExists, parcial, completo
INSTANTIATE_TEST_SUITE_P(
    Table, TweedSave,
    ::testing::Values(
        SaveCase{"not_concluded", {false, true, true, true, true, true}, TweedSaveDecision::RefuseIncomplete, false, false,
                 TweedSaveDecision::Warning, "A Análise não está concluída!"},
        SaveCase{"unsafe_name", {true, true, false, false, false, false}, TweedSaveDecision::RefuseUnsafeName, false, false,
                 TweedSaveDecision::Error, "O nome do paciente contém caracteres inválidos!"},
        SaveCase{"new_without_guide", {true, false, true, false, false, false}, TweedSaveDecision::Create, true, false,
                 TweedSaveDecision::Information, "Arquivo Gravado com sucesso!"},
        SaveCase{"new_with_guide", {true, true, true, false, true, false}, TweedSaveDecision::Create, true, true,
                 TweedSaveDecision::Information, "Arquivo Gravado com sucesso!"},
        SaveCase{"new_even_if_completo", {true, false, true, false, true, true}, TweedSaveDecision::Create, true, false,
                 TweedSaveDecision::Information, "Arquivo Gravado com sucesso!"},
        SaveCase{"exists_completo", {true, true, true, true, true, true}, TweedSaveDecision::RefuseComplete, false, false,
                 TweedSaveDecision::Error, "Já existe análise e Guia Diagnóstico salvos para este paciente!"},
        SaveCase{"exists_diagnosed_since", {true, true, true, true, true, false}, TweedSaveDecision::Rewrite, true, true,
                 TweedSaveDecision::Information, "Arquivo Gravado com sucesso!"},
        SaveCase{"exists_diagnosed_other_run", {true, true, true, true, false, false}, TweedSaveDecision::Rewrite, true, true,
                 TweedSaveDecision::Information, "Arquivo Gravado com sucesso!"},
        SaveCase{"exists_saved_no_guide", {true, false, true, true, true, false}, TweedSaveDecision::RefuseSaved, false, false,
                 TweedSaveDecision::Error, "Já existe análise salva para este paciente!"},
        SaveCase{"exists_impa_choice", {true, false, true, true, false, false}, TweedSaveDecision::Nothing, false, false,
                 TweedSaveDecision::NoBox, ""}),
    [](const auto& info) { return std::string(info.param.what); });

class TweedFileOnDisk : public ::testing::Test {
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

TEST_F(TweedFileOnDisk, ShortFileIsAnError)
{
    write(QStringLiteral("A-INICIAL.twe"), EncodeTweed(sampleRecord()).left(198));
    EXPECT_THROW(ReadTweedFile(path(QStringLiteral("A-INICIAL.twe"))), IoError);
    write(QStringLiteral("E-INICIAL.twe"), QByteArray());
    EXPECT_THROW(ReadTweedFile(path(QStringLiteral("E-INICIAL.twe"))), IoError);
    EXPECT_THROW(ReadTweedFile(path(QStringLiteral("missing.twe"))), IoError);
}

TEST_F(TweedFileOnDisk, BytesAfterTheRecordAreIgnored)
{
    write(QStringLiteral("A-INICIAL.twe"), EncodeTweed(sampleRecord()) + QByteArray(300, '\x7f'));
    EXPECT_TRUE(ReadTweedFile(path(QStringLiteral("A-INICIAL.twe"))) == sampleRecord());
}

TEST_F(TweedFileOnDisk, CreateNeverReplacesRewriteDoes)
{
    const QString p = path(QStringLiteral("A-INICIAL.twe"));
    TweedFileRecord first;
    first.twPaciente = QStringLiteral("A");
    CreateTweedFile(p, first);
    EXPECT_EQ(read(QStringLiteral("A-INICIAL.twe")), EncodeTweed(first));

    TweedFileRecord second = sampleRecord();
    EXPECT_THROW(CreateTweedFile(p, second), IoError);
    EXPECT_EQ(read(QStringLiteral("A-INICIAL.twe")), EncodeTweed(first));

    RewriteTweedFile(p, second);
    EXPECT_EQ(read(QStringLiteral("A-INICIAL.twe")), EncodeTweed(second));
}

TEST_F(TweedFileOnDisk, MissingFolderIsAnError)
{
    EXPECT_THROW(CreateTweedFile(path(QStringLiteral("nowhere/A-INICIAL.twe")), sampleRecord()), IoError);
    EXPECT_THROW(RewriteTweedFile(path(QStringLiteral("nowhere/A-INICIAL.twe")), sampleRecord()), IoError);
}

// Found by fuzzing: a file marking both the open and the deep bite (the guide never allows it)
// lost the open bite's "Severa" when reopened and saved again.
TEST(TweedFileRoundTrip, BothBitesMarkedKeepTheirGrades)
{
    QByteArray bytes(kTweedRecordSize, '\0');
    bytes[0] = 1;      // guideDone
    bytes[189] = 1;    // clsim
    bytes[193] = 1;    // aberta
    bytes[194] = 'v';  // open bite: severa
    bytes[195] = 1;    // profunda
    bytes[196] = 1;    // media: the deep bite's "Suave"
    const TweedFileRecord first = DecodeTweed(bytes);
    ASSERT_TRUE(first.guide.severa && first.guide.media);
    const TweedFileRecord again = DecodeTweed(EncodeTweed(first));
    EXPECT_TRUE(again == first);
    EXPECT_TRUE(again.guide.severa);
}
