// The Tweed calculation, total space analysis and difficulty index as tables of typed texts
// against shown texts.
#include "entry/RealEntry.h"
#include "analysis/TweedAnalysis.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <ostream>
#include <random>

using namespace qv;

namespace {

std::string s(const QString& t) { return t.toStdString(); }

// A complete page: FMA 25.0 gives the targets 68.0 / 87.0.
TweedInputs complete()
{
    TweedInputs in;
    in.twfma = "25.0";
    in.twfmia = "66.0";
    in.twimpa = "95.0";
    in.twploc = "10.0";
    in.twsna = "82.0";
    in.twsnb = "78.5";
    in.twaobo = "2.0";
    in.twangz = "75.0";
    in.twls = "15.0";
    in.twqt = "12.0";
    in.twafa = "100.0";
    in.twafp = "66.0";
    in.anaer = "10.0";
    in.anaep = "7.5";
    in.anmer = "20.0";
    in.anmep = "19.0";
    in.anmspee = "-1.5";
    in.anmcorr = "-2.0";
    in.anper = "12.0";
    in.anpep = "8.0";
    in.Idade = "13";
    in.twPaciente = "ANA";
    in.GenMasc = true;
    return in;
}

// ---- checks ----

struct CheckCase {
    const char* name;
    std::function<void(TweedInputs&)> change;
    TweedRefusal expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class Checks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(Checks, RefuseInOrder)
{
    TweedInputs in = complete();
    GetParam().change(in);
    EXPECT_EQ(CheckTweedInputs(in), GetParam().expected);
}

std::vector<CheckCase> checkCases()
{
    std::vector<CheckCase> cases = {
        {"complete", [](TweedInputs&) {}, TweedRefusal::None},
        {"name_only_missing", [](TweedInputs& i) { i.twPaciente.clear(); }, TweedRefusal::Incomplete},
        {"age_missing", [](TweedInputs& i) { i.Idade.clear(); }, TweedRefusal::Incomplete},
        {"own_impa_empty", [](TweedInputs& i) { i.dcnao = true; }, TweedRefusal::Incomplete},
        {"own_impa_given", [](TweedInputs& i) { i.dcnao = true; i.dcopcres = "90.0"; }, TweedRefusal::None},
        {"own_impa_ignored_with_sim", [](TweedInputs& i) { i.dcopcres.clear(); }, TweedRefusal::None},
        {"no_gender", [](TweedInputs& i) { i.GenMasc = false; }, TweedRefusal::NoGender},
        {"girl", [](TweedInputs& i) { i.GenMasc = false; i.GenFem = true; }, TweedRefusal::None},
        {"incomplete_before_gender",
         [](TweedInputs& i) {
             i.GenMasc = false;
             i.twPaciente.clear();
         },
         TweedRefusal::Incomplete},
        {"gender_before_afa",
         [](TweedInputs& i) {
             i.GenMasc = false;
             i.twafa = "0.0";
         },
         TweedRefusal::NoGender},
        {"afa_0_0", [](TweedInputs& i) { i.twafa = "0.0"; }, TweedRefusal::ZeroAfa},
        {"afa_point_0", [](TweedInputs& i) { i.twafa = ".0"; }, TweedRefusal::ZeroAfa},
        {"afa_minus_0", [](TweedInputs& i) { i.twafa = "-0.0"; }, TweedRefusal::ZeroAfa},
        {"afa_unreadable", [](TweedInputs& i) { i.twafa = "1.2.3"; }, TweedRefusal::ZeroAfa},
        {"afa_tiny", [](TweedInputs& i) { i.twafa = ".0001"; }, TweedRefusal::None},
    };
    // Every measurement and space field is required.
    const std::vector<std::pair<const char*, QString TweedInputs::*>> fields = {
        {"twfma", &TweedInputs::twfma},     {"twfmia", &TweedInputs::twfmia},   {"twimpa", &TweedInputs::twimpa},
        {"twploc", &TweedInputs::twploc},   {"twsna", &TweedInputs::twsna},     {"twsnb", &TweedInputs::twsnb},
        {"twaobo", &TweedInputs::twaobo},   {"twangz", &TweedInputs::twangz},   {"twls", &TweedInputs::twls},
        {"twqt", &TweedInputs::twqt},       {"twafa", &TweedInputs::twafa},     {"twafp", &TweedInputs::twafp},
        {"anaep", &TweedInputs::anaep},     {"anaer", &TweedInputs::anaer},     {"anmep", &TweedInputs::anmep},
        {"anmer", &TweedInputs::anmer},     {"anmspee", &TweedInputs::anmspee}, {"anmcorr", &TweedInputs::anmcorr},
        {"anpep", &TweedInputs::anpep},     {"anper", &TweedInputs::anper}};
    for (const auto& [name, member] : fields)
        cases.push_back({name, [m = member](TweedInputs& i) { (i.*m).clear(); }, TweedRefusal::Incomplete});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Tweed, Checks, ::testing::ValuesIn(checkCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Checks, Messages)
{
    EXPECT_EQ(s(RefusalText(TweedRefusal::Incomplete)), "Todos os campos devem ser preenchidos antes do cálculo!");
    EXPECT_EQ(s(RefusalText(TweedRefusal::NoGender)), "O gênero do paciente não foi selecionado!");
    EXPECT_EQ(s(RefusalText(TweedRefusal::ZeroAfa)), "O valor do campo AFA deve ser diferente de ZERO!");
    EXPECT_TRUE(RefusalText(TweedRefusal::None).isEmpty());
}

// ---- Horn's facial height index ----

struct HornCase {
    const char* afp;
    const char* afa;
    const char* text;
    Rgb colour;
    const char* percent;
};

void PrintTo(const HornCase& c, std::ostream* os) { *os << c.afp << " / " << c.afa; }

class Horn : public ::testing::TestWithParam<HornCase> {};

TEST_P(Horn, ClassifiesAndShowsPercent)
{
    const HornCase& c = GetParam();
    const HornResult h = ClassifyHorn(c.afp, c.afa);
    EXPECT_EQ(s(h.text), c.text) << c.afp << " / " << c.afa;
    EXPECT_EQ(h.colour, c.colour) << c.afp << " / " << c.afa;
    EXPECT_EQ(s(h.percent), c.percent) << c.afp << " / " << c.afa;
}

const char* const kCirurgico = "Tratamento Orto-Cirúrgico";
const char* const kEquilibrada = "Face Equilibrada";
const char* const kOrtodontico = "Tratamento Ortodôntico";

INSTANTIATE_TEST_SUITE_P(
    Tweed, Horn,
    ::testing::Values(HornCase{"45.0", "70.0", kOrtodontico, kGradeOlive, "64%"},
                      HornCase{"65.0", "100.0", kEquilibrada, kGradeGreen, "65%"},
                      HornCase{"75.0", "100.0", kOrtodontico, kGradeOlive, "75%"},
                      HornCase{"55.0", "100.0", kOrtodontico, kGradeOlive, "55%"},
                      HornCase{"85.0", "100.0", kOrtodontico, kGradeOlive, "85%"},
                      HornCase{"50.0", "100.0", kCirurgico, kGradeRed, "50%"},
                      HornCase{"54.9", "100.0", kCirurgico, kGradeRed, "55%"},
                      HornCase{"85.1", "100.0", kCirurgico, kGradeRed, "85%"},
                      HornCase{"64.9", "100.0", kOrtodontico, kGradeOlive, "65%"},
                      HornCase{"74.9", "100.0", kEquilibrada, kGradeGreen, "75%"},
                      HornCase{"65.5", "100.0", kEquilibrada, kGradeGreen, "66%"},
                      HornCase{"70", "100", kEquilibrada, kGradeGreen, "70%"},
                      // Exactly on a bound although the double quotient falls on the other side.
                      HornCase{"29.7", "54.0", kOrtodontico, kGradeOlive, "55%"},
                      HornCase{"33.8", "52.0", kEquilibrada, kGradeGreen, "65%"},
                      HornCase{"87.3", "116.4", kOrtodontico, kGradeOlive, "75%"},
                      HornCase{"44.2", "52.0", kOrtodontico, kGradeOlive, "85%"},
                      // Shapes that are not plain decimals fall back to the double quotient.
                      HornCase{"75", "1e2", kOrtodontico, kGradeOlive, "75%"},
                      HornCase{" 65.0", "100.0", kEquilibrada, kGradeGreen, "65%"},
                      HornCase{"70.0", "-100.0", kCirurgico, kGradeRed, "-70%"},
                      HornCase{"", "100.0", kCirurgico, kGradeRed, "0%"}));

TEST(HornBounds, ExactWhereTheDoubleQuotientIsNot)
{
    // The cases above only mean something while the double quotients miss their bounds.
    ASSERT_LT(87.3 / 116.4, 0.75);
    ASSERT_LT(29.7 / 54.0, 0.55);
    ASSERT_LT(33.8 / 52.0, 0.65);
    ASSERT_GT(44.2 / 52.0, 0.85);
    EXPECT_EQ(CompareRatio("87.3", "116.4", 75), 0);
    EXPECT_EQ(CompareRatio("87.3", "116.40", 75), 0);
    EXPECT_EQ(CompareRatio("87.31", "116.4", 75), 1);
    EXPECT_EQ(CompareRatio("-87.3", "-116.4", 75), 0);
    EXPECT_EQ(CompareRatio("87.3", "-116.4", 75), -1);
    EXPECT_EQ(CompareRatio(".75", "1.", 75), 0);
    // Too many digits for the exact route: the double quotient decides.
    EXPECT_EQ(CompareRatio("0.7500000000000000000000000000000000001", "1", 75), 0);
}

// ---- ANB and the DC targets ----

TEST(Anb, DifferenceAsShown)
{
    EXPECT_EQ(s(ComputeTweed(complete()).twanbres), "3.5");
    TweedInputs in = complete();
    in.twsna = "80.25";
    in.twsnb = "78.0";
    EXPECT_EQ(s(ComputeTweed(in).twanbres), "2.3");  // a tie rounds away from zero
    in.twsna = "78.0";
    in.twsnb = "80.25";
    EXPECT_EQ(s(ComputeTweed(in).twanbres), "-2.3");
    in.twsna = "80.05";  // held just below 80.05
    in.twsnb = "78";
    EXPECT_EQ(s(ComputeTweed(in).twanbres), "2.0");
}

struct TargetCase {
    const char* fma;
    const char* dcfma;
    const char* dcfmia;
    const char* dcimpa;
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << "FMA " << c.fma; }

class Targets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(Targets, ByFmaBand)
{
    const TargetCase& c = GetParam();
    const DcTargets t = ComputeDcTargets(c.fma);
    EXPECT_EQ(s(t.dcfmares), c.dcfma) << c.fma;
    EXPECT_EQ(s(t.dcfmiares), c.dcfmia) << c.fma;
    EXPECT_EQ(s(t.dcimpares), c.dcimpa) << c.fma;
}

INSTANTIATE_TEST_SUITE_P(Tweed, Targets,
                         ::testing::Values(TargetCase{"25.0", "25.0", "68.0", "87.0"},
                                           TargetCase{"18.5", "18.5", "69.5", "92.0"},
                                           TargetCase{"30.0", "30.0", "65.0", "85.0"},
                                           // 180 - 20.0 - 92 = 68.0 with the IMPA held at 92.0.
                                           TargetCase{"20.0", "20.0", "68.0", "92.0"},
                                           TargetCase{"20.1", "20.1", "68.0", "91.9"},
                                           TargetCase{"19.9", "19.9", "68.1", "92.0"},
                                           TargetCase{"29.9", "29.9", "68.0", "82.1"},
                                           TargetCase{"30.1", "30.1", "65.0", "84.9"},
                                           // The band follows the typed FMA, the formulas the shown one.
                                           TargetCase{"20.04", "20.0", "68.0", "92.0"},
                                           TargetCase{"19.96", "20.0", "68.0", "92.0"},
                                           TargetCase{"20.05", "20.1", "68.0", "91.9"},
                                           TargetCase{"29.96", "30.0", "68.0", "82.0"},
                                           TargetCase{"", "0.0", "88.0", "92.0"}));

struct DcCase {
    const char* target;
    const char* impa;
    const char* dc;
};

void PrintTo(const DcCase& c, std::ostream* os) { *os << c.target << " - " << c.impa; }

class Dc : public ::testing::TestWithParam<DcCase> {};

TEST_P(Dc, FromTargetInForce)
{
    EXPECT_EQ(s(CephalometricDiscrepancy(GetParam().target, GetParam().impa)), GetParam().dc);
}

INSTANTIATE_TEST_SUITE_P(Tweed, Dc,
                         ::testing::Values(DcCase{"87.0", "95.0", "-6.4"}, DcCase{"87.0", "87.0", "0.0"},
                                           DcCase{"92.0", "90.0", "1.6"}, DcCase{"90.0", "95.0", "-4.0"},
                                           DcCase{"87.0", "87.1", "-0.1"}));

TEST(Dc, OwnImpaInForceWhileNaoIsChecked)
{
    TweedInputs in = complete();
    EXPECT_EQ(s(ComputeTweed(in).dcdcres), "-6.4");
    in.dcnao = true;
    in.dcopcres = "90.0";
    const TweedResults r = ComputeTweed(in);
    EXPECT_EQ(s(r.dcdcres), "-4.0");
    EXPECT_EQ(s(r.space.anadcres), "-4.0");
    EXPECT_EQ(s(r.targets.dcimpares), "87.0");  // the page shows the chosen IMPA itself
}

// ---- total space analysis ----

struct MtmCase {
    const char* dc;
    const char* ls;
    const char* qt;
    const char* mtm;
};

void PrintTo(const MtmCase& c, std::ostream* os) { *os << "DC " << c.dc << " LS " << c.ls << " QT " << c.qt; }

class Mtm : public ::testing::TestWithParam<MtmCase> {};

TEST_P(Mtm, OnlyBeyondTheCephalometricLack)
{
    EXPECT_EQ(s(SoftTissueModification(GetParam().dc, GetParam().ls, GetParam().qt)), GetParam().mtm);
}

INSTANTIATE_TEST_SUITE_P(Tweed, Mtm,
                         ::testing::Values(MtmCase{"-2.0", "15.0", "12.0", "-1.0"},
                                           MtmCase{"-4.0", "15.0", "12.0", "0.0"},
                                           MtmCase{"-3.0", "15.0", "12.0", "0.0"},  // equal: not below
                                           MtmCase{"-2.9", "15.0", "12.0", "-0.1"},
                                           MtmCase{"1.0", "15.0", "12.0", "0.0"},
                                           MtmCase{"0.0", "15.0", "12.0", "0.0"},
                                           MtmCase{"-2.0", "12.0", "12.0", "0.0"},
                                           MtmCase{"-2.0", "-1.5", "-4.0", "-0.5"}));

struct GrowthCase {
    const char* age;
    bool masc;
    bool fem;
    const char* growth;
};

void PrintTo(const GrowthCase& c, std::ostream* os) { *os << (c.masc ? "boy " : c.fem ? "girl " : "none ") << c.age; }

class Growth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(Growth, ThreeMillimetresAYearLeft)
{
    EXPECT_EQ(s(ExpectedGrowth(GetParam().age, GetParam().masc, GetParam().fem)), GetParam().growth)
        << GetParam().age << (GetParam().masc ? " boy" : GetParam().fem ? " girl" : "");
}

INSTANTIATE_TEST_SUITE_P(Tweed, Growth,
                         ::testing::Values(GrowthCase{"11", false, true, "9.0"}, GrowthCase{"13", false, true, "3.0"},
                                           GrowthCase{"14", false, true, "0.0"}, GrowthCase{"15", false, true, "0.0"},
                                           GrowthCase{"0", false, true, "42.0"}, GrowthCase{"11", true, false, "15.0"},
                                           GrowthCase{"13", true, false, "9.0"}, GrowthCase{"15", true, false, "3.0"},
                                           GrowthCase{"16", true, false, "0.0"}, GrowthCase{"17", true, false, "0.0"},
                                           GrowthCase{"11", false, false, "0.0"}));

SpaceInputs space()
{
    SpaceInputs in;
    in.anaer = "10.0";
    in.anaep = "7.5";
    in.twimpa = "89.5";
    in.impaTarget = "87.0";
    in.twls = "15.0";
    in.twqt = "12.0";
    in.anmer = "20.0";
    in.anmep = "19.0";
    in.anmspee = "-1.5";
    in.anmcorr = "-2.0";
    in.anper = "12.0";
    in.anpep = "8.0";
    in.Idade = "13";
    in.GenMasc = true;
    return in;
}

TEST(TotalSpace, AreasAndTotal)
{
    const SpaceResults r = ComputeTotalSpace(space());
    EXPECT_EQ(s(r.anadmres), "-2.5");
    EXPECT_EQ(s(r.anadcres), "-2.0");
    EXPECT_EQ(s(r.anamtmres), "-1.0");
    EXPECT_EQ(s(r.anantres), "-5.5");
    EXPECT_EQ(s(r.anmdmres), "-1.0");
    EXPECT_EQ(s(r.anmedres), "-4.5");
    EXPECT_EQ(s(r.anpdmres), "-4.0");
    EXPECT_EQ(s(r.anpcresres), "9.0");
    EXPECT_EQ(s(r.anposres), "5.0");
    EXPECT_EQ(s(r.andiscres), "-5.0");
}

TEST(TotalSpace, SumsReadTheShownValues)
{
    SpaceInputs in = space();
    in.anaep = "7.25";  // DM -2.75 shows as -2.8
    in.twimpa = "88.0";  // DC -0.8
    in.twls = "12.0";  // no soft-tissue modification
    const SpaceResults r = ComputeTotalSpace(in);
    EXPECT_EQ(s(r.anadmres), "-2.8");
    EXPECT_EQ(s(r.anamtmres), "0.0");
    // -2.8 + -0.8, not F1(-2.75 + -0.8) = -3.5.
    EXPECT_EQ(s(r.anantres), "-3.6");
    EXPECT_EQ(s(r.andiscres), "-3.1");  // 5.0 + (-3.6 + -4.5)

    in.anmep = "19.05";  // DM -0.95 (held just above) shows as -0.9
    in.anmspee = "-0.05";
    in.anmcorr = "0.0";
    const SpaceResults m = ComputeTotalSpace(in);
    EXPECT_EQ(s(m.anmdmres), "-0.9");
    EXPECT_EQ(s(m.anmedres), "-1.0");  // 0.0 + (-0.9 + -0.05) = -0.95 held as -0.9500…01
}

// ---- difficulty index ----

DifficultyInputs neutral()
{
    DifficultyInputs in;
    in.twfma = "25.0";
    in.twanbres = "3.0";
    in.twangz = "75.0";
    in.twploc = "10.0";
    in.twsnb = "80.0";
    in.twafp = "66.0";
    in.twafa = "100.0";
    in.anadmres = "1.0";
    in.anadcres = "0.0";
    in.anamtmres = "0.0";
    in.anmdmres = "0.0";
    in.anmspee = "0.0";
    in.anmcorr = "0.0";
    in.anposres = "0.0";
    return in;
}

struct ItemCase {
    const char* name;
    QString DifficultyInputs::*source;
    const char* value;
    QString DifficultyResults::*item;
    const char* expected;
};

void PrintTo(const ItemCase& c, std::ostream* os) { *os << c.name; }

class Items : public ::testing::TestWithParam<ItemCase> {};

TEST_P(Items, WeightOutsideTheRange)
{
    const ItemCase& c = GetParam();
    DifficultyInputs in = neutral();
    in.*c.source = c.value;
    const DifficultyResults r = ComputeDifficulty(in);
    EXPECT_EQ(s(r.*c.item), c.expected);
}

using DI = DifficultyInputs;
using DR = DifficultyResults;

INSTANTIATE_TEST_SUITE_P(
    Tweed, Items,
    ::testing::Values(ItemCase{"fma30", &DI::twfma, "30.0", &DR::idfmares, "10.0"},
                      ItemCase{"fma20", &DI::twfma, "20.0", &DR::idfmares, "10.0"},
                      ItemCase{"fma28", &DI::twfma, "28.0", &DR::idfmares, "0.0"},
                      ItemCase{"fma22", &DI::twfma, "22.0", &DR::idfmares, "0.0"},
                      ItemCase{"anb6_5", &DI::twanbres, "6.5", &DR::idanbres, "22.5"},
                      ItemCase{"anbMinus1", &DI::twanbres, "-1.0", &DR::idanbres, "30.0"},
                      ItemCase{"anb5", &DI::twanbres, "5.0", &DR::idanbres, "0.0"},
                      ItemCase{"z68", &DI::twangz, "68.0", &DR::idangzres, "4.0"},
                      ItemCase{"z81", &DI::twangz, "81.0", &DR::idangzres, "2.0"},
                      ItemCase{"ploc7", &DI::twploc, "7.0", &DR::idplocres, "3.0"},
                      ItemCase{"ploc13_5", &DI::twploc, "13.5", &DR::idplocres, "4.5"},
                      ItemCase{"snb76_5", &DI::twsnb, "76.5", &DR::idsnbres, "7.5"},
                      ItemCase{"snb83", &DI::twsnb, "83.0", &DR::idsnbres, "5.0"},
                      ItemCase{"afp60", &DI::twafp, "60.0", &DR::idifres, "15.0"},
                      ItemCase{"afp70", &DI::twafp, "70.0", &DR::idifres, "6.0"},
                      ItemCase{"afp68", &DI::twafp, "68.0", &DR::idifres, "0.0"},
                      ItemCase{"afp65", &DI::twafp, "65.0", &DR::idifres, "0.0"},
                      ItemCase{"dmAntMinus2", &DI::anadmres, "-2.0", &DR::iddmares, "3.0"},
                      ItemCase{"dmAnt1", &DI::anadmres, "1.0", &DR::iddmares, "0.0"},
                      ItemCase{"dcPlus2_4", &DI::anadcres, "2.4", &DR::iddcres, "2.4"},
                      ItemCase{"dcMinus6_4", &DI::anadcres, "-6.4", &DR::iddcres, "6.4"},
                      ItemCase{"mtmMinus1", &DI::anamtmres, "-1.0", &DR::idmtmres, "0.5"},
                      ItemCase{"mtmTie", &DI::anamtmres, "-0.5", &DR::idmtmres, "0.3"},
                      ItemCase{"dmMedMinus1", &DI::anmdmres, "-1.0", &DR::iddmmres, "1.0"},
                      ItemCase{"dmMed2", &DI::anmdmres, "2.0", &DR::iddmmres, "0.0"},
                      ItemCase{"spee", &DI::anmspee, "-1.5", &DR::idspeeres, "1.5"},
                      ItemCase{"corrClassII", &DI::anmcorr, "-2.0", &DR::idcorrres, "4.0"},
                      ItemCase{"corrClassIII", &DI::anmcorr, "2.0", &DR::idcorrres, "4.0"},
                      ItemCase{"posGrowthCovers", &DI::anposres, "5.0", &DR::iddmpres, "0.0"},
                      ItemCase{"posMinus3", &DI::anposres, "-3.0", &DR::iddmpres, "1.5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Difficulty, NeutralCaseIsZero)
{
    const DifficultyResults r = ComputeDifficulty(neutral());
    for (const QString* t : {&r.idfmares, &r.idanbres, &r.idangzres, &r.idplocres, &r.idsnbres, &r.idifres,
                             &r.idsub1res, &r.iddmares, &r.iddcres, &r.idmtmres, &r.iddmmres, &r.idspeeres,
                             &r.idcorrres, &r.iddmpres, &r.idsub2res, &r.idtotres})
        EXPECT_EQ(s(*t), "0.0");
    EXPECT_EQ(s(r.idlabel), "ÍNDICE DE DIFICULDADE SUAVE: 0.0");
}

TEST(Difficulty, SubTotalsAddShownItems)
{
    DifficultyInputs in = neutral();
    in.anamtmres = "-0.5";  // 0.25 shows as 0.3
    in.anposres = "-0.5";   // 0.25 shows as 0.3
    in.twfma = "28.05";     // (28.05 - 28) * 5 = 0.25…, shows as 0.3
    in.twploc = "12.05";    // (12.05 - 12) * 3 = 0.15…, shows as 0.2
    const DifficultyResults r = ComputeDifficulty(in);
    EXPECT_EQ(s(r.idmtmres), "0.3");
    EXPECT_EQ(s(r.iddmpres), "0.3");
    EXPECT_EQ(s(r.idsub2res), "0.6");  // not 0.5
    EXPECT_EQ(s(r.idfmares), "0.3");
    EXPECT_EQ(s(r.idplocres), "0.2");
    EXPECT_EQ(s(r.idsub1res), "0.5");  // not 0.4
    EXPECT_EQ(s(r.idtotres), "1.1");
}

struct GradeCase {
    const char* dc;  // the DC item alone makes the total
    const char* label;
    Rgb colour;
};

void PrintTo(const GradeCase& c, std::ostream* os) { *os << "total " << c.dc; }

class Grade : public ::testing::TestWithParam<GradeCase> {};

TEST_P(Grade, Bands)
{
    DifficultyInputs in = neutral();
    in.anadcres = GetParam().dc;
    const DifficultyResults r = ComputeDifficulty(in);
    EXPECT_EQ(s(r.idtotres), std::string(GetParam().dc).substr(GetParam().dc[0] == '-' ? 1 : 0));
    EXPECT_EQ(s(r.idlabel), GetParam().label);
    EXPECT_EQ(r.colour, GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Tweed, Grade,
                         ::testing::Values(GradeCase{"59.9", "ÍNDICE DE DIFICULDADE SUAVE: 59.9", kGradeGreen},
                                           GradeCase{"60.0", "ÍNDICE DE DIFICULDADE MODERADO: 60.0", kGradeOlive},
                                           GradeCase{"75.5", "ÍNDICE DE DIFICULDADE MODERADO: 75.5", kGradeOlive},
                                           GradeCase{"119.9", "ÍNDICE DE DIFICULDADE MODERADO: 119.9", kGradeOlive},
                                           GradeCase{"-120.0", "ÍNDICE DE DIFICULDADE SEVERO: 120.0", kGradeRed}));

// ---- the whole calculation ----

TEST(ComputeTweed, OnePatientEndToEnd)
{
    const TweedResults r = ComputeTweed(complete());
    EXPECT_EQ(s(r.twanbres), "3.5");
    EXPECT_EQ(s(r.horn.text), kEquilibrada);
    EXPECT_EQ(s(r.horn.percent), "66%");
    EXPECT_EQ(s(r.targets.dcimpares), "87.0");
    EXPECT_EQ(s(r.dcdcres), "-6.4");
    EXPECT_EQ(s(r.space.anamtmres), "0.0");   // -3.0 is not below -6.4
    EXPECT_EQ(s(r.space.anantres), "-8.9");   // -2.5 + (0.0 + -6.4)
    EXPECT_EQ(s(r.space.anmedres), "-4.5");
    EXPECT_EQ(s(r.space.anposres), "5.0");    // boy of 13: 9.0 - 4.0
    EXPECT_EQ(s(r.space.andiscres), "-8.4");
    const DifficultyResults& d = r.difficulty;
    EXPECT_EQ(s(d.idsub1res), "0.0");
    EXPECT_EQ(s(d.iddmares), "3.8");   // 2.5 * 1.5 = 3.75
    EXPECT_EQ(s(d.iddcres), "6.4");
    EXPECT_EQ(s(d.iddmmres), "1.0");
    EXPECT_EQ(s(d.idspeeres), "1.5");
    EXPECT_EQ(s(d.idcorrres), "4.0");
    EXPECT_EQ(s(d.iddmpres), "0.0");
    EXPECT_EQ(s(d.idsub2res), "16.7");
    EXPECT_EQ(s(d.idtotres), "16.7");
    EXPECT_EQ(s(d.idlabel), "ÍNDICE DE DIFICULDADE SUAVE: 16.7");
}

TEST(ComputeTweed, AnyTypedTextIsComputed)
{
    // Every field may hold whatever the filters let through, or a file put there.
    const QString alphabet = QStringLiteral(" -+.,0123456789eEaX");
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> len(0, 9), pick(0, int(alphabet.size()) - 1), coin(0, 1);
    auto text = [&] {
        QString t;
        for (int n = len(rng); n > 0; --n)
            t += alphabet[pick(rng)];
        return t;
    };
    const QStringList extremes = {"1e308", "-1e308", "99999", ".0001", "1e-320", "0", "", "-"};
    for (int round = 0; round < 3000; ++round) {
        TweedInputs in;
        for (QString* f : {&in.twfma, &in.twfmia, &in.twimpa, &in.twploc, &in.twsna, &in.twsnb, &in.twaobo,
                           &in.twangz, &in.twls, &in.twqt, &in.twafa, &in.twafp, &in.anaer, &in.anaep, &in.anmer,
                           &in.anmep, &in.anmspee, &in.anmcorr, &in.anper, &in.anpep, &in.dcopcres, &in.Idade})
            *f = round % 4 == 0 ? extremes[pick(rng) % extremes.size()] : text();
        in.dcnao = coin(rng);
        in.GenMasc = coin(rng);
        in.GenFem = !in.GenMasc && coin(rng);
        const TweedResults r = ComputeTweed(in);
        ASSERT_FALSE(r.difficulty.idtotres.isEmpty());
        ASSERT_TRUE(r.difficulty.idlabel.startsWith(QStringLiteral("ÍNDICE DE DIFICULDADE ")));
        ASSERT_TRUE(r.horn.percent.endsWith(u'%'));
        ASSERT_FALSE(r.space.andiscres.isEmpty());
    }
}

TEST(ImpaQuestion, ThirteenSpacesAndTheShownTarget)
{
    EXPECT_EQ(s(ImpaQuestionText("87.0")), "             IMPA = 87.0\rDeseja Manter o IMPA atual?");
}

}  // namespace
