// The twelve measurements from constructed landmarks whose answers are known exactly, and the
// texts they become for the Tweed page.

#include "analysis/TracingGeometry.h"
#include "analysis/TracingValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

using namespace qv;
using L = Landmark;

namespace {

constexpr double kEps = 1e-9;
double deg(double radians) { return radians * 180.0 / std::numbers::pi; }
double rad(double degrees) { return degrees * std::numbers::pi / 180.0; }

// Points given in millimetres, stored as pixels of the given spacing.
struct Builder {
    double sx = 1, sy = 1;
    bool mirror = false;  // the face looks left: x runs the other way
    LandmarkSet points;
    Builder& at(L l, double x, double y)
    {
        points.set(l, QPointF((mirror ? 1000 - x : x) / sx, y / sy));
        return *this;
    }
    Calibration calibration() const { return {sx, sy}; }
    Measurements measure() const { return MeasureTracing(points, calibration()); }
};

// A 3-4-5 triangle: Frankfort along y = 100, the mandibular plane through P = (0, 100) along
// (4, 3), the incisor axis perpendicular to it through M = (400, 400).
void rightTriangle(Builder& b)
{
    b.at(L::Po, 50, 100).at(L::Or, 450, 100);
    b.at(L::Tg, 80, 160).at(L::Me, 400, 400);
    b.at(L::Ii, 550, 200).at(L::Ai, 430, 360);
}

// FMA, IMPA given: Frankfort along y = 300; the mandibular plane leaves Tg at FMA downwards;
// the incisor axis leaves M = Tg + 250 along the plane at IMPA from it.
void tweedTriangle(Builder& b, double fma, double impa)
{
    const double tx = 200, ty = 600;
    b.at(L::Po, 100, 300).at(L::Or, 400, 300);
    b.at(L::Tg, tx, ty).at(L::Me, tx + 300 * std::cos(rad(fma)), ty + 300 * std::sin(rad(fma)));
    const double mx = tx + 250 * std::cos(rad(fma)), my = ty + 250 * std::sin(rad(fma));
    // From M back towards Tg is direction fma + 180; the axis turns IMPA from it, upwards.
    const double axis = rad(fma + 180 + impa);
    b.at(L::Ai, mx + 20 * std::cos(axis), my + 20 * std::sin(axis));
    b.at(L::Ii, mx + 200 * std::cos(axis), my + 200 * std::sin(axis));
}

TEST(TweedTriangle, RightAngledAtTheIncisorBothWays)
{
    for (bool mirror : {false, true}) {
        Builder b;
        b.mirror = mirror;
        rightTriangle(b);
        const Measurements m = b.measure();
        EXPECT_NEAR(m[Measure::FMA].value, deg(std::atan2(3, 4)), kEps) << mirror;
        EXPECT_NEAR(m[Measure::IMPA].value, 90, kEps) << mirror;
        EXPECT_NEAR(m[Measure::FMIA].value, deg(std::atan2(4, 3)), kEps) << mirror;
        const TracingValues v = MakeTracingValues(m);
        EXPECT_EQ(v.fma, "36.9");
        EXPECT_EQ(v.impa, "90.0");
        EXPECT_EQ(v.fmia, "53.1");
    }
}

TEST(TweedTriangle, KnownAnglesAddUpTo180)
{
    struct Case {
        double fma, impa;
        const char *fmaText, *fmiaText, *impaText;
    };
    const Case cases[] = {
        {25, 90, "25.0", "65.0", "90.0"},
        {18.5, 92, "18.5", "69.5", "92.0"},
        {32, 85, "32.0", "63.0", "85.0"},
        // Rounded FMA and IMPA leave FMIA its share of 180, not its own rounding (64.9).
        {25.04, 90.04, "25.0", "65.0", "90.0"},
    };
    for (const Case& c : cases)
        for (bool mirror : {false, true}) {
            Builder b;
            b.mirror = mirror;
            tweedTriangle(b, c.fma, c.impa);
            const Measurements m = b.measure();
            EXPECT_NEAR(m[Measure::FMA].value, c.fma, kEps);
            EXPECT_NEAR(m[Measure::IMPA].value, c.impa, kEps);
            EXPECT_NEAR(m[Measure::FMIA].value, 180 - c.fma - c.impa, kEps);
            const TracingValues v = MakeTracingValues(m);
            EXPECT_EQ(v.fma, c.fmaText) << c.fma;
            EXPECT_EQ(v.fmia, c.fmiaText) << c.fma;
            EXPECT_EQ(v.impa, c.impaText) << c.fma;
        }
}

TEST(TweedTriangle, ParallelOrConcurrentLinesLeaveItEmpty)
{
    const std::function<void(Builder&)> shapes[] = {
        [](Builder& b) {  // mandibular plane parallel to Frankfort
            rightTriangle(b);
            b.at(L::Tg, 80, 400).at(L::Me, 400, 400);
        },
        [](Builder& b) {  // incisor axis parallel to Frankfort
            rightTriangle(b);
            b.at(L::Ii, 550, 380).at(L::Ai, 430, 380);
        },
        [](Builder& b) {  // incisor axis parallel to the mandibular plane
            rightTriangle(b);
            b.at(L::Ii, 480, 460).at(L::Ai, 400 + 40, 430);
        },
        [](Builder& b) {  // all three through one point
            rightTriangle(b);
            b.at(L::Ii, 100, 40).at(L::Ai, 0, 100);
        },
        [](Builder& b) {  // Po and Or on the same spot
            rightTriangle(b);
            b.at(L::Or, 50, 100);
        },
    };
    for (size_t i = 0; i < std::size(shapes); ++i) {
        Builder b;
        shapes[i](b);
        const Measurements m = b.measure();
        for (Measure k : {Measure::FMA, Measure::FMIA, Measure::IMPA})
            EXPECT_EQ(m[k].status, MeasureResult::Undefined) << i;
        const TracingValues v = MakeTracingValues(m);
        EXPECT_TRUE(v.fma.isEmpty() && v.fmia.isEmpty() && v.impa.isEmpty()) << i;
        EXPECT_EQ(StatusText(m[Measure::FMA], Measure::FMA, b.points), "indefinida");  // as every table words it
    }
}

TEST(Spacing, AnglesAndDistancesAreTakenInMillimetres)
{
    // The same face in millimetres on pixels four times as tall as wide.
    Builder mm;
    Builder px;
    px.sx = 0.1;
    px.sy = 0.4;
    for (Builder* b : {&mm, &px}) {
        tweedTriangle(*b, 25, 90);
        b->at(L::ENA, 700, 320).at(L::ENP, 300, 320).at(L::S, 100, 100).at(L::N, 600, 100);
        b->at(L::A, 600 - 60 * std::cos(rad(82)), 100 + 60 * std::sin(rad(82)));
    }
    const Measurements a = mm.measure(), b = px.measure();
    for (int i = 0; i < kMeasureCount; ++i) {
        EXPECT_EQ(a.results[size_t(i)].status, b.results[size_t(i)].status) << i;
        EXPECT_NEAR(a.results[size_t(i)].value, b.results[size_t(i)].value, 1e-7) << i;
    }
    EXPECT_NEAR(b[Measure::FMA].value, 25, kEps);
    EXPECT_NEAR(b[Measure::SNA].value, 82, kEps);
    EXPECT_NEAR(b[Measure::AFA].value, 600 + 300 * std::sin(rad(25)) - 320, 1e-9);
    // Read as square pixels the same points give other angles: the spacing really is used.
    EXPECT_GT(std::abs(MeasureTracing(px.points, Calibration::none())[Measure::FMA].value - 25), 1);
}

TEST(Spacing, WithoutCalibrationAnglesStayAndDistancesWait)
{
    Builder b;
    tweedTriangle(b, 25, 90);
    b.at(L::S, 100, 100).at(L::N, 600, 100).at(L::A, 590, 160).at(L::B, 585, 260);
    b.at(L::OclP, 300, 400).at(L::OclA, 560, 420).at(L::ENA, 620, 300).at(L::ENP, 300, 310);
    b.at(L::Ar, 200, 280).at(L::Rp, 210, 500).at(L::Is, 600, 380).at(L::Ls, 640, 370);
    b.at(L::Li, 635, 430).at(L::PogSoft, 620, 560);
    const Measurements m = MeasureTracing(b.points, Calibration::none());
    for (const TracingField& f : TracingFields())
        EXPECT_EQ(m[f.measure].status, IsDistance(f.measure) ? MeasureResult::Uncalibrated : MeasureResult::Value)
            << f.tweed->objectName;
    EXPECT_EQ(StatusText(m[Measure::AFA], Measure::AFA, b.points), "sem calibração");
}

TEST(Spacing, AbsurdSpacingsAndFarPointsGiveNoValueNeverInfinity)
{
    // Found by fuzzing: a spacing near zero or enormous, or one point very far away.
    const struct {
        Calibration c;
        L far;
        double at;  // where the far point goes along both axes, in pixels
    } cases[] = {
        {{1e-300, 1e-300}, L::Po, 50}, {{1e300, 1e300}, L::Po, 50},   {{0.1, 0.1}, L::Ar, 1e300},
        {{0.1, 0.1}, L::Or, -1e300},   {{0.1, 1e-300}, L::OclA, 1e200}, {{1e300, 0.1}, L::Rp, 7},
    };
    for (const auto& c : cases) {
        Builder b;
        rightTriangle(b);
        b.at(L::OclP, 300, 230).at(L::OclA, 460, 225).at(L::Ar, 120, 120).at(L::Rp, 110, 300);
        b.points.set(c.far, QPointF(c.at, c.at));
        const Measurements m = MeasureTracing(b.points, c.c);
        for (int i = 0; i < kMeasureCount; ++i)
            EXPECT_TRUE(!m.results[size_t(i)].ok() || std::isfinite(m.results[size_t(i)].value))
                << i << " spacing " << c.c.sx << " far " << LandmarkCode(c.far).toStdString();
    }
    // A spacing no radiograph has is no calibration: the distances wait for one.
    EXPECT_FALSE((Calibration{1e-300, 1e-300}).known());
    EXPECT_FALSE((Calibration{0.1, 1e300}).known());
    EXPECT_TRUE((Calibration{0.0001, 100}).known());
}

TEST(Missing, EachMeasurementWaitsForItsOwnPoints)
{
    LandmarkSet none;
    const Measurements m = MeasureTracing(none, {1, 1});
    for (const MeasureResult& r : m.results)
        EXPECT_EQ(r.status, MeasureResult::Missing);
    EXPECT_EQ(StatusText(m[Measure::SNA], Measure::SNA, none), "falta S, N, A");
    LandmarkSet some;
    some.set(L::S, QPointF(0, 0));
    some.set(L::N, QPointF(10, 0));
    some.set(L::A, QPointF(10, 10));
    const Measurements m2 = MeasureTracing(some, {1, 1});
    EXPECT_TRUE(m2[Measure::SNA].ok());
    EXPECT_NEAR(m2[Measure::SNA].value, 90, kEps);
    EXPECT_EQ(StatusText(m2[Measure::SNB], Measure::SNB, some), "falta B");
    EXPECT_EQ(some.firstMissing(), L::Po);
}

TEST(Cranial, SnaSnbAndOcclusalPlaneBothWays)
{
    for (bool mirror : {false, true}) {
        Builder b;
        b.mirror = mirror;
        b.at(L::S, 100, 100).at(L::N, 600, 100);
        b.at(L::A, 600 - 60 * std::cos(rad(82)), 100 + 60 * std::sin(rad(82)));
        b.at(L::B, 600 - 150 * std::cos(rad(78.5)), 100 + 150 * std::sin(rad(78.5)));
        b.at(L::Po, 100, 300).at(L::Or, 400, 300);
        // Occlusal plane rising 10 degrees towards the front, and one falling 170 the other way.
        b.at(L::OclP, 300, 420).at(L::OclA, 300 + 200 * std::cos(rad(10)), 420 - 200 * std::sin(rad(10)));
        const Measurements m = b.measure();
        EXPECT_NEAR(m[Measure::SNA].value, 82, kEps);
        EXPECT_NEAR(m[Measure::SNB].value, 78.5, kEps);
        EXPECT_NEAR(m[Measure::PlOcl].value, 10, kEps);
        b.at(L::OclP, 300 + 200 * std::cos(rad(10)), 420 - 200 * std::sin(rad(10))).at(L::OclA, 300, 420);
        EXPECT_NEAR(b.measure()[Measure::PlOcl].value, 10, kEps);
        const TracingValues v = MakeTracingValues(m);
        EXPECT_EQ(v.sna, "82.0");
        EXPECT_EQ(v.snb, "78.5");
    }
}

TEST(Wits, SignFollowsTheOcclusalPlaneDirection)
{
    struct Case {
        QPointF oclP, oclA, a, b;
        double expected;
    };
    const Case cases[] = {
        {{10, 50}, {60, 50}, {40, 30}, {35, 70}, 5},      // A's foot ahead of B's: positive
        {{10, 50}, {60, 50}, {35, 30}, {40, 70}, -5},     // behind: negative
        {{60, 50}, {10, 50}, {40, 30}, {35, 70}, -5},     // the plane drawn the other way round
        {{0, 0}, {40, 30}, {20, -10}, {0, 25}, -5},       // tilted plane: feet at 10 and 15
        {{0, 0}, {40, 30}, {0, 25}, {20, -10}, 5},
        {{10, 50}, {60, 50}, {40, 30}, {40, 70}, 0},
    };
    for (const Case& c : cases) {
        LandmarkSet p;
        p.set(L::OclP, c.oclP);
        p.set(L::OclA, c.oclA);
        p.set(L::A, c.a);
        p.set(L::B, c.b);
        const Measurements m = MeasureTracing(p, {0.5, 0.5});
        EXPECT_NEAR(m[Measure::AoBo].value, c.expected * 0.5, kEps) << c.expected;
    }
    LandmarkSet p;
    p.set(L::OclP, QPointF(10, 50));
    p.set(L::OclA, QPointF(60, 50));
    p.set(L::A, QPointF(40, 30));
    p.set(L::B, QPointF(35, 70));
    EXPECT_EQ(MakeTracingValues(MeasureTracing(p, {1, 1})).aoBo, "5.0");
    p.set(L::B, QPointF(42.25, 70));
    EXPECT_EQ(MakeTracingValues(MeasureTracing(p, {1, 1})).aoBo, "-2.3");  // half away from zero
    p.set(L::OclA, QPointF(10, 50));
    EXPECT_EQ(MeasureTracing(p, {1, 1})[Measure::AoBo].status, MeasureResult::Undefined);
}

TEST(AngleZ, TheMoreProtrusiveLipMakesTheProfileLine)
{
    struct Case {
        QPointF ls, li;
        double expected;
    };
    // Frankfort from Or (100, 0) back to Po (0, 0); Pog' at (90, 100).
    const Case cases[] = {
        {{100, 40}, {105, 60}, deg(std::atan2(40, 15))},  // lower lip ahead
        {{110, 40}, {95, 60}, deg(std::atan2(60, 20))},   // upper lip ahead
    };
    for (const Case& c : cases)
        for (bool mirror : {false, true}) {
            Builder b;
            b.mirror = mirror;
            b.at(L::Or, 100, 0).at(L::Po, 0, 0).at(L::PogSoft, 90, 100);
            b.at(L::Ls, c.ls.x(), c.ls.y()).at(L::Li, c.li.x(), c.li.y());
            EXPECT_NEAR(b.measure()[Measure::AngZ].value, c.expected, kEps) << mirror;
            const TracingConstruction k = ConstructTracing(b.points, b.calibration());
            ASSERT_TRUE(k.profileLip.has_value());
            EXPECT_EQ(*k.profileLip, b.points.at(c.ls.x() > c.li.x() ? L::Ls : L::Li));
        }
}

TEST(Heights, AfaToThePalatalPlaneAndAfpToTheGonion)
{
    struct Case {
        QPointF ena, enp, me;
        double afa;
    };
    const Case cases[] = {
        {{200, 100}, {100, 100}, {180, 170}, 70},
        {{0, 0}, {-40, -30}, {30, 60}, 30},   // tilted plane: |cross| / length
        {{0, 0}, {-40, -30}, {-30, -60}, 30}, // the other side: still a length
    };
    for (const Case& c : cases) {
        LandmarkSet p;
        p.set(L::ENA, c.ena);
        p.set(L::ENP, c.enp);
        p.set(L::Me, c.me);
        EXPECT_NEAR(MeasureTracing(p, {0.1, 0.1})[Measure::AFA].value, c.afa * 0.1, kEps);
    }
    Builder b;
    b.at(L::Ar, 50, 0).at(L::Rp, 50, 40).at(L::Tg, 70, 100).at(L::Me, 200, 100);
    EXPECT_NEAR(b.measure()[Measure::AFP].value, 100, kEps);
    EXPECT_EQ(ConstructTracing(b.points, b.calibration()).gonion, QPointF(50, 100));
    b.at(L::Rp, 150, 0);  // ramus tangent parallel to the mandibular plane
    EXPECT_EQ(b.measure()[Measure::AFP].status, MeasureResult::Undefined);
}

TEST(SoftTissue, LsAndQtAlongFrankfortBothWays)
{
    for (bool mirror : {false, true}) {
        Builder b;
        b.mirror = mirror;
        b.at(L::Po, 0, 0).at(L::Or, 100, 0);
        b.at(L::Is, 120, 80).at(L::Ls, 135, 78);
        b.at(L::N, 100, 0).at(L::B, 90, 100).at(L::PogSoft, 120, 120);
        const Measurements m = b.measure();
        EXPECT_NEAR(m[Measure::LS].value, 15, kEps) << mirror;
        EXPECT_NEAR(m[Measure::QT].value, 32, kEps) << mirror;  // N-B at y = 120 lies at x = 88
        b.at(L::Ls, 110, 78);                                   // lip behind the incisor
        EXPECT_NEAR(b.measure()[Measure::LS].value, -10, kEps) << mirror;
        EXPECT_EQ(MakeTracingValues(b.measure()).ls, "-10.0");
    }
}

TEST(Texts, OneDecimalNormalisedAsAFieldLeft)
{
    Measurements m;
    auto set = [&](Measure k, double v) { m[k] = {MeasureResult::Value, v}; };
    set(Measure::FMA, 22.25);
    set(Measure::IMPA, 95.75);
    set(Measure::FMIA, 61.999);
    set(Measure::QT, -0.04);
    set(Measure::AFA, 0.0);
    set(Measure::AFP, 123.25);
    const TracingValues v = MakeTracingValues(m);
    EXPECT_EQ(v.fma, "22.3");
    EXPECT_EQ(v.impa, "95.8");
    EXPECT_EQ(v.fmia, "61.9");  // 180 - 22.3 - 95.8
    EXPECT_EQ(v.qt, "-0.0");
    EXPECT_EQ(v.afa, "0.0");
    EXPECT_EQ(v.afp, "123.3");
    EXPECT_TRUE(v.sna.isEmpty());
    EXPECT_TRUE(v.ls.isEmpty());
}

TEST(Texts, FieldTableFollowsTheTweedPage)
{
    const char* names[] = {"twfma", "twfmia", "twimpa", "twploc", "twsna", "twsnb",
                           "twaobo", "twangz", "twls", "twqt", "twafa", "twafp"};
    for (int i = 0; i < kMeasureCount; ++i) {
        EXPECT_STREQ(TracingFields()[size_t(i)].tweed->objectName, names[i]);
        EXPECT_EQ(int(TracingFields()[size_t(i)].measure), i);
        const bool signedField = i == 6 || i == 8 || i == 9;
        EXPECT_EQ(TracingFields()[size_t(i)].family == RealFamily::Signed, signedField) << names[i];
    }
}

// Each measurement's field, caption and short caption come from the Tweed field table.
TEST(Texts, CaptionsAreTheTweedPagesCaptions)
{
    const std::pair<const char*, const char*> captions[] = {
        {"FMA (22° a 28°)", "FMA"},       {"FMIA (65° a 68°)", "FMIA"},   {"IMPA (88° a 94°)", "IMPA"},
        {"Pl. ocl. - Hf (8° a 12°)", "Pl. ocl. - Hf"}, {"SNA ( 80° a 84°)", "SNA"}, {"SNB (78° a 82°)", "SNB"},
        {"AO - BO ( 0 a 4 mm)", "AO - BO"}, {"Ang. Z ( 70° a 80°)", "Ang. Z"}, {"LS", "LS"},
        {"QT", "QT"},                     {"AFA", "AFA"},                 {"AFP", "AFP"}};
    for (int i = 0; i < kMeasureCount; ++i) {
        const TracingField& f = TracingFields()[size_t(i)];
        EXPECT_EQ(f.tweed, &TweedFieldOf(f.measure));
        EXPECT_EQ(f.caption(), QString::fromUtf8(captions[i].first));
        EXPECT_EQ(ShortCaption(f), QString::fromUtf8(captions[i].second));
    }
}

// APLICAR writes each measured text into its field and leaves the fields the tracing lacks.
TEST(Texts, ApplyingFillsOnlyTheMeasuredFields)
{
    struct Case {
        QString TracingValues::*measured;
        QString TweedSheet::*field;
    };
    const Case cases[] = {{&TracingValues::fma, &TweedSheet::twfma},   {&TracingValues::fmia, &TweedSheet::twfmia},
                          {&TracingValues::impa, &TweedSheet::twimpa}, {&TracingValues::plOcl, &TweedSheet::twploc},
                          {&TracingValues::sna, &TweedSheet::twsna},   {&TracingValues::snb, &TweedSheet::twsnb},
                          {&TracingValues::aoBo, &TweedSheet::twaobo}, {&TracingValues::angZ, &TweedSheet::twangz},
                          {&TracingValues::ls, &TweedSheet::twls},     {&TracingValues::qt, &TweedSheet::twqt},
                          {&TracingValues::afa, &TweedSheet::twafa},   {&TracingValues::afp, &TweedSheet::twafp}};
    TweedSheet typed;
    for (const Case& c : cases)
        typed.*(c.field) = QStringLiteral("1.0");
    typed.anaer = QStringLiteral("7.0");
    for (const Case& measured : cases) {
        TracingValues v;
        v.*(measured.measured) = QStringLiteral("-2.5");
        TweedSheet sheet = typed;
        ApplyTracingValues(v, sheet);
        TweedSheet expected = typed;
        expected.*(measured.field) = QStringLiteral("-2.5");
        EXPECT_EQ(sheet, expected) << (sheet.*(measured.field)).toStdString();
    }
    TweedSheet untouched = typed;
    ApplyTracingValues(TracingValues{}, untouched);
    EXPECT_EQ(untouched, typed);
}

}  // namespace
