#include "entry/RealEntry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qv;

namespace {

struct ParseCase {
    const char16_t* text;
    double value;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << QString::fromUtf16(c.text).toStdString() << '"'; }

class ParseRealTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseRealTable, ReadsTheGrammar)
{
    const ParseCase c = GetParam();
    const double v = ParseReal(QString::fromUtf16(c.text));
    EXPECT_DOUBLE_EQ(v, c.value) << QString::fromUtf16(c.text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Examples, ParseRealTable,
                         ::testing::Values(ParseCase{u"12.0", 12.0}, ParseCase{u"", 0.0}, ParseCase{u"abc", 0.0},
                                           ParseCase{u" 7", 7.0}, ParseCase{u"   7", 7.0}, ParseCase{u"7 ", 0.0},
                                           ParseCase{u"1e2", 100.0}, ParseCase{u"1E-1", 0.1}, ParseCase{u"-", 0.0},
                                           ParseCase{u"-.5", -0.5}, ParseCase{u".5", 0.5}, ParseCase{u"5.", 5.0},
                                           ParseCase{u".", 0.0}, ParseCase{u"-.", 0.0}, ParseCase{u"+3", 3.0},
                                           ParseCase{u"+", 0.0}, ParseCase{u"1e", 0.0}, ParseCase{u"1e+", 0.0},
                                           ParseCase{u"007", 7.0}, ParseCase{u"-3.5", -3.5}, ParseCase{u".-5", 0.0},
                                           ParseCase{u"5-", 0.0}, ParseCase{u"1.2.3", 0.0}, ParseCase{u"1,5", 0.0},
                                           ParseCase{u"\t7", 0.0}, ParseCase{u"1e999", 0.0}, ParseCase{u"1234.0", 1234.0},
                                           ParseCase{u"12.25", 12.25}, ParseCase{u"5.e1", 50.0}));

TEST(ParseReal, NegativeZeroKeepsItsSign)
{
    EXPECT_TRUE(std::signbit(ParseReal(QStringLiteral("-0.0"))));
}

struct FormatCase {
    int width;
    int decimals;
    double value;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.width << ',' << c.decimals << ',' << c.value; }

class FormatRealTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatRealTable, RoundsTheExactBinaryValueHalvesAway)
{
    const FormatCase c = GetParam();
    EXPECT_EQ(FormatReal(c.width, c.decimals, c.value).toStdString(), c.text) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatRealTable,
    ::testing::Values(FormatCase{0, 1, 87, "87.0"}, FormatCase{0, 0, 64.28, "64"}, FormatCase{0, 1, -6.4, "-6.4"},
                      FormatCase{6, 1, 3.14159, "   3.1"}, FormatCase{0, 1, 2.25, "2.3"},
                      FormatCase{0, 1, -2.25, "-2.3"}, FormatCase{0, 0, 0.5, "1"}, FormatCase{0, 0, -0.5, "-1"},
                      FormatCase{0, 0, 1.5, "2"}, FormatCase{0, 0, 2.5, "3"}, FormatCase{0, 1, 0.15, "0.1"},
                      FormatCase{0, 1, 0.25, "0.3"}, FormatCase{0, 1, 0.35, "0.3"}, FormatCase{0, 1, -0.04, "-0.0"},
                      FormatCase{0, 1, 0.04, "0.0"}, FormatCase{0, 1, 0.0, "0.0"}, FormatCase{0, 1, 3.5, "3.5"},
                      FormatCase{0, 1, -0.75, "-0.8"}, FormatCase{0, 1, 12, "12.0"}, FormatCase{0, 0, 70.2, "70"},
                      FormatCase{0, 1, 99.95, "100.0"}, FormatCase{0, 1, 0.05, "0.1"}, FormatCase{0, 2, 1.005, "1.00"},
                      FormatCase{0, 2, 1.125, "1.13"}, FormatCase{0, 0, 12345678, "12345678"},
                      FormatCase{3, 0, 7, "  7"}, FormatCase{2, 1, 123.4, "123.4"}, FormatCase{0, 1, 1e20, "100000000000000000000.0"},
                      FormatCase{0, 1, 91.25, "91.3"}, FormatCase{0, 1, -91.25, "-91.3"}));

// A sum of one-decimal texts lands on the binary neighbour of the half, not the half itself.
TEST(FormatReal, ChainedSumsRoundAsTheirBinaryValue)
{
    const double sum = ParseReal(QStringLiteral("0.1")) + ParseReal(QStringLiteral("0.2"));  // 0.30000000000000004
    EXPECT_EQ(FormatReal(0, 1, sum).toStdString(), "0.3");
    const double half = ParseReal(QStringLiteral("1.2")) + ParseReal(QStringLiteral("1.05"));  // 2.25 below or above
    EXPECT_EQ(FormatReal(0, 1, half).toStdString(), (1.2 + 1.05 >= 2.25 ? "2.3" : "2.2"));
}

struct KeyCase {
    const char16_t* text;
    RealFamily family;
    char16_t key;
    KeyVerdict::Kind kind;
    char16_t inserted;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << '"' << QString::fromUtf16(c.text).toStdString() << "\" key " << int(c.key);
}

class FilterRealKeyTable : public ::testing::TestWithParam<KeyCase> {};

TEST_P(FilterRealKeyTable, DecidesEachCharacter)
{
    const KeyCase c = GetParam();
    const KeyVerdict v = FilterRealKey(QString::fromUtf16(c.text), c.family, QChar(c.key));
    EXPECT_EQ(v.kind, c.kind) << "text '" << QString::fromUtf16(c.text).toStdString() << "' key " << int(c.key);
    if (c.kind == KeyVerdict::Accept) {
        EXPECT_EQ(v.ch, QChar(c.inserted));
    }
}

constexpr auto P = RealFamily::Positive;
constexpr auto S = RealFamily::Signed;
constexpr auto A = KeyVerdict::Accept;
constexpr auto D = KeyVerdict::Discard;
constexpr auto R = KeyVerdict::Refuse;

INSTANTIATE_TEST_SUITE_P(
    Rules, FilterRealKeyTable,
    ::testing::Values(KeyCase{u"1", P, u',', A, u'.'}, KeyCase{u"", P, u',', D, 0}, KeyCase{u"", P, u'.', D, 0},
                      KeyCase{u"12", P, u'.', A, u'.'}, KeyCase{u"1.2", P, u'.', D, 0}, KeyCase{u"", P, u'7', A, u'7'},
                      KeyCase{u"", P, u'0', A, u'0'}, KeyCase{u"9", P, u'9', A, u'9'}, KeyCase{u"12", P, 8, A, 8},
                      KeyCase{u"", P, u'-', R, 0}, KeyCase{u"", S, u'-', A, u'-'}, KeyCase{u"2", S, u'-', D, 0},
                      KeyCase{u"-", S, u'.', A, u'.'}, KeyCase{u"-", S, u'-', D, 0}, KeyCase{u"", S, 13, R, 0},
                      KeyCase{u"", P, 13, R, 0}, KeyCase{u"", P, 27, R, 0}, KeyCase{u"", P, 22, R, 0},
                      KeyCase{u"", S, 3, R, 0}, KeyCase{u"", P, 24, R, 0}, KeyCase{u"", P, u'a', R, 0},
                      KeyCase{u"", S, u'e', R, 0}, KeyCase{u"", P, u' ', R, 0}, KeyCase{u"", P, u'+', R, 0},
                      KeyCase{u"1.", S, u',', D, 0}));

TEST(FilterRealKey, RefusalTextsNameTheFamily)
{
    EXPECT_EQ(RealRefusalText(P), QStringLiteral("Este campo só admite valores REAIS POSITIVOS!"));
    EXPECT_EQ(RealRefusalText(S), QStringLiteral("Este campo só admite valores REAIS!"));
}

struct NormaliseCase {
    const char16_t* before;
    RealFamily family;
    const char16_t* after;
};

void PrintTo(const NormaliseCase& c, std::ostream* os) { *os << '"' << QString::fromUtf16(c.before).toStdString() << '"'; }

class NormaliseTable : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(NormaliseTable, CompletesTheText)
{
    const NormaliseCase c = GetParam();
    EXPECT_EQ(NormaliseRealText(QString::fromUtf16(c.before), c.family), QString::fromUtf16(c.after))
        << QString::fromUtf16(c.before).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Examples, NormaliseTable,
                         ::testing::Values(NormaliseCase{u"12.", P, u"12.0"}, NormaliseCase{u".", P, u".0"},
                                           NormaliseCase{u"-.", S, u"-.0"}, NormaliseCase{u".5", P, u".5"},
                                           NormaliseCase{u"12.25", P, u"12.25"}, NormaliseCase{u"12", P, u"12.0"},
                                           NormaliseCase{u"-3", S, u"-3.0"}, NormaliseCase{u"007", P, u"007.0"},
                                           NormaliseCase{u"1234", P, u"1234.0"}, NormaliseCase{u"-", S, u""},
                                           NormaliseCase{u"-", P, u"-.0"}, NormaliseCase{u"", S, u""},
                                           NormaliseCase{u"", P, u""}, NormaliseCase{u".-5", S, u".-50"},
                                           NormaliseCase{u"-.5", S, u"-.5"}, NormaliseCase{u"1.5", S, u"1.5"}));

TEST(ExtraLeaveRules, CurveOfSpeeIsForcedNegative)
{
    EXPECT_EQ(ForceNegative(NormaliseRealText(QStringLiteral("3"), S)), QStringLiteral("-3.0"));
    EXPECT_EQ(ForceNegative(NormaliseRealText(QStringLiteral("-3"), S)), QStringLiteral("-3.0"));
    EXPECT_EQ(ForceNegative(NormaliseRealText(QStringLiteral("0"), S)), QStringLiteral("-0.0"));
    EXPECT_EQ(ForceNegative(NormaliseRealText(QStringLiteral("2"), S)), QStringLiteral("-2.0"));
    EXPECT_EQ(ForceNegative(NormaliseRealText(QStringLiteral("-"), S)), QString());
}

TEST(ExtraLeaveRules, MolarCorrectionWarnsByClass)
{
    const QString negativa = QStringLiteral("Para Classe II, Correção Molar deveria ser NEGATIVA!");
    const QString positiva = QStringLiteral("Para Classe III, Correção Molar deveria ser POSITIVA!");
    EXPECT_EQ(MolarCorrectionWarning(QStringLiteral("2.0"), true, false), negativa);
    EXPECT_EQ(MolarCorrectionWarning(QStringLiteral("-2.0"), true, false), QString());
    EXPECT_EQ(MolarCorrectionWarning(QStringLiteral("-2.0"), false, true), positiva);
    EXPECT_EQ(MolarCorrectionWarning(QStringLiteral("2.0"), false, true), QString());
    EXPECT_EQ(MolarCorrectionWarning(QStringLiteral("2.0"), false, false), QString());
    EXPECT_EQ(MolarCorrectionWarning(QString(), true, false), QString());
    EXPECT_EQ(MolarCorrectionWarning(QString(), false, true), QString());
}

TEST(FilterIntegerKey, DigitsAndBackspaceOnly)
{
    for (char16_t c = u'0'; c <= u'9'; ++c)
        EXPECT_EQ(FilterIntegerKey(QChar(c)).kind, A);
    EXPECT_EQ(FilterIntegerKey(QChar(8)).kind, A);
    for (char16_t c : {u'.', u',', u'-', u'a', u' ', char16_t(13)})
        EXPECT_EQ(FilterIntegerKey(QChar(c)).kind, R) << int(c);
    EXPECT_EQ(IntegerRefusalText(), QStringLiteral("Este campo só admite valores INTEIROS POSITIVOS!"));
}

TEST(FilterNameKey, UpperCasesAndAcceptsLettersOfTheCodePage)
{
    struct Case {
        char16_t key;
        KeyVerdict::Kind kind;
        char16_t inserted;
    };
    const Case cases[] = {
        {u'a', A, u'A'},   {u'z', A, u'Z'},   {u'A', A, u'A'},   {u'é', A, u'É'},   {u'ç', A, u'Ç'},
        {u'à', A, u'À'},   {u'ä', A, u'Ä'},   {u'ñ', A, u'Ñ'},   {u'ü', A, u'Ü'},   {u'õ', A, u'Õ'},
        {u'ì', A, u'Ì'},   {u' ', A, u' '},   {u',', A, u','},   {8, A, 8},         {u'Ð', A, u'Ð'},
        {u'×', A, u'×'},   {u'Ø', A, u'Ø'},   {u'Ý', A, u'Ý'},   {u'À', A, u'À'},   {u'3', R, 0},
        {u'-', R, 0},      {u'.', R, 0},      {u'\'', R, 0},     {u'/', R, 0},      {u'\\', R, 0},
        {u'å', R, 0},      {u'æ', R, 0},      {u'ð', R, 0},      {u'÷', R, 0},      {u'ø', R, 0},
        {u'ý', R, 0},      {u'þ', R, 0},      {u'ÿ', R, 0},      {u'Þ', R, 0},      {u'ß', R, 0},
        {13, R, 0},        {22, R, 0},        {u'¿', R, 0},      {u'€', R, 0},
    };
    for (const Case& c : cases) {
        const KeyVerdict v = FilterNameKey(QChar(c.key));
        EXPECT_EQ(v.kind, c.kind) << int(c.key);
        if (c.kind == A) {
            EXPECT_EQ(v.ch, QChar(c.inserted)) << int(c.key);
        }
    }
    EXPECT_EQ(NameRefusalText(), QStringLiteral("Este campo só admite valores ALFABÉTICOS!"));
}

}  // namespace
