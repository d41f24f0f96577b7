// The Bolton calculation on texts: refusals, sums, ratios, sides, look-ups and excesses.

#include "analysis/BoltonCalc.h"
#include "bolton/PublishedTable.h"

#include "bolton/QStringPrinting.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qv;

namespace {

BoltonTable published()
{
    BoltonTable t;
    t.anterior = test::kAnterior;
    t.overall = test::kOverall;
    return t;
}

// Teeth whose shown sums are the given ones: the anterior sum sits in s04/i04, the rest in
// s01/i01, every other tooth 0.0.
BoltonSheet withSums(double upper12, double upper6, double lower12, double lower6)
{
    BoltonSheet in;
    in.bpaciente = QStringLiteral("PACIENTE");
    in.s.fill(QStringLiteral("0.0"));
    in.i.fill(QStringLiteral("0.0"));
    in.s[0] = QString::number(upper12 - upper6, 'f', 1);
    in.s[3] = QString::number(upper6, 'f', 1);
    in.i[0] = QString::number(lower12 - lower6, 'f', 1);
    in.i[3] = QString::number(lower6, 'f', 1);
    return in;
}

struct OverallCase {
    double upper, lower;
    const char *ratio, *busca, *buscaRes, *tab, *res, *diag;
};

class OverallCases : public ::testing::TestWithParam<OverallCase> {};

TEST_P(OverallCases, GiveTheWorksheetLine)
{
    const OverallCase& c = GetParam();
    const BoltonSheet in = withSums(c.upper, 47.0, c.lower, 35.5);
    ASSERT_EQ(BoltonRefusal(in), QString());
    const BoltonResults r = ComputeBolton(in, published());
    EXPECT_EQ(r.x10012res, QString::fromUtf8(c.ratio));
    EXPECT_EQ(r.busca12, QString::fromUtf8(c.busca));
    EXPECT_EQ(r.busca12res, QString::fromUtf8(c.buscaRes));
    EXPECT_EQ(r.tab12res, QString::fromUtf8(c.tab));
    EXPECT_EQ(r.res12, QString::fromUtf8(c.res));
    EXPECT_EQ(r.diag12, QString::fromUtf8(c.diag));
}

INSTANTIATE_TEST_SUITE_P(
    Bolton, OverallCases,
    ::testing::Values(
        OverallCase{95.0, 88.0, "92.6 %", "+ 91.3 :", "88.0", "86.7", "1.3", "Excesso mandibular de 1.3mm"},
        // Shown as 91.3 % but below 91.3: a maxillary excess.
        OverallCase{99.9, 91.2, "91.3 %", "- 91.3 :", "99.9", "100.0", "-0.1", "Excesso maxilar de -0.1mm"},
        // 93.5 lies halfway between S 93 and S 94: the higher row.
        OverallCase{93.5, 86.0, "92.0 %", "+ 91.3 :", "86.0", "85.8", "0.2", "Excesso mandibular de 0.2mm"},
        OverallCase{93.9, 85.8, "91.4 %", "+ 91.3 :", "85.8", "85.8", "0.0", "Excesso mandibular de 0.0mm"},
        OverallCase{95.0, 86.7, "91.3 %", "- 91.3 :", "95.0", "95.0", "0.0", "Excesso maxilar de 0.0mm"},
        // Below the table: its first row; above it: its last.
        OverallCase{80.0, 74.0, "92.5 %", "+ 91.3 :", "74.0", "77.6", "-3.6", "Excesso mandibular de -3.6mm"},
        OverallCase{115.0, 110.0, "95.7 %", "+ 91.3 :", "110.0", "100.4", "9.6", "Excesso mandibular de 9.6mm"},
        // A ratio of exactly 91.3 is not below it.
        OverallCase{100.0, 91.3, "91.3 %", "+ 91.3 :", "91.3", "91.3", "0.0", "Excesso mandibular de 0.0mm"},
        // Maxillary side below and above the mandibular column of the table.
        OverallCase{90.0, 70.0, "77.8 %", "- 91.3 :", "90.0", "85.0", "5.0", "Excesso maxilar de 5.0mm"},
        OverallCase{120.0, 101.0, "84.2 %", "- 91.3 :", "120.0", "110.0", "10.0", "Excesso maxilar de 10.0mm"}));

struct AnteriorCase {
    double upper, lower;
    const char *ratio, *busca, *buscaRes, *tab, *res, *diag;
};

class AnteriorCases : public ::testing::TestWithParam<AnteriorCase> {};

TEST_P(AnteriorCases, GiveTheWorksheetLine)
{
    const AnteriorCase& c = GetParam();
    const BoltonSheet in = withSums(95.0, c.upper, 88.0, c.lower);
    ASSERT_EQ(BoltonRefusal(in), QString());
    const BoltonResults r = ComputeBolton(in, published());
    EXPECT_EQ(r.x1006res, QString::fromUtf8(c.ratio));
    EXPECT_EQ(r.busca6, QString::fromUtf8(c.busca));
    EXPECT_EQ(r.busca6res, QString::fromUtf8(c.buscaRes));
    EXPECT_EQ(r.tab6res, QString::fromUtf8(c.tab));
    EXPECT_EQ(r.res6, QString::fromUtf8(c.res));
    EXPECT_EQ(r.diag6, QString::fromUtf8(c.diag));
}

INSTANTIATE_TEST_SUITE_P(
    Bolton, AnteriorCases,
    ::testing::Values(
        AnteriorCase{47.0, 35.5, "75.5 %", "- 77.2 :", "47.0", "46.0", "1.0", "Excesso maxilar de 1.0mm"},
        // 34.9 is as near 34.7 as 35.1 on paper; in doubles the lower row is nearer.
        AnteriorCase{45.3, 34.9, "77.0 %", "- 77.2 :", "45.3", "45.0", "0.3", "Excesso maxilar de 0.3mm"},
        AnteriorCase{39.0, 31.0, "79.5 %", "+ 77.2 :", "31.0", "30.9", "0.1", "Excesso mandibular de 0.1mm"},
        // 45.7 lies nearer S 45.5 than S 46.0.
        AnteriorCase{45.7, 36.0, "78.8 %", "+ 77.2 :", "36.0", "35.1", "0.9", "Excesso mandibular de 0.9mm"},
        AnteriorCase{56.0, 45.0, "80.4 %", "+ 77.2 :", "45.0", "42.5", "2.5", "Excesso mandibular de 2.5mm"},
        AnteriorCase{60.0, 43.0, "71.7 %", "- 77.2 :", "60.0", "55.0", "5.0", "Excesso maxilar de 5.0mm"},
        AnteriorCase{40.0, 30.0, "75.0 %", "- 77.2 :", "40.0", "40.0", "0.0", "Excesso maxilar de 0.0mm"}));

TEST(BoltonResults, FillEveryLabelOfTheWorksheet)
{
    const BoltonResults r = ComputeBolton(withSums(95.0, 47.0, 88.0, 35.5), published());
    EXPECT_EQ(r.sup12res, QStringLiteral("95.0"));
    EXPECT_EQ(r.sup6res, QStringLiteral("47.0"));
    EXPECT_EQ(r.inf12res, QStringLiteral("88.0"));
    EXPECT_EQ(r.inf6res, QStringLiteral("35.5"));
    EXPECT_EQ(r.cinf12res, QStringLiteral("88.0"));
    EXPECT_EQ(r.csup12res, QStringLiteral("95.0"));
    EXPECT_EQ(r.cinf6res, QStringLiteral("35.5"));
    EXPECT_EQ(r.csup6res, QStringLiteral("47.0"));
    EXPECT_EQ(r.infobusca12res, QStringLiteral("I 12"));
    EXPECT_EQ(r.res12info, QStringLiteral("Exc I"));
    EXPECT_EQ(r.infobusca6res, QStringLiteral("S 06"));
    EXPECT_EQ(r.res6info, QStringLiteral("Exc S"));
    EXPECT_EQ(r.diag12info, QStringLiteral("Soma dos 12 dentes (distal do\r1º molar à distal do 1º molar do\rlado oposto)."));
    EXPECT_EQ(r.diag6info, QStringLiteral("Soma dos 6 dentes anteriores\r(distal do canino à distal do canino\rdo lado oposto)."));
    // Every label of the page has its text.
    for (const BoltonResultLabel& label : kBoltonResultLabels)
        EXPECT_FALSE((r.*label.text).isEmpty()) << label.name;
}

TEST(BoltonResults, RatiosComeFromTheShownSums)
{
    // 0.96 / 1.04 is 92.3 % unrounded; as shown it is 1.0 / 1.0, 100.0 %.
    BoltonSheet in = withSums(95.0, 47.0, 88.0, 35.5);
    in.s.fill(QStringLiteral("0.0"));
    in.s[3] = QStringLiteral("1.04");
    in.i.fill(QStringLiteral("0.0"));
    in.i[3] = QStringLiteral("0.96");
    const BoltonResults r = ComputeBoltonSums(in);
    EXPECT_EQ(r.sup6res, QStringLiteral("1.0"));
    EXPECT_EQ(r.inf6res, QStringLiteral("1.0"));
    EXPECT_EQ(r.x1006res, QStringLiteral("100.0 %"));
    EXPECT_EQ(r.x10012res, QStringLiteral("100.0 %"));
}

TEST(BoltonResults, SumsAddEveryToothAndTheAnteriorSixOnly)
{
    BoltonSheet in;
    in.bpaciente = QStringLiteral("P");
    for (int k = 0; k < 12; ++k) {
        in.s[size_t(k)] = QString::number(k + 1) + QStringLiteral(".0");         // 1 .. 12: 78, anterior 4..9: 39
        in.i[size_t(k)] = QString::number(10 * (k + 1)) + QStringLiteral(".5");  // 10.5 .. 120.5
    }
    const BoltonResults r = ComputeBoltonSums(in);
    EXPECT_EQ(r.sup12res, QStringLiteral("78.0"));
    EXPECT_EQ(r.sup6res, QStringLiteral("39.0"));
    EXPECT_EQ(r.inf12res, QStringLiteral("786.0"));
    EXPECT_EQ(r.inf6res, QStringLiteral("393.0"));
}

struct RefusalCase {
    const char* name;
    std::function<void(BoltonSheet&)> change;
    const char* warning;  // empty: accepted
};

class Refusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, StopBeforeAnythingIsComputed)
{
    BoltonSheet in = withSums(95.0, 47.0, 88.0, 35.5);
    GetParam().change(in);
    EXPECT_EQ(BoltonRefusal(in), QString::fromUtf8(GetParam().warning));
}

const char* kIncomplete = "Todos os campos devem ser preenchidos antes do cálculo!";
const char* kUpper12 = "A soma dos 12 dentes superiores não pode ser igual a ZERO!";
const char* kUpper6 = "A soma dos 6 dentes anteriores superiores não pode ser igual a ZERO!";
const char* kLower12 = "A soma dos 12 dentes inferiores não pode ser igual a ZERO!";
const char* kLower6 = "A soma dos 6 dentes anteriores inferiores não pode ser igual a ZERO!";

void zeroUpper(BoltonSheet& in) { in.s.fill(QStringLiteral("0.0")); }
void zeroLower(BoltonSheet& in) { in.i.fill(QStringLiteral("0.0")); }

INSTANTIATE_TEST_SUITE_P(
    Bolton, Refusals,
    ::testing::Values(
        RefusalCase{"complete", [](BoltonSheet&) {}, ""},
        RefusalCase{"i10Empty", [](BoltonSheet& in) { in.i[9].clear(); }, kIncomplete},
        RefusalCase{"s01Empty", [](BoltonSheet& in) { in.s[0].clear(); }, kIncomplete},
        RefusalCase{"nameEmpty", [](BoltonSheet& in) { in.bpaciente.clear(); }, kIncomplete},
        // An empty tooth is reported before a zero sum.
        RefusalCase{"emptyBeforeZero", [](BoltonSheet& in) { zeroUpper(in); in.i[11].clear(); }, kIncomplete},
        RefusalCase{"molarsNotNeeded", [](BoltonSheet& in) { in.termole.clear(); in.segmold.clear(); }, ""},
        RefusalCase{"upperAllZero", [](BoltonSheet& in) { zeroUpper(in); zeroLower(in); }, kUpper12},
        RefusalCase{"upperAnteriorZero",
                    [](BoltonSheet& in) { in.s[3] = QStringLiteral("0.0"); in.s[0] = QStringLiteral("95.0"); }, kUpper6},
        RefusalCase{"lowerAllZero", [](BoltonSheet& in) { zeroLower(in); }, kLower12},
        RefusalCase{"lowerAnteriorZero",
                    [](BoltonSheet& in) { in.i[3] = QStringLiteral("0.0"); in.i[0] = QStringLiteral("88.0"); }, kLower6},
        // Not zero, but shown as 0.0: it would divide by zero in the ratio.
        RefusalCase{"upperShowsZero", [](BoltonSheet& in) { zeroUpper(in); in.s[4] = QStringLiteral("0.04"); }, kUpper12},
        RefusalCase{"upperAnteriorShowsZero",
                    [](BoltonSheet& in) { in.s[3] = QStringLiteral("0.04"); in.s[0] = QStringLiteral("50.0"); }, kUpper6},
        RefusalCase{"lowerShowsZero", [](BoltonSheet& in) { zeroLower(in); in.i[4] = QStringLiteral("0.04"); }, kLower12},
        RefusalCase{"lowerAnteriorShowsZero",
                    [](BoltonSheet& in) { in.i[3] = QStringLiteral("0.04"); in.i[0] = QStringLiteral("40.0"); }, kLower6},
        // Texts from a file are not filtered: a negative total shown as -0.0 is zero too.
        RefusalCase{"upperShowsMinusZero", [](BoltonSheet& in) { zeroUpper(in); in.s[4] = QStringLiteral("-0.04"); }, kUpper12},
        // Unreadable texts count as 0.
        RefusalCase{"upperUnreadable", [](BoltonSheet& in) { in.s.fill(QStringLiteral("abc")); }, kUpper12},
        // 0.05 shows as 0.1 and can be divided by.
        RefusalCase{"upperShowsOneTenth",
                    [](BoltonSheet& in) { zeroUpper(in); in.s[4] = QStringLiteral("0.05"); }, ""}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(BoltonResults, SmallestAcceptedDenominatorGivesFiniteTexts)
{
    BoltonSheet in = withSums(95.0, 47.0, 88.0, 35.5);
    in.s.fill(QStringLiteral("0.0"));
    in.s[4] = QStringLiteral("0.05");
    ASSERT_EQ(BoltonRefusal(in), QString());
    const BoltonResults r = ComputeBolton(in, published());
    EXPECT_EQ(r.sup12res, QStringLiteral("0.1"));
    EXPECT_EQ(r.x10012res, QStringLiteral("88000.0 %"));
    EXPECT_EQ(r.tab12res, QStringLiteral("77.6"));  // below the table: first row
}

struct MolarCase {
    const char *termole, *segmole, *segmold, *termold;
    bool filled;
};

class Molars : public ::testing::TestWithParam<MolarCase> {};

TEST_P(Molars, NeedNoQuestionOnlyWhenAllFilledAndNotZero)
{
    BoltonSheet in;
    in.termole = QString::fromUtf8(GetParam().termole);
    in.segmole = QString::fromUtf8(GetParam().segmole);
    in.segmold = QString::fromUtf8(GetParam().segmold);
    in.termold = QString::fromUtf8(GetParam().termold);
    EXPECT_EQ(MolarsFilled(in), GetParam().filled);
}

INSTANTIATE_TEST_SUITE_P(Bolton, Molars,
                         ::testing::Values(MolarCase{"10.0", "10.5", "10.5", "10.0", true},
                                           MolarCase{"0.0", "0.0", "0.0", "0.1", true},
                                           MolarCase{"", "10.5", "10.5", "10.0", false},
                                           MolarCase{"10.0", "10.5", "", "10.0", false},
                                           MolarCase{"10.0", "10.5", "10.5", "", false},
                                           MolarCase{"0.0", "0.0", "0.0", "0.0", false},
                                           MolarCase{"-1", "1", "2", "-2", false}));

struct LookupCase {
    bool anterior;
    int column;
    double x;
    double expected;
};

class Lookups : public ::testing::TestWithParam<LookupCase> {};

TEST_P(Lookups, PickTheNearerRowWithTiesUpward)
{
    const LookupCase& c = GetParam();
    const auto& rows = c.anterior ? test::kAnterior : test::kOverall;
    const int n = c.anterior ? 31 : 26;
    EXPECT_EQ(BoltonLookup(n, c.column, rows, c.x), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bolton, Lookups,
    ::testing::Values(
        // Overall, maxillary column.
        LookupCase{false, 1, 84.9, 77.6}, LookupCase{false, 1, 85.0, 77.6}, LookupCase{false, 1, 85.4, 77.6},
        LookupCase{false, 1, 85.5, 78.5}, LookupCase{false, 1, 93.4, 84.9}, LookupCase{false, 1, 93.5, 85.8},
        LookupCase{false, 1, 109.5, 100.4}, LookupCase{false, 1, 110.0, 100.4}, LookupCase{false, 1, 140.0, 100.4},
        LookupCase{false, 1, 0.1, 77.6},
        // Overall, mandibular column.
        LookupCase{false, 2, 77.0, 85}, LookupCase{false, 2, 77.6, 85}, LookupCase{false, 2, 78.0, 85},
        LookupCase{false, 2, 78.1, 86}, LookupCase{false, 2, 100.4, 110}, LookupCase{false, 2, 101.0, 110},
        LookupCase{false, 2, 91.2, 100},
        // Anterior, maxillary column.
        LookupCase{true, 1, 39.0, 30.9}, LookupCase{true, 1, 40.2, 30.9}, LookupCase{true, 1, 40.3, 31.3},
        LookupCase{true, 1, 47.0, 36.3}, LookupCase{true, 1, 54.7, 42.1}, LookupCase{true, 1, 54.8, 42.5},
        LookupCase{true, 1, 55.0, 42.5}, LookupCase{true, 1, 60.0, 42.5},
        // Anterior, mandibular column.
        LookupCase{true, 2, 30.0, 40.0}, LookupCase{true, 2, 35.5, 46.0}, LookupCase{true, 2, 34.9, 45.0},
        LookupCase{true, 2, 42.5, 55.0}, LookupCase{true, 2, 50.0, 55.0}));

}  // namespace
