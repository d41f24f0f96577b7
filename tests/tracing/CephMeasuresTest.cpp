// Every measurement of the cephalometric analyses on hand-made points whose answers are known,
// for a face looking right or left and for pixels that are not square; the clinic's norms file.

#include "analysis/CephMeasures.h"
#include "analysis/CephNorms.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include <cmath>
#include <numbers>

using namespace qv;
using L = Landmark;

namespace {

double deg(double radians) { return radians * 180.0 / std::numbers::pi; }

struct Pt {
    L l;
    double x, y;  // millimetres, face looking right (anterior = +x), y down
};

// The points of a case, stored as pixels of the given spacing; mirrored faces look left.
LandmarkSet place(std::initializer_list<Pt> pts, double sx, double sy, bool mirror)
{
    LandmarkSet set;
    const auto put = [&](Pt p) { set.set(p.l, QPointF((mirror ? 1000 - p.x : p.x) / sx, p.y / sy)); };
    put({L::S, 0, 0});
    put({L::N, 70, 0});
    for (const Pt& p : pts)
        put(p);
    return set;
}

// A right-angled Tweed triangle: FMA atan(3/4), IMPA 90.
const std::initializer_list<Pt> kTriangle = {{L::Po, 50, 100}, {L::Or, 450, 100}, {L::Tg, 80, 160},
                                             {L::Me, 400, 400}, {L::Ii, 550, 200}, {L::Ai, 430, 360}};

struct Case {
    Ceph measure;
    std::initializer_list<Pt> points;  // besides S (0, 0) and N (70, 0)
    double expected;
};

const double kFma = deg(std::atan2(3, 4));

const Case kCases[] = {
    {Ceph::SteinerSNA, {{L::A, 70, 50}}, 90},
    {Ceph::SteinerSNB, {{L::B, 20, 50}}, 45},
    {Ceph::SteinerANB, {{L::A, 70, 50}, {L::B, 20, 50}}, 45},
    {Ceph::Steiner1NAAngle, {{L::Is, 70, 50}, {L::As, 60, 40}, {L::A, 70, 60}}, 45},
    {Ceph::Steiner1NADistance, {{L::A, 70, 60}, {L::Is, 74, 50}}, 4},
    {Ceph::Steiner1NBAngle, {{L::Ii, 70, 60}, {L::Ai, 50, 80}, {L::B, 70, 90}}, 45},
    {Ceph::Steiner1NBDistance, {{L::B, 70, 90}, {L::Ii, 66, 60}}, -4},
    {Ceph::SteinerPogNB, {{L::B, 70, 90}, {L::Pog, 72, 100}}, 2},
    {Ceph::SteinerInterincisal, {{L::As, 60, 40}, {L::Is, 70, 50}, {L::Ai, 60, 80}, {L::Ii, 70, 70}}, 90},
    {Ceph::SteinerOcclusalSN, {{L::OclP, 10, 60}, {L::OclA, 60, 60}}, 0},
    {Ceph::SteinerOcclusalSN, {{L::OclP, 60, 60}, {L::OclA, 10, 10}}, 45},  // 135 between the rays
    {Ceph::SteinerGoGnSN, {{L::Go, 0, 80}, {L::Gn, 50, 130}}, 45},
    {Ceph::DownsFacial, {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Pog, 70, 100}}, 90},
    {Ceph::DownsConvexity, {{L::A, 72, 50}, {L::Pog, 70, 100}}, 2 * deg(std::atan(2.0 / 50))},
    {Ceph::DownsConvexity, {{L::A, 68, 50}, {L::Pog, 70, 100}}, -2 * deg(std::atan(2.0 / 50))},
    {Ceph::DownsABPlane, {{L::A, 72, 50}, {L::B, 70, 90}, {L::Pog, 70, 100}}, -deg(std::atan(2.0 / 40))},
    {Ceph::DownsABPlane, {{L::A, 70, 50}, {L::B, 72, 90}, {L::Pog, 70, 100}}, deg(std::atan(2.0 / 40))},
    {Ceph::DownsYAxis, {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Gn, 50, 50}}, 45},
    {Ceph::DownsOcclusalFH, {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::OclP, 10, 60}, {L::OclA, 60, 10}}, 45},
    {Ceph::DownsInterincisal, {{L::As, 60, 40}, {L::Is, 70, 50}, {L::Ai, 60, 80}, {L::Ii, 70, 70}}, 90},
    {Ceph::DownsFMA, kTriangle, kFma},
    {Ceph::DownsIncisorOcclusal, {{L::Ii, 70, 50}, {L::Ai, 60, 60}, {L::OclP, 10, 60}, {L::OclA, 60, 60}}, 45},
    {Ceph::DownsUpperIncisorAPog, {{L::A, 70, 50}, {L::Pog, 70, 100}, {L::Is, 73, 60}}, 3},
    {Ceph::DownsIncisorMandibular, kTriangle, 0},
    {Ceph::McNamaraCoA, {{L::Co, 10, 10}, {L::A, 40, 50}}, 50},
    {Ceph::McNamaraCoGn, {{L::Co, 10, 10}, {L::Gn, 70, 90}}, 100},
    {Ceph::McNamaraENAMe, {{L::ENA, 70, 40}, {L::Me, 70, 110}}, 70},
    {Ceph::McNamaraDifference, {{L::Co, 10, 10}, {L::A, 40, 50}, {L::Gn, 70, 90}}, 50},
    {Ceph::McNamaraANperp, {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::A, 72, 50}}, 2},
    {Ceph::McNamaraPogNperp, {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Pog, 66, 100}}, -4},
    {Ceph::McNamaraIncisorAVertical, {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::A, 70, 50}, {L::Is, 75, 60}}, 5},
    {Ceph::McNamaraLowerIncisorAPog, {{L::A, 70, 50}, {L::Pog, 70, 100}, {L::Ii, 72, 70}}, 2},
    {Ceph::JarabakSaddle, {{L::Ar, 0, 30}}, 90},
    {Ceph::JarabakArticular, {{L::Ar, 0, 30}, {L::Go, 30, 60}}, 135},
    {Ceph::JarabakGonial, {{L::Ar, 0, 30}, {L::Go, 0, 80}, {L::Me, 70, 80}}, 90},
    {Ceph::JarabakSum, {{L::Ar, 0, 30}, {L::Go, 0, 80}, {L::Me, 70, 80}}, 360},
    {Ceph::JarabakSN, {}, 70},
    {Ceph::JarabakSAr, {{L::Ar, 0, 30}}, 30},
    {Ceph::JarabakArGo, {{L::Ar, 0, 30}, {L::Go, 0, 80}}, 50},
    {Ceph::JarabakGoMe, {{L::Go, 0, 80}, {L::Me, 70, 80}}, 70},
    {Ceph::JarabakHeightRatio, {{L::Go, 0, 80}, {L::Me, 70, 100}}, 80},
    {Ceph::RickettsFacialAxis, {{L::Ba, -10, 40}, {L::Pt, 10, 20}, {L::Gn, 50, 100}}, 90},
    {Ceph::RickettsFacialAngle, {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Pog, 70, 100}}, 90},
    {Ceph::RickettsFMA, kTriangle, kFma},
    {Ceph::RickettsConvexity, {{L::A, 72, 50}, {L::Pog, 70, 100}}, 2},
    {Ceph::RickettsLowerIncisorAPog, {{L::A, 70, 50}, {L::Pog, 70, 100}, {L::Ii, 72, 70}}, 2},
    {Ceph::RickettsLowerIncisorAPogAngle, {{L::Ii, 70, 50}, {L::Ai, 60, 60}, {L::A, 70, 50}, {L::Pog, 70, 100}}, 45},
    {Ceph::RickettsLowerLipE, {{L::Prn, 95, 55}, {L::PogSoft, 95, 120}, {L::Li, 88, 95}}, -7},
    {Ceph::SoftNasolabial, {{L::Sn, 85, 68}, {L::Cm, 95, 68}, {L::Ls, 85, 78}}, 90},
    {Ceph::SoftUpperLipE, {{L::Prn, 95, 55}, {L::PogSoft, 95, 120}, {L::Ls, 91, 80}}, -4},
    {Ceph::SoftH, {{L::Ls, 94, 80}, {L::PogSoft, 90, 120}, {L::B, 70, 80}}, deg(std::atan(0.1))},
    {Ceph::SoftZ, {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Ls, 90, 80}, {L::Li, 70, 100}, {L::PogSoft, 50, 120}}, 45},
    {Ceph::WitsAoBo, {{L::OclP, 10, 60}, {L::OclA, 60, 60}, {L::A, 72, 50}, {L::B, 70, 90}}, 2},
    {Ceph::TweedFMA, kTriangle, kFma},
    {Ceph::TweedIMPA, kTriangle, 90},
    {Ceph::TweedFMIA, kTriangle, 90 - kFma},
};

TEST(CephMeasures, KnownAnswersWhicheverWayTheFaceLooksAndHoweverPixelsAreShaped)
{
    struct Spacing {
        double sx, sy;
    };
    for (const Case& c : kCases)
        for (bool mirror : {false, true})
            for (Spacing s : {Spacing{1, 1}, Spacing{0.1, 0.25}, Spacing{0.3, 0.07}}) {
                const CephValues v = MeasureCephalometrics(place(c.points, s.sx, s.sy, mirror), {s.sx, s.sy});
                const MeasureResult& r = v[c.measure];
                ASSERT_TRUE(r.ok()) << Caption(c.measure).toStdString() << " status " << r.status;
                EXPECT_NEAR(r.value, c.expected, 1e-9)
                    << Title(Info(c.measure).analysis).toStdString() << " " << Caption(c.measure).toStdString()
                    << (mirror ? " mirrored" : "") << " spacing " << s.sx << "," << s.sy;
            }
}

TEST(CephMeasures, WithoutCalibrationAnglesAndRatiosStayAndDistancesWait)
{
    for (const Case& c : kCases) {
        const CephValues v = MeasureCephalometrics(place(c.points, 1, 1, false), Calibration::none());
        const MeasureResult& r = v[c.measure];
        if (Info(c.measure).unit == CephUnit::Millimetre) {
            EXPECT_EQ(r.status, MeasureResult::Uncalibrated) << Caption(c.measure).toStdString();
        } else {
            ASSERT_TRUE(r.ok()) << Caption(c.measure).toStdString();
            EXPECT_NEAR(r.value, c.expected, 1e-9) << Caption(c.measure).toStdString();
        }
    }
}

TEST(CephMeasures, DegenerateLinesAreUndefinedNeverNan)
{
    const struct {
        Ceph measure;
        std::initializer_list<Pt> points;
    } cases[] = {
        {Ceph::Steiner1NAAngle, {{L::Is, 70, 50}, {L::As, 70, 50}, {L::A, 70, 60}}},      // a point for an axis
        {Ceph::Steiner1NADistance, {{L::A, 100, 0}, {L::Is, 74, 50}}},                   // N-A level: no anterior side
        {Ceph::Steiner1NADistance, {{L::A, 70, 0}, {L::Is, 74, 50}}},                    // A on N
        {Ceph::JarabakHeightRatio, {{L::Go, 0, 80}, {L::Me, 70, 0}}},                    // N-Me of no length
        {Ceph::McNamaraANperp, {{L::Po, 60, 30}, {L::Or, 60, 30}, {L::A, 72, 50}}},      // Frankfort a point
        {Ceph::SteinerGoGnSN, {{L::Go, 5, 80}, {L::Gn, 5, 80}}},
        {Ceph::DownsConvexity, {{L::A, 70, 50}, {L::Pog, 70, 0}}},                       // N-Pog a point
    };
    for (const auto& c : cases) {
        const CephValues v = MeasureCephalometrics(place(c.points, 0.1, 0.1, false), {0.1, 0.1});
        EXPECT_EQ(v[c.measure].status, MeasureResult::Undefined) << Caption(c.measure).toStdString();
    }
    // S straight above N leaves no anterior side for any signed distance.
    LandmarkSet vertical = place({{L::A, 70, 60}, {L::Is, 74, 50}}, 1, 1, false);
    vertical.set(L::N, QPointF(0, -70));
    EXPECT_EQ(MeasureCephalometrics(vertical, {1, 1})[Ceph::Steiner1NADistance].status, MeasureResult::Undefined);

    // Points on a coarse grid coincide and line up often: nothing may come out infinite or nan.
    QRandomGenerator rng(2026);
    for (int round = 0; round < 3000; ++round) {
        LandmarkSet s;
        for (int i = 0; i < kLandmarkCount; ++i)
            if (rng.bounded(6) != 0)
                s.set(LandmarkAt(i), QPointF(rng.bounded(4) * 10.0, rng.bounded(4) * 10.0));
        const CephValues v = MeasureCephalometrics(s, {0.1, 0.1});
        for (const MeasureResult& r : v.results)
            ASSERT_TRUE(!r.ok() || std::isfinite(r.value));
    }
}

TEST(CephMeasures, EachWaitsForItsOwnPointsAndNamesThem)
{
    const LandmarkSet some = place({{L::A, 70, 50}}, 1, 1, false);
    const CephValues v = MeasureCephalometrics(some, {1, 1});
    EXPECT_TRUE(v[Ceph::SteinerSNA].ok());
    EXPECT_EQ(v[Ceph::SteinerANB].status, MeasureResult::Missing);
    EXPECT_EQ(MissingLandmarks(Ceph::SteinerANB, some), std::vector<L>{L::B});
    EXPECT_EQ(MissingLandmarks(Ceph::McNamaraDifference, some), (std::vector<L>{L::Gn, L::Co}));
    // Signed distances need S and N for the anterior side; projections need Frankfort.
    EXPECT_EQ(RequiredLandmarks(Ceph::RickettsLowerLipE), (std::vector<L>{L::S, L::N, L::Li, L::PogSoft, L::Prn}));
    EXPECT_EQ(RequiredLandmarks(Ceph::McNamaraANperp), (std::vector<L>{L::N, L::Po, L::Or, L::A}));
    EXPECT_EQ(RequiredLandmarks(Ceph::JarabakSum), (std::vector<L>{L::S, L::N, L::Ar, L::Me, L::Go}));
}

TEST(CephMeasures, PlacingOrderAsksOnlyForWhatTheChosenAnalysesNeed)
{
    const CephAnalysis tweed[] = {CephAnalysis::Tweed};
    std::vector<L> twenty;
    for (int i = 0; i < kTweedLandmarkCount; ++i)
        twenty.push_back(LandmarkAt(i));
    EXPECT_EQ(LandmarksFor(tweed), twenty);

    const CephAnalysis soft[] = {CephAnalysis::SoftTissue};
    EXPECT_EQ(LandmarksFor(soft), (std::vector<L>{L::S, L::N, L::Po, L::Or, L::B, L::Ls, L::Li, L::PogSoft, L::Prn,
                                                  L::Sn, L::Cm}));
    std::vector<CephAnalysis> every;
    for (int i = 0; i < kCephAnalysisCount; ++i)
        every.push_back(CephAnalysis(i));
    EXPECT_EQ(LandmarksFor(every).size(), size_t(kLandmarkCount));  // every landmark serves some analysis
    EXPECT_EQ(LandmarkSet().firstMissing(LandmarksFor(soft)), L::S);
}

TEST(CephMeasures, CatalogueIsGroupedAndEveryCaptionOncePerAnalysis)
{
    int total = 0;
    for (int a = 0; a < kCephAnalysisCount; ++a) {
        QStringList captions;
        for (Ceph m : MeasuresOf(CephAnalysis(a))) {
            EXPECT_EQ(Info(m).analysis, CephAnalysis(a));
            EXPECT_EQ(Info(m).key, m);
            EXPECT_FALSE(captions.contains(Caption(m))) << Caption(m).toStdString();
            captions << Caption(m);
            ++total;
        }
    }
    EXPECT_EQ(total, kCephCount);
    EXPECT_EQ(MeasuresOf(CephAnalysis::Tweed).size(), size_t(kMeasureCount));
}

// --- norms ---

TEST(CephNorms, DefaultsRoundTripAndEditsSurvive)
{
    EXPECT_EQ(DecodeNorms(EncodeNorms(CephNorms::defaults())).norms, CephNorms::defaults());
    CephNorms edited = CephNorms::defaults();
    edited.set(Ceph::DownsFMA, CephNorm{24.5, 4.25});
    edited.set(Ceph::SteinerSNA, std::nullopt);
    edited.set(Ceph::SteinerPogNB, CephNorm{-1, 1.5});
    const DecodedNorms back = DecodeNorms(EncodeNorms(edited));
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    EXPECT_EQ(back.norms, edited);
    // The same name in two analyses keeps two norms.
    EXPECT_EQ(back.norms[Ceph::RickettsFMA], (CephNorm{26, 4.5}));
}

TEST(CephNorms, BrokenFilesAreRefusedWithTheLineAndTheDefaultsHold)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "linha 1: o arquivo está vazio"},
        {"[]", "linha 1: não é um arquivo de normas"},
        {"{\n \"formato\": \"quorvel-normas\",\n \"versao\": 1,\n \"normas\": {\n", "linha 5: objeto sem \"}\" de fechamento"},
        {"{\"formato\": \"outro\"}", "linha 1: não é um arquivo de normas"},
        {"{\"formato\": \"quorvel-normas\",\n\"versao\": 2, \"normas\": {}}", "linha 2: versão desconhecida"},
        {"{\"formato\": \"quorvel-normas\", \"versao\": 1,\n\"normas\": {\n\"Steiner\": {\n\"SNA\": {\"media\": 82}}}}",
         "linha 4: Steiner SNA: esperado {\"media\": número, \"dp\": número} ou null"},
        {"{\"formato\": \"quorvel-normas\", \"versao\": 1,\n\"normas\": {\n\"Steiner\": {\n\"SNA\": {\"media\": 82, \"dp\": 0}}}}",
         "linha 4: Steiner SNA: a média deve estar"},
        {"{\"formato\": \"quorvel-normas\", \"versao\": 1,\n\"normas\": {\n\"Steiner\": {\n\"SNA\": {\"media\": 1e308, \"dp\": 2}}}}",
         "linha 4: Steiner SNA: a média deve estar"},
        {"{\"formato\": \"quorvel-normas\", \"versao\": 1,\n\"normas\": {\n\"Steiner\": {\n\n\"XYZ\": null}}}",
         "linha 5: medida desconhecida em Steiner: \"XYZ\""},
        {"{\"formato\": \"quorvel-normas\", \"versao\": 1,\n\"normas\": {\"Bjork\": {}}}", "linha 2: análise desconhecida: \"Bjork\""},
        {"{\"formato\": \"quorvel-normas\", \"versao\": 1, \"normas\": [1]}", "linha 1: \"normas\" deve ser um objeto"},
    };
    for (const auto& c : cases) {
        const DecodedNorms d = DecodeNorms(QByteArray(c.text));
        EXPECT_TRUE(d.error.startsWith(QString::fromUtf8(c.error))) << c.text << "\n -> " << d.error.toStdString();
        EXPECT_EQ(d.norms, CephNorms::defaults());
    }
}

TEST(CephNorms, DeviationAsTheClinicianReadsTheShownValue)
{
    const struct {
        double value;
        CephNorm norm;
        Deviation::Level level;
        const char* text;
    } cases[] = {
        {84.0, {82, 2}, Deviation::Within, "+1.00 DP"},
        {84.04, {82, 2}, Deviation::Within, "+1.00 DP"},   // shown as 84.0
        {84.06, {82, 2}, Deviation::Beyond1, "+1.05 DP"},  // shown as 84.1: outside 80-84
        {86.0, {82, 2}, Deviation::Beyond1, "+2.00 DP"},
        {86.1, {82, 2}, Deviation::Beyond2, "+2.05 DP"},
        {91.4, {87.8, 3.6}, Deviation::Within, "+1.00 DP"},  // 3.6 away, a hair more in binary
        {80.6, {87.8, 3.6}, Deviation::Beyond1, "-2.00 DP"},
        {80.5, {87.8, 3.6}, Deviation::Beyond2, "-2.03 DP"},
        {-4.6, {-4.6, 3.7}, Deviation::Within, "0.00 DP"},
        {-4.61, {-4.6, 3.7}, Deviation::Within, "0.00 DP"},
    };
    for (const auto& c : cases) {
        const auto d = DeviationOf(c.value, c.norm);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->level, c.level) << c.value;
        EXPECT_EQ(DeviationText(*d), QString::fromUtf8(c.text)) << c.value;
    }
    EXPECT_FALSE(DeviationOf(10, std::nullopt));
    EXPECT_FALSE(DeviationOf(std::nan(""), CephNorm{1, 1}));
    EXPECT_EQ(NormText(CephNorm{87.8, 3.6}), QString::fromUtf8("87.8 ± 3.6"));
}

}  // namespace
