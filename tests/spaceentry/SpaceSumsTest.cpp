// The six area sums of the total space entry window.

#include "analysis/SpaceSums.h"

#include <ostream>

#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

using namespace qv;

namespace {

struct SumsCase {
    const char* name;
    SpaceEntries entries;
    SpaceSums expected;
};

SpaceEntries anteriorExample()
{
    SpaceEntries e;
    const char* anterior[] = {"5.5", "7.0", "6.0", "6.0", "7.0", "5.5"};
    for (int k = 0; k < 6; ++k)
        e.s[size_t(5 + k)] = QString::fromLatin1(anterior[k]);
    e.i06 = QStringLiteral("35.0");
    return e;
}

// Each entry a different power of two, so every sum shows which entries went into it.
SpaceEntries powersOfTwo()
{
    SpaceEntries e;
    for (int k = 0; k < 16; ++k)
        e.s[size_t(k)] = QString::number(1 << k) + QStringLiteral(".0");
    e.i01 = QStringLiteral("1.0");
    e.i03 = QStringLiteral("2.0");
    e.i06 = QStringLiteral("4.0");
    e.i12 = QStringLiteral("8.0");
    e.i15 = QStringLiteral("16.0");
    return e;
}

SpaceEntries unreadable()
{
    SpaceEntries e;
    e.s.fill(QStringLiteral("abc"));
    e.s[5] = QStringLiteral("12,5");  // pasted with a comma: not a number
    e.s[6] = QStringLiteral("1.5");
    e.i01 = QStringLiteral(" ");
    e.i06 = QStringLiteral("1.2.3");
    e.i15 = QStringLiteral("2.");
    return e;
}

SpaceEntries longTexts()
{
    SpaceEntries e;
    e.s[0] = QStringLiteral("123.0");   // typed 123, normalised
    e.s[15] = QStringLiteral("12.345");  // imported from the Bolton page
    e.i03 = QStringLiteral("0.04");
    e.i12 = QStringLiteral("0.01");
    return e;
}

class Sums : public ::testing::TestWithParam<SumsCase> {};

TEST_P(Sums, GoToTheirAreaWithOneDecimal)
{
    const SpaceSums r = ComputeSpaceSums(GetParam().entries);
    const SpaceSums& x = GetParam().expected;
    EXPECT_EQ(r.anaer, x.anaer);
    EXPECT_EQ(r.anaep, x.anaep);
    EXPECT_EQ(r.anmer, x.anmer);
    EXPECT_EQ(r.anmep, x.anmep);
    EXPECT_EQ(r.anper, x.anper);
    EXPECT_EQ(r.anpep, x.anpep);
}

INSTANTIATE_TEST_SUITE_P(
    SpaceEntry, Sums,
    ::testing::Values(SumsCase{"allEmpty", {}, {"0.0", "0.0", "0.0", "0.0", "0.0", "0.0"}},
                      SumsCase{"anteriorExample", anteriorExample(), {"37.0", "35.0", "0.0", "0.0", "0.0", "0.0"}},
                      // anterior s06..s11: 32+..+1024; middle s03..s05, s12..s14; posterior s01, s02, s15, s16
                      SumsCase{"eachEntryItsArea",
                               powersOfTwo(),
                               {"2016.0", "4.0", "14364.0", "10.0", "49155.0", "17.0"}},
                      SumsCase{"unreadableCountsZero", unreadable(), {"1.5", "0.0", "0.0", "0.0", "0.0", "2.0"}},
                      SumsCase{"longTextsAndRounding", longTexts(), {"0.0", "0.0", "0.0", "0.1", "135.3", "0.0"}}),
    [](const ::testing::TestParamInfo<SumsCase>& info) { return std::string(info.param.name); });

}  // namespace
