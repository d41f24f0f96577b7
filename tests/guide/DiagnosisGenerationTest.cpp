#include "analysis/DiagnosisGeneration.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace qv;

namespace {

const char* const kNoExtraction = "Não há necessidade de Extração";
const char* const kExtraction = "Extração";
const char* const kSurgery = "Ortodontia e cirurgia";
const char* const kIntrusive = "Extração e usar forças\rdirecionais intrusivas";
const char* const kDeepMild = "Extração, força de inclinação\rdistal e usar forças\rdirecionais intrusivas";
const char* const kDeepSevere =
    "Usar placa de altura, elásticos\rverticais e forças direcionais extrusivas.\rOrtodontia e cirurgia";
const char* const kCompensate = "Tratamento compensatório por\rposicionamento dentário";

using Cross = std::vector<const char*>;  // empty: lines hidden; else the four quadrant texts
const Cross kNoCross{};

std::string Str(const QString& s) { return s.toStdString(); }

void ExpectCross(const ExtractionCross& actual, const Cross& expected, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(actual.lines, !expected.empty());
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(Str(actual.quadrants[i]), expected.empty() ? std::string() : std::string(expected[i])) << "quadrant " << i;
}

GuideInputs Inputs(const char* a, const char* m, const char* p, const char* anb)
{
    return {QString::fromUtf8(a), QString::fromUtf8(m), QString::fromUtf8(p), QString::fromUtf8(anb)};
}

// ---- Anterior area ----

struct AnteriorCase {
    const char* a;
    bool daapinh, menor, maior;
    const char* text;
    Cross cross;
};

void PrintTo(const AnteriorCase& c, std::ostream* os)
{
    *os << "A=" << c.a << (c.daapinh ? " daapinh" : "") << (c.menor ? " menor" : "") << (c.maior ? " maior" : "");
}

class AnteriorTest : public ::testing::TestWithParam<AnteriorCase> {};

TEST_P(AnteriorTest, Rule)
{
    const AnteriorCase& c = GetParam();
    GuideAnswers g;
    g.daapinh = c.daapinh, g.menor = c.menor, g.maior = c.maior, g.dpadq = true;
    const PanelState p = GenerateDiagnosis(Inputs(c.a, "0.0", "0.0", "0.0"), g);
    EXPECT_TRUE(p.antInfo);
    EXPECT_EQ(Str(p.dsant), c.text);
    ExpectCross(p.ant, c.cross, "anterior cross");
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, AnteriorTest,
    ::testing::Values(
        AnteriorCase{"-2.9", true, false, true, kNoExtraction, kNoCross},                    // A1
        AnteriorCase{"", false, false, false, kNoExtraction, kNoCross},                     // empty reads 0
        AnteriorCase{"-3.0", false, false, false, kExtraction, {"8", "8", "8", "8"}},       // A2
        AnteriorCase{"-4.9", false, false, false, kExtraction, {"8", "8", "8", "8"}},       // A2
        AnteriorCase{"-3.0", true, true, false, kExtraction, {"5", "5", "5", "5"}},         // A3
        AnteriorCase{"-4.9", true, false, true, kExtraction, {"5", "5", "5", "5"}},         // A3
        AnteriorCase{"-5.0", true, true, false, kExtraction, {"4", "4", "5", "5"}},         // A4
        AnteriorCase{"-6.9", true, true, false, kExtraction, {"4", "4", "5", "5"}},         // A4
        AnteriorCase{"-5.0", true, false, true, kExtraction, {"4", "4", "4", "4"}},         // A5
        AnteriorCase{"-5.0", false, false, false, kExtraction, {"4", "4", "4", "4"}},       // A6
        AnteriorCase{"-7.0", true, true, false, kExtraction, {"4", "4", "4", "4"}},         // A6
        AnteriorCase{"-14.9", true, true, false, kExtraction, {"4", "4", "4", "4"}},        // A6
        AnteriorCase{"-15.0", true, true, false, kExtraction, {"X  4", "4  X", "X  4", "4  X"}},  // A7
        AnteriorCase{"-30.0", false, false, false, kExtraction, {"X  4", "4  X", "X  4", "4  X"}}));

// ---- Middle area ----

struct MiddleCase {
    const char* m;
    bool dmapinh, dmrel, dmpro;
    const char* text;
    Cross cross;
    Cross second;  // the alternative joined by "ou"
};

void PrintTo(const MiddleCase& c, std::ostream* os)
{
    *os << "M=" << c.m << (c.dmapinh ? " dmapinh" : "") << (c.dmrel ? " dmrel" : "") << (c.dmpro ? " dmpro" : "");
}

class MiddleTest : public ::testing::TestWithParam<MiddleCase> {};

TEST_P(MiddleTest, Rule)
{
    const MiddleCase& c = GetParam();
    GuideAnswers g;
    g.dmapinh = c.dmapinh, g.dmrel = c.dmrel, g.dmpro = c.dmpro, g.dpadq = true;
    const PanelState p = GenerateDiagnosis(Inputs("0.0", c.m, "0.0", "0.0"), g);
    EXPECT_TRUE(p.medInfo);
    EXPECT_EQ(Str(p.dsmed), c.text);
    ExpectCross(p.med, c.cross, "middle cross");
    EXPECT_EQ(p.ou, !c.second.empty());
    EXPECT_EQ(Str(p.dsmed2), c.second.empty() ? "" : kExtraction);
    ExpectCross(p.med2, c.second, "second middle cross");
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, MiddleTest,
    ::testing::Values(
        MiddleCase{"-2.9", true, true, true, kNoExtraction, kNoCross, kNoCross},                         // M1
        MiddleCase{"-3.0", false, false, false, kExtraction, {"8", "8", "8", "8"}, kNoCross},            // M2
        MiddleCase{"-4.0", false, true, false, kExtraction, {"8", "8", "8", "8"}, {"4", "4", "5", "5"}}, // M2 + ou
        MiddleCase{"-4.9", false, true, true, kExtraction, {"8", "8", "8", "8"}, {"4", "4", "5", "5"}},
        MiddleCase{"-4.0", true, true, false, kExtraction, {"4", "4", "5", "5"}, kNoCross},              // M3
        MiddleCase{"-3.0", true, true, true, kExtraction, {"4", "4", "5", "5"}, kNoCross},               // M3
        // Crowding without Class II between -5 and -3 takes the rules of the band below.
        MiddleCase{"-3.0", true, false, true, kExtraction, {"4", "4", "5", "5"}, kNoCross},
        MiddleCase{"-3.0", true, false, false, kExtraction, {"5", "5", "5", "5"}, kNoCross},
        MiddleCase{"-4.9", true, false, false, kExtraction, {"5", "5", "5", "5"}, kNoCross},
        MiddleCase{"-5.0", false, true, true, kExtraction, {"4", "4", "5", "5"}, kNoCross},              // M4
        MiddleCase{"-6.9", true, false, true, kExtraction, {"4", "4", "5", "5"}, kNoCross},              // M4
        MiddleCase{"-5.0", false, true, false, kExtraction, {"5", "5", "5", "5"}, kNoCross},             // M5
        MiddleCase{"-6.9", true, true, false, kExtraction, {"5", "5", "5", "5"}, kNoCross},              // M5
        MiddleCase{"-7.0", true, true, true, kExtraction, {"X  4", "4  X", "X  5", "5  X"}, kNoCross},    // M6
        MiddleCase{"-7.0", false, false, false, kExtraction, {"X  4", "4  X", "X  5", "5  X"}, kNoCross}));

// ---- Posterior area ----

struct PosteriorCase {
    const char* p;
    bool adequate;
    const char* text;
    Cross cross;
};

void PrintTo(const PosteriorCase& c, std::ostream* os) { *os << "P=" << c.p << (c.adequate ? " dpadq" : " dpinadeq"); }

class PosteriorTest : public ::testing::TestWithParam<PosteriorCase> {};

TEST_P(PosteriorTest, Rule)
{
    const PosteriorCase& c = GetParam();
    GuideAnswers g;
    g.dpadq = c.adequate, g.dpinadeq = !c.adequate;
    const PanelState p = GenerateDiagnosis(Inputs("0.0", "0.0", c.p, "0.0"), g);
    EXPECT_TRUE(p.posInfo);
    EXPECT_EQ(Str(p.dspos), c.text);
    ExpectCross(p.pos, c.cross, "posterior cross");
}

const char* const kWait = "Aguardar desenvolvimento dos\r3º Molares";

INSTANTIATE_TEST_SUITE_P(Thresholds, PosteriorTest,
                         ::testing::Values(PosteriorCase{"-4.9", true, kWait, kNoCross},                   // P1
                                           PosteriorCase{"3.0", true, kWait, kNoCross},                    // P1
                                           PosteriorCase{"-4.9", false, kExtraction, {"8", "8", "8", "8"}},  // P2
                                           PosteriorCase{"-5.0", true, kExtraction, {"8", "8", "8", "8"}},   // P2
                                           PosteriorCase{"0.0", false, kExtraction, {"8", "8", "8", "8"}}));

TEST(Generation, EveryAreaIsWrittenAndNothingSkeletalWithoutDisharmony)
{
    GuideAnswers g;
    g.dpadq = true;
    const PanelState p = GenerateDiagnosis(Inputs("0.0", "0.0", "0.0", "12.0"), g);
    EXPECT_TRUE(p.antInfo && p.medInfo && p.posInfo);
    EXPECT_FALSE(p.descInfo);
    EXPECT_EQ(p.dsdesc, (std::array<QString, 5>{}));
}

// ---- Skeletal disharmony ----

struct Slot {
    const char* text;
    Cross cross;
};

struct SkeletalCase {
    const char* name;
    const char* anb;
    std::function<void(GuideAnswers&)> set;
    std::vector<Slot> written;  // filled slots from slot 1; "ou" labels join them
};

void Sim(GuideAnswers& g)
{
    g.dpadq = true;
    g.clsim = true;
    g.clnao = false;
}

void PrintTo(const SkeletalCase& c, std::ostream* os) { *os << c.name << " ANB=" << c.anb; }

class SkeletalTest : public ::testing::TestWithParam<SkeletalCase> {};

TEST_P(SkeletalTest, Slots)
{
    const SkeletalCase& c = GetParam();
    GuideAnswers g;
    Sim(g);
    c.set(g);
    const PanelState p = GenerateDiagnosis(Inputs("0.0", "0.0", "0.0", c.anb), g);
    EXPECT_EQ(p.descInfo, !c.written.empty());
    for (size_t k = 0; k < 5; ++k) {
        SCOPED_TRACE("slot " + std::to_string(k + 1));
        const bool filled = k < c.written.size();
        EXPECT_EQ(Str(p.dsdesc[k]), filled ? std::string(c.written[k].text) : std::string());
        if (k >= 1) {
            EXPECT_EQ(p.ouDesc[k - 1], filled) << "ou" << k + 1;
        }
        if (k < 4)
            ExpectCross(p.desc[k], filled ? c.written[k].cross : kNoCross, "cross");
    }
}

const std::vector<Slot> kH1{{kExtraction, {"8", "8", "8", "8"}}, {kExtraction, {"4", "4", "", ""}}, {kExtraction, {"4", "4", "5", "5"}}};

std::vector<Slot> Plus(std::vector<Slot> first, std::initializer_list<Slot> more)
{
    first.insert(first.end(), more);
    return first;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SkeletalTest,
    ::testing::Values(
        SkeletalCase{"ClassIIBelow3", "2.9", [](GuideAnswers& g) { g.horcl2 = g.sem = true; }, {}},
        SkeletalCase{"H1At3", "3.0", [](GuideAnswers& g) { g.horcl2 = g.sem = true; }, kH1},
        SkeletalCase{"H1At4_9", "4.9", [](GuideAnswers& g) { g.horcl2 = g.sem = true; }, kH1},
        SkeletalCase{"H2", "3.0", [](GuideAnswers& g) { g.horcl2 = g.direita = true; }, {{kExtraction, {"4", "4", "5", "4"}}}},
        SkeletalCase{"H3", "4.9", [](GuideAnswers& g) { g.horcl2 = g.esquerda = true; }, {{kExtraction, {"4", "4", "4", "5"}}}},
        SkeletalCase{"H4At5", "5.0", [](GuideAnswers& g) { g.horcl2 = g.sem = true; }, {{kExtraction, {"7", "7", "8", "8"}}}},
        SkeletalCase{"H4At8_9", "8.9", [](GuideAnswers& g) { g.horcl2 = g.direita = true; }, {{kExtraction, {"7", "7", "8", "8"}}}},
        SkeletalCase{"H5At9", "9.0", [](GuideAnswers& g) { g.horcl2 = g.sem = true; }, {{kExtraction, {"6", "6", "8", "8"}}}},
        SkeletalCase{"H5At11_9", "11.9", [](GuideAnswers& g) { g.horcl2 = g.sem = true; }, {{kExtraction, {"6", "6", "8", "8"}}}},
        SkeletalCase{"H6At12", "12.0", [](GuideAnswers& g) { g.horcl2 = g.sem = true; }, {{kSurgery, kNoCross}}},
        SkeletalCase{"ClassIIIAt0", "0.0", [](GuideAnswers& g) { g.horcl3 = true; }, {}},
        SkeletalCase{"H7BelowZero", "-0.1", [](GuideAnswers& g) { g.horcl3 = true; },
                     {{"Avaliar necessidade de Extração", {"5", "5", "4", "4"}}}},
        SkeletalCase{"H7At4_9", "-4.9", [](GuideAnswers& g) { g.horcl3 = true; },
                     {{"Avaliar necessidade de Extração", {"5", "5", "4", "4"}}}},
        SkeletalCase{"H8AtMinus5", "-5.0", [](GuideAnswers& g) { g.horcl3 = true; }, {{"Avaliar necessidade de cirurgia", kNoCross}}},
        SkeletalCase{"ClassIIIIgnoresPositiveAnb", "5.0", [](GuideAnswers& g) { g.horcl3 = true; }, {}},
        // Vertical after horizontal.
        SkeletalCase{"H1ThenMildOpenBite", "3.0", [](GuideAnswers& g) { g.horcl2 = g.sem = g.aberta = g.suave = true; },
                     Plus(kH1, {{kIntrusive, {"4", "4", "4", "4"}}})},
        SkeletalCase{"H1OpenBiteThenSevereFacial", "3.0",
                     [](GuideAnswers& g) { g.horcl2 = g.sem = g.aberta = g.suave = g.desarm = g.dessevera = true; },
                     Plus(kH1, {{kIntrusive, {"4", "4", "4", "4"}}, {kSurgery, kNoCross}})},
        SkeletalCase{"SurgeryOnceFromH6AndSevereOpenBite", "12.0",
                     [](GuideAnswers& g) { g.horcl2 = g.sem = g.aberta = g.severa = true; }, {{kSurgery, kNoCross}}},
        SkeletalCase{"SurgeryOnceWithSevereFacialToo", "12.0",
                     [](GuideAnswers& g) { g.horcl2 = g.sem = g.aberta = g.severa = g.desarm = g.dessevera = true; },
                     {{kSurgery, kNoCross}}},
        SkeletalCase{"MediumOpenBiteAloneTakesSlot1", "2.9", [](GuideAnswers& g) { g.horcl2 = g.sem = g.aberta = g.media = true; },
                     {{kIntrusive, {"X", "X", "X", "X"}}}},
        SkeletalCase{"MildDeepBiteAfterH4", "5.0", [](GuideAnswers& g) { g.horcl2 = g.sem = g.profunda = g.media = true; },
                     {{kExtraction, {"7", "7", "8", "8"}}, {kDeepMild, {"5", "5", "5", "5"}}}},
        SkeletalCase{"SevereDeepBiteAlone", "0.0", [](GuideAnswers& g) { g.profunda = g.severa = true; }, {{kDeepSevere, kNoCross}}},
        SkeletalCase{"SevereDeepBiteAfterH6", "12.0", [](GuideAnswers& g) { g.horcl2 = g.sem = g.profunda = g.severa = true; },
                     {{kSurgery, kNoCross}, {kDeepSevere, kNoCross}}},
        SkeletalCase{"MildFacialAlone", "0.0", [](GuideAnswers& g) { g.desarm = g.dessuave = true; }, {{kCompensate, kNoCross}}},
        SkeletalCase{"SevereFacialAlone", "0.0", [](GuideAnswers& g) { g.desarm = g.dessevera = true; }, {{kSurgery, kNoCross}}},
        SkeletalCase{"H8SevereOpenBiteMildFacial", "-5.0",
                     [](GuideAnswers& g) { g.horcl3 = g.aberta = g.severa = g.desarm = g.dessuave = true; },
                     {{"Avaliar necessidade de cirurgia", kNoCross}, {kSurgery, kNoCross}, {kCompensate, kNoCross}}},
        SkeletalCase{"SevereFacialNotRepeatedAfterSevereOpenBite", "-5.0",
                     [](GuideAnswers& g) { g.horcl3 = g.aberta = g.severa = g.desarm = g.dessevera = true; },
                     {{"Avaliar necessidade de cirurgia", kNoCross}, {kSurgery, kNoCross}}},
        SkeletalCase{"H7MildOpenBiteMildFacial", "-1.0",
                     [](GuideAnswers& g) { g.horcl3 = g.aberta = g.suave = g.desarm = g.dessuave = true; },
                     {{"Avaliar necessidade de Extração", {"5", "5", "4", "4"}}, {kIntrusive, {"4", "4", "4", "4"}}, {kCompensate, kNoCross}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Generation, BoxesLeftCheckedUnderNaoWriteNothing)
{
    GuideAnswers g;
    g.dpadq = true;
    g.horcl2 = g.sem = g.aberta = g.suave = g.desarm = g.dessuave = true;  // clnao stays checked
    const PanelState p = GenerateDiagnosis(Inputs("0.0", "0.0", "0.0", "4.0"), g);
    EXPECT_FALSE(p.descInfo);
    EXPECT_EQ(p.dsdesc, (std::array<QString, 5>{}));
    EXPECT_EQ(p.desc, (std::array<ExtractionCross, 4>{}));
}

// ---- The two append operations ----

PanelState WithSlots(std::initializer_list<const char*> texts)
{
    PanelState p;
    size_t k = 0;
    for (const char* t : texts) {
        p.dsdesc[k] = QString::fromUtf8(t);
        if (k == 0)
            p.descInfo = true;
        else
            p.ouDesc[k - 1] = true;
        ++k;
    }
    return p;
}

TEST(AppendUnique, EmptyPanelTakesSlot1WithHeadingAndNoOu)
{
    PanelState p;
    AppendUnique(p, QStringLiteral("T"), 3);
    PanelState expected = WithSlots({"T"});
    EXPECT_EQ(p, expected);
}

TEST(AppendUnique, SameTextInTheLastFilledSlotChangesNothing)
{
    for (const PanelState& held : {WithSlots({"T"}), WithSlots({"A", "T"}), WithSlots({"A", "B", "T"}), WithSlots({"A", "B", "C", "T"})}) {
        PanelState p = held;
        AppendUnique(p, QStringLiteral("T"), 4);
        EXPECT_EQ(p, held);
    }
}

TEST(AppendUnique, AddsAfterTheLastFilledSlotEvenWhenAnEarlierOneHoldsTheText)
{
    PanelState p = WithSlots({"T", "B"});
    AppendUnique(p, QStringLiteral("T"), 3);
    EXPECT_EQ(p, WithSlots({"T", "B", "T"}));
}

TEST(AppendUnique, LooksNoHigherThanItsFirstSlot)
{
    PanelState p = WithSlots({"A", "B", "C", "D"});
    AppendUnique(p, QStringLiteral("T"), 4);
    EXPECT_EQ(p, WithSlots({"A", "B", "C", "D", "T"}));
    PanelState q = WithSlots({"A", "B", "C"});
    AppendUnique(q, QStringLiteral("T"), 2);  // slot 3 is not looked at
    EXPECT_EQ(q.dsdesc[2], QStringLiteral("T"));
    EXPECT_EQ(q.dsdesc[3], QString());
}

TEST(AppendWithCross, AddsAfterTheLastOfSlots1To3WithoutComparing)
{
    const Quadrants x{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
    for (int filled = 0; filled <= 3; ++filled) {
        SCOPED_TRACE(filled);
        PanelState p;
        for (int k = 0; k < filled; ++k)
            p.dsdesc[size_t(k)] = QStringLiteral("T");
        AppendWithCross(p, QStringLiteral("T"), x);
        EXPECT_EQ(p.dsdesc[size_t(filled)], QStringLiteral("T"));
        EXPECT_TRUE(p.desc[size_t(filled)].lines);
        EXPECT_EQ(p.desc[size_t(filled)].quadrants, x);
        if (filled == 0) {
            EXPECT_TRUE(p.descInfo);
        } else {
            EXPECT_TRUE(p.ouDesc[size_t(filled - 1)]);
        }
        for (size_t k = size_t(filled) + 1; k < 5; ++k)
            EXPECT_TRUE(p.dsdesc[k].isEmpty()) << "slot " << k + 1;
    }
}

}  // namespace
