// The parameters of the four reports: names and exact texts, from the texts the pages show.

#include "PrintSamples.h"

#include "printing/ReportParams.h"

#include <gtest/gtest.h>

#include <QMap>

namespace qv {

// Readable failures: "\r" shown as \r.
void PrintTo(const QString& s, std::ostream* os)
{
    QString v = s;
    v.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    *os << '"' << v.toStdString() << '"';
}

namespace {

using test::SampleTweed;
using test::SampleTweedDiagnosed;

QMap<QString, QString> asMap(const ReportParamList& list)
{
    QMap<QString, QString> m;
    for (const ReportParam& p : list) {
        EXPECT_FALSE(m.contains(p.name)) << "set twice: " << p.name.toStdString();
        m.insert(p.name, p.text);
    }
    return m;
}

QStringList names(const ReportParamList& list)
{
    QStringList n;
    for (const ReportParam& p : list)
        n.append(p.name);
    return n;
}

const QString J = QStringLiteral("\r\r\r\rou\r\r");

TEST(TweedReport, EveryValueOfPageOneWithItsCaptionSeparatorAndUnit)
{
    const auto p = asMap(BuildTweedReport(SampleTweed()).params);
    const std::vector<std::pair<const char*, QString>> expected = {
        {"nome", QStringLiteral("Paciente:  ANA  -  INTER1")},
        {"idade", QStringLiteral("Idade:  34 anos")},
        {"genero", QStringLiteral("Gênero:  Feminino")},
        {"fma", QStringLiteral("FMA (22° a 28°):  25.0°")},
        {"fmia", QStringLiteral("FMIA (65° a 68°):  68.0°")},
        {"impa", QStringLiteral("IMPA (88° a 94°):  95.0°")},
        {"ploc", QStringLiteral("Pl. ocl. - Hf (8° a 12°):  10.0°")},
        {"sna", QStringLiteral("SNA ( 80° a 84°):  82.0°")},
        {"snb", QStringLiteral("SNB (78° a 82°):  78.5°")},
        {"anb", QStringLiteral("ANB ( 1° a 5°):  3.5°")},
        {"aobo", QStringLiteral("AO - BO ( 0 a 4 mm):  -1.5mm")},
        {"angz", QStringLiteral("Ang. Z ( 70° a 80°):  75.0°")},
        {"ls", QStringLiteral("LS:  15.0")},
        {"qt", QStringLiteral("QT:  12.0")},
        {"afa", QStringLiteral("AFA:  70.0")},
        {"afp", QStringLiteral("AFP:  45.0")},
        {"afpafa", QStringLiteral("AFP / AFA ( 65% a 75%):  64%")},
        {"horn", QStringLiteral("Tratamento Ortodôntico")},
        {"ifma", QStringLiteral("FMA:  0.0")},
        {"ianb", QStringLiteral("ANB:  0.0")},
        {"iangz", QStringLiteral("Ângulo Z:  0.0")},
        {"iploc", QStringLiteral("Pl. Ocl. Hf:  0.0")},
        {"isnb", QStringLiteral("SNB:  0.0")},
        {"iif", QStringLiteral("Índice Facial:  2.1")},
        {"isub1", QStringLiteral("Sub Total:  2.1")},
        {"idma", QStringLiteral("DMAnt:  3.8")},
        {"idc", QStringLiteral("DC:  6.4")},
        {"imtm", QStringLiteral("MTM:  0.0")},
        {"idmm", QStringLiteral("DMMed:  1.0")},
        {"ispee", QStringLiteral("C. Spee:  1.5")},
        {"icorr", QStringLiteral("Correção Molar:  4.0")},
        {"idmp", QStringLiteral("DMPost:  0.0")},
        {"isub2", QStringLiteral("Sub Total:  16.7")},
        {"itot", QStringLiteral("Total:  18.8")},
        {"aer", QStringLiteral("ER:  10.0")},
        {"aep", QStringLiteral("EP:  7.5")},
        {"adm", QStringLiteral("DM:  -2.5")},
        {"adc", QStringLiteral("DC:  -6.4")},
        {"amtm", QStringLiteral("MTM:  0.0")},
        {"adisc", QStringLiteral("Disc. Área Ant.:  -8.9")},
        {"mer", QStringLiteral("ER:  20.0")},
        {"mep", QStringLiteral("EP:  19.0")},
        {"mdm", QStringLiteral("DM:  -1.0")},
        {"spee", QStringLiteral("Curva Spee:  -1.5")},
        {"corr", QStringLiteral("Correção Molar:  -2.0")},
        {"mdisc", QStringLiteral("Disc. Área Med.:  -4.5")},
        {"per", QStringLiteral("ER:  12.0")},
        {"pep", QStringLiteral("EP:  8.0")},
        {"pdm", QStringLiteral("DM:  -4.0")},
        {"cres", QStringLiteral("Cresc. Esper.:  0.0")},
        {"pdisc", QStringLiteral("Disc. Área Pos.:  -4.0")},
        {"total", QStringLiteral("Discrepância Total:  -17.4")},
        {"dcfma", QStringLiteral("FMA:  25.0")},
        {"dcfmia", QStringLiteral("FMIA:  68.0")},
        {"dcimpa", QStringLiteral("IMPA:  87.0")},
        {"dcdc", QStringLiteral("DC:  -6.4")},
        {"dif", QStringLiteral("ÍNDICE DE DIFICULDADE SUAVE: 18.8")},
    };
    EXPECT_EQ(p.size(), qsizetype(expected.size()));
    for (const auto& [name, text] : expected)
        EXPECT_EQ(p.value(QString::fromLatin1(name)), text) << name;
}

TEST(TweedReport, OrderIsCrossesThenPatientValuesGradeAndDiagnosisGroups)
{
    const QStringList n = names(BuildTweedReport(SampleTweedDiagnosed()).params);
    ASSERT_GE(n.size(), 3);
    EXPECT_EQ(n.first(), QStringLiteral("cruzh1"));
    const qsizetype nome = n.indexOf(QStringLiteral("nome"));
    const qsizetype dif = n.indexOf(QStringLiteral("dif"));
    EXPECT_EQ(n[nome - 1], QStringLiteral("d16"));  // the last quadrant of the last cross
    EXPECT_EQ(n.mid(nome, 3), QStringList({"nome", "idade", "genero"}));
    EXPECT_EQ(n.mid(dif), QStringList({"dif", "discantinfo", "discant", "discmedinfo", "discmed", "discposinfo",
                                        "discpos", "desarminfo", "desarm"}));
}

TEST(TweedReport, StageWordFollowsTheStage)
{
    struct Case {
        AnalysisStage stage;
        const char* word;
    };
    for (const Case c : {Case{AnalysisStage::INICIAL, "INICIAL"}, Case{AnalysisStage::INTER1, "INTER1"},
                         Case{AnalysisStage::INTER2, "INTER2"}, Case{AnalysisStage::FINAL, "FINAL"}}) {
        test::TweedReportSample t = SampleTweed();
        t.sheet.stage = c.stage;
        EXPECT_EQ(asMap(BuildTweedReport(t).params).value(QStringLiteral("nome")),
                  QStringLiteral("Paciente:  ANA  -  ") + QString::fromLatin1(c.word));
    }
}

TEST(TweedReport, GenderAndChosenImpa)
{
    test::TweedReportSample t = SampleTweed();
    t.sheet.GenMasc = true;
    t.sheet.dcnao = true;
    t.sheet.dcopcres = QStringLiteral("90.0");
    const auto p = asMap(BuildTweedReport(t).params);
    EXPECT_EQ(p.value(QStringLiteral("genero")), QStringLiteral("Gênero:  Masculino"));
    // The clinician's own IMPA, not the target label.
    EXPECT_EQ(p.value(QStringLiteral("dcimpa")), QStringLiteral("IMPA:  90.0"));
}

TEST(TweedReport, WithoutDiagnosisOnePageAndNoDiagnosisParameters)
{
    test::TweedReportSample t = SampleTweed();
    // Texts left in slots whose headings are hidden are not printed.
    t.panel.dsmed = QStringLiteral("Extração");
    const TweedReportPlan plan = BuildTweedReport(t);
    EXPECT_EQ(plan.lastPage, 1);
    for (const QString& n : names(plan.params))
        EXPECT_FALSE(n.startsWith(QLatin1String("disc")) || n.startsWith(QLatin1String("desarm"))
                     || n.startsWith(QLatin1String("cruz")))
            << n.toStdString();
}

TEST(TweedReport, DiagnosisGivesTwoPagesAndItsGroups)
{
    const TweedReportPlan plan = BuildTweedReport(SampleTweedDiagnosed());
    EXPECT_EQ(plan.lastPage, 2);
    const auto p = asMap(plan.params);
    EXPECT_EQ(p.value(QStringLiteral("discantinfo")), QStringLiteral("Discrepância Anterior"));
    EXPECT_EQ(p.value(QStringLiteral("discant")), QStringLiteral("Extração"));
    EXPECT_EQ(p.value(QStringLiteral("discmedinfo")), QStringLiteral("Discrepância Média"));
    EXPECT_EQ(p.value(QStringLiteral("discposinfo")), QStringLiteral("Discrepância Posterior"));
    EXPECT_EQ(p.value(QStringLiteral("discpos")), QStringLiteral("Extração"));
    EXPECT_EQ(p.value(QStringLiteral("desarminfo")), QStringLiteral("Desarmonia Esquelética"));
}

TEST(TweedReport, PageTwoFollowsTheAnteriorHeadingOnly)
{
    // The page range follows dsantinfo; other headings alone keep one page but still set their groups.
    test::TweedReportSample t = SampleTweedDiagnosed();
    t.panel.antInfo = false;
    const TweedReportPlan plan = BuildTweedReport(t);
    EXPECT_EQ(plan.lastPage, 1);
    const auto p = asMap(plan.params);
    EXPECT_FALSE(p.contains(QStringLiteral("discant")));
    EXPECT_TRUE(p.contains(QStringLiteral("discmed")));
}

TEST(TweedReport, MiddleAlternativeJoinedOnlyWhenOuIsShown)
{
    test::TweedReportSample t = SampleTweedDiagnosed();
    t.panel.dsmed = QStringLiteral("Extração");
    t.panel.dsmed2 = QStringLiteral("Extração de pré-molares");
    EXPECT_EQ(asMap(BuildTweedReport(t).params).value(QStringLiteral("discmed")),
              QStringLiteral("Extração\r\r\r\rou\r\rExtração de pré-molares"));
    t.panel.ou = false;
    EXPECT_EQ(asMap(BuildTweedReport(t).params).value(QStringLiteral("discmed")), QStringLiteral("Extração"));
}

TEST(TweedReport, SkeletalSlotsUpToTheLastNonEmptyOneJoined)
{
    struct Case {
        std::array<const char*, 5> texts;
        QString desarm;
    };
    const std::vector<Case> cases = {
        {{"A", "", "", "", ""}, QStringLiteral("A")},
        {{"A", "B", "", "", ""}, QStringLiteral("A") + J + QStringLiteral("B")},
        {{"A", "B", "C", "D", ""}, QStringLiteral("A") + J + "B" + J + "C" + J + "D"},
        {{"A", "B", "C", "D", "E"}, QStringLiteral("A") + J + "B" + J + "C" + J + "D" + J + "E"},
        // An empty slot before a filled one keeps its place.
        {{"A", "", "C", "", ""}, QStringLiteral("A") + J + J + QStringLiteral("C")},
        {{"A", "", "", "", "E"}, QStringLiteral("A") + J + J + J + J + QStringLiteral("E")},
        // Slot 1 alone is printed even when it is empty.
        {{"", "", "", "", ""}, QString()},
    };
    for (const Case& c : cases) {
        test::TweedReportSample t = SampleTweedDiagnosed();
        for (size_t k = 0; k < 5; ++k)
            t.panel.dsdesc[k] = QString::fromLatin1(c.texts[k]);
        EXPECT_EQ(asMap(BuildTweedReport(t).params).value(QStringLiteral("desarm")), c.desarm)
            << c.texts[0] << c.texts[1] << c.texts[2] << c.texts[3] << c.texts[4];
    }
}

TEST(TweedReport, CrossesSetBarsAndQuadrantsUnderTheirNumbers)
{
    const auto p = asMap(BuildTweedReport(SampleTweedDiagnosed()).params);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(p.value(QStringLiteral("cruzh%1").arg(n)), QStringLiteral("____")) << n;
        EXPECT_EQ(p.value(QStringLiteral("cruzv%1").arg(n)), QStringLiteral("||")) << n;
    }
    const std::vector<std::pair<const char*, const char*>> quadrants = {
        {"a1", "X  4"}, {"a2", "4  X"}, {"a3", "X  4"}, {"a4", "4  X"},  // anterior
        {"m1", "8"},    {"m4", "8"},    {"m5", "4"},    {"m8", "5"},     // both middle crosses
        {"p1", "8"},    {"p4", "8"},                                     // posterior
        {"d1", "8"},    {"d5", "4"},    {"d6", "4"},    {"d7", ""},   {"d8", ""},  // skeletal 2: upper only
        {"d9", "4"},    {"d12", "5"},   {"d13", "5"},   {"d16", "5"}};
    for (const auto& [name, text] : quadrants) {
        ASSERT_TRUE(p.contains(QString::fromLatin1(name))) << name;
        EXPECT_EQ(p.value(QString::fromLatin1(name)), QString::fromUtf8(text)) << name;
    }
}

TEST(TweedReport, CrossWithEmptyUpperLeftQuadrantSetsNone)
{
    test::TweedReportSample t = SampleTweedDiagnosed();
    t.panel.ant.quadrants[0].clear();  // the others still hold teeth
    t.panel.desc[3] = {true, {QString(), QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("4")}};
    const auto p = asMap(BuildTweedReport(t).params);
    for (const char* name : {"cruzh1", "cruzv1", "a1", "a2", "a3", "a4", "cruzh8", "cruzv8", "d13", "d14", "d15", "d16"})
        EXPECT_FALSE(p.contains(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(p.contains(QStringLiteral("cruzh2")));
    EXPECT_TRUE(p.contains(QStringLiteral("cruzh7")));
}

TEST(BoltonReport, EveryParameterIsTheBareTextOfItsControl)
{
    const auto p = asMap(test::SampleBoltonReport());
    EXPECT_EQ(p.size(), 1 + 24 + 4 + 12 + 6 + 2);  // name, teeth, sums, search lines, fractions, diagnoses
    const std::vector<std::pair<const char*, QString>> expected = {
        {"nome", QStringLiteral("Paciente:  BIA")},
        {"s1", QStringLiteral("10.0")},
        {"s6", QStringLiteral("8.5")},
        {"s12", QStringLiteral("10.0")},
        {"i1", QStringLiteral("11.0")},
        {"i6", QStringLiteral("5.5")},
        {"i12", QStringLiteral("11.0")},
        {"rs12", QStringLiteral("95.0")},
        {"rs6", QStringLiteral("46.0")},
        {"ri12", QStringLiteral("88.0")},
        {"ri6", QStringLiteral("37.0")},
        {"busca12", QStringLiteral("+ 91.3 :")},
        {"busca6", QStringLiteral("+ 77.2 :")},
        {"busca12res", QStringLiteral("88.0")},
        {"busca6res", QStringLiteral("37.0")},
        {"infobusca12res", QStringLiteral("I 12")},
        {"infobusca6res", QStringLiteral("I 06")},
        {"res12info", QStringLiteral("Exc I")},
        {"res6info", QStringLiteral("Exc I")},
        {"tab12res", QStringLiteral("86.7")},
        {"tab6res", QStringLiteral("35.5")},
        {"res12", QStringLiteral("1.3")},
        {"res6", QStringLiteral("1.5")},
        {"contai12", QStringLiteral("88.0")},
        {"contas12", QStringLiteral("95.0")},
        {"contai6", QStringLiteral("37.0")},
        {"contas6", QStringLiteral("46.0")},
        {"contatotal12", QStringLiteral("92.6 %")},
        {"contatotal6", QStringLiteral("80.4 %")},
        {"diag12", QStringLiteral("Soma dos 12 dentes (distal do\r1º molar à distal do 1º molar do\rlado oposto).\r\r"
                                  "Excesso mandibular de 1.3mm")},
        {"diag6", QStringLiteral("Soma dos 6 dentes anteriores\r(distal do canino à distal do canino\rdo lado oposto).\r\r"
                                 "Excesso mandibular de 1.5mm")},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(p.value(QString::fromLatin1(name)), text) << name;
    // Tooth parameters carry no leading zero.
    EXPECT_FALSE(p.contains(QStringLiteral("s01")));
}

TEST(HistoryReport, FileLinesAreSplitAsTheyAreRead)
{
    struct Case {
        QString text;
        QStringList lines;
    };
    const std::vector<Case> cases = {
        {QString(), {}},
        {QStringLiteral("ANA"), {"ANA"}},
        {QStringLiteral("ANA\r\n"), {"ANA"}},
        {QStringLiteral("ANA\r\n\r\nx\r\n"), {"ANA", "", "x"}},
        {QStringLiteral("ANA\nx\ry"), {"ANA", "x", "y"}},
        {QStringLiteral("\r\n\r\n"), {"", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitFileLines(c.text), c.lines) << c.text.toStdString();
}

TEST(HistoryReport, MemoSkipsTheNameAndPadsWithEmptyLines)
{
    const QStringList file = SplitFileLines(test::SampleHistoryFile(QStringLiteral("ANA"), 2));
    ASSERT_EQ(file.size(), 9);
    const QString sep = QString(145, u'-');
    // Two visits: date, empty line, description, separator, in file order.
    EXPECT_EQ(HistoryMemo(file, 8), file[1] + "\r\n\r\n" + file[3] + "\r\n" + sep + "\r\n" + file[5] + "\r\n\r\n"
                                         + file[7] + "\r\n" + sep + "\r\n");
    // A field that wraps shows more lines than the file holds: the rest are empty.
    EXPECT_EQ(HistoryMemo(file, 11), HistoryMemo(file, 8) + QStringLiteral("\r\n\r\n\r\n"));
    // Fewer lines asked for than there are: only those.
    EXPECT_EQ(HistoryMemo(file, 1), file[1] + QStringLiteral("\r\n"));
    EXPECT_EQ(HistoryMemo(file, 0), QString());
    EXPECT_EQ(HistoryMemo({QStringLiteral("ANA")}, 2), QStringLiteral("\r\n\r\n"));
}

TEST(HistoryReport, Parameters)
{
    EXPECT_EQ(BuildHistoryReport(QStringLiteral("ANA"), QStringLiteral("x\r\n")),
              ReportParamList({{"nome", "Paciente:  ANA"}, {"memo1", "x\r\n"}}));
}

TEST(PlanReport, LinesJoinedByCrLfWithNothingAddedAtTheEnd)
{
    struct Case {
        QString outline;
        QString memo;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("uma linha"), QStringLiteral("uma linha")},
        {QStringLiteral("a\nb\nc"), QStringLiteral("a\r\nb\r\nc")},
        {QStringLiteral("a\nb\n"), QStringLiteral("a\r\nb\r\n")},
        {QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb")},
        {QStringLiteral("a\n\nb"), QStringLiteral("a\r\n\r\nb")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanMemo(c.outline), c.memo) << c.outline.toStdString();
    EXPECT_EQ(BuildPlanReport(QStringLiteral("ANA"), QStringLiteral("a\nb")),
              ReportParamList({{"nome", "Paciente:  ANA"}, {"memo1", "a\r\nb"}}));
}

}  // namespace
}  // namespace qv
