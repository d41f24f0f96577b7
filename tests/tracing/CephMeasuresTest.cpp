// Every measurement of the cephalometric analyses on hand-made points whose answers are known,
// for a face looking right or left and for pixels that are not square; the clinic's norms file.

#include "analysis/AnalysisCatalogue.h"
#include "analysis/CephMeasures.h"
#include "analysis/CephNorms.h"
#include "records/TweedModel.h"
#include "tracing/CephKeys.h"

#include "FacePoints.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include <cmath>
#include <numbers>
#include <span>

using namespace qv;
using namespace qv::test;
using L = Landmark;

namespace {

// The points of a case besides S (0, 0) and N (70, 0).
LandmarkSet place(std::initializer_list<Pt> pts, double sx, double sy, bool mirror)
{
    return PlaceFace({{L::S, 0, 0}, {L::N, 70, 0}}, pts, sx, sy, mirror);
}

// A right-angled Tweed triangle: FMA atan(3/4), IMPA 90.
const std::initializer_list<Pt> kTriangle = {{L::Po, 50, 100}, {L::Or, 450, 100}, {L::Tg, 80, 160},
                                             {L::Me, 400, 400}, {L::Ii, 550, 200}, {L::Ai, 430, 360}};

struct Case {
    CephKey measure;
    std::initializer_list<Pt> points;  // besides S (0, 0) and N (70, 0)
    double expected;
};

const double kFma = deg(std::atan2(3, 4));

// Read at first use: the keys name measures of the shipped definitions.
std::span<const Case> cases()
{
    static const Case kCases[] = {
    {K("Steiner", "SNA"), {{L::A, 70, 50}}, 90},
    {K("Steiner", "SNB"), {{L::B, 20, 50}}, 45},
    {K("Steiner", "ANB"), {{L::A, 70, 50}, {L::B, 20, 50}}, 45},
    {K("Steiner", "1.NA"), {{L::Is, 70, 50}, {L::As, 60, 40}, {L::A, 70, 60}}, 45},
    {K("Steiner", "1-NA"), {{L::A, 70, 60}, {L::Is, 74, 50}}, 4},
    {K("Steiner", "1.NB"), {{L::Ii, 70, 60}, {L::Ai, 50, 80}, {L::B, 70, 90}}, 45},
    {K("Steiner", "1-NB"), {{L::B, 70, 90}, {L::Ii, 66, 60}}, -4},
    {K("Steiner", "Pog-NB"), {{L::B, 70, 90}, {L::Pog, 72, 100}}, 2},
    {K("Steiner", "1.1 interincisivo"), {{L::As, 60, 40}, {L::Is, 70, 50}, {L::Ai, 60, 80}, {L::Ii, 70, 70}}, 90},
    {K("Steiner", "Ocl.SN"), {{L::OclP, 10, 60}, {L::OclA, 60, 60}}, 0},
    {K("Steiner", "Ocl.SN"), {{L::OclP, 60, 60}, {L::OclA, 10, 10}}, 45},  // 135 between the rays
    {K("Steiner", "GoGn.SN"), {{L::Go, 0, 80}, {L::Gn, 50, 130}}, 45},
    {K("Downs", "ângulo facial"), {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Pog, 70, 100}}, 90},
    {K("Downs", "convexidade"), {{L::A, 72, 50}, {L::Pog, 70, 100}}, 2 * deg(std::atan(2.0 / 50))},
    {K("Downs", "convexidade"), {{L::A, 68, 50}, {L::Pog, 70, 100}}, -2 * deg(std::atan(2.0 / 50))},
    {K("Downs", "plano AB"), {{L::A, 72, 50}, {L::B, 70, 90}, {L::Pog, 70, 100}}, -deg(std::atan(2.0 / 40))},
    {K("Downs", "plano AB"), {{L::A, 70, 50}, {L::B, 72, 90}, {L::Pog, 70, 100}}, deg(std::atan(2.0 / 40))},
    {K("Downs", "eixo Y"), {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Gn, 50, 50}}, 45},
    {K("Downs", "plano oclusal-FH"), {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::OclP, 10, 60}, {L::OclA, 60, 10}}, 45},
    {K("Downs", "1.1 interincisivo"), {{L::As, 60, 40}, {L::Is, 70, 50}, {L::Ai, 60, 80}, {L::Ii, 70, 70}}, 90},
    {K("Downs", "FMA"), kTriangle, kFma},
    {K("Downs", "1.plano oclusal"), {{L::Ii, 70, 50}, {L::Ai, 60, 60}, {L::OclP, 10, 60}, {L::OclA, 60, 60}}, 45},
    {K("Downs", "1s-APog"), {{L::A, 70, 50}, {L::Pog, 70, 100}, {L::Is, 73, 60}}, 3},
    {K("Downs", "1.PM"), kTriangle, 0},
    {K("McNamara", "Co-A"), {{L::Co, 10, 10}, {L::A, 40, 50}}, 50},
    {K("McNamara", "Co-Gn"), {{L::Co, 10, 10}, {L::Gn, 70, 90}}, 100},
    {K("McNamara", "ENA-Me"), {{L::ENA, 70, 40}, {L::Me, 70, 110}}, 70},
    {K("McNamara", "diferença maxilomandibular"), {{L::Co, 10, 10}, {L::A, 40, 50}, {L::Gn, 70, 90}}, 50},
    {K("McNamara", "A-Nperp"), {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::A, 72, 50}}, 2},
    {K("McNamara", "Pog-Nperp"), {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Pog, 66, 100}}, -4},
    {K("McNamara", "1-A vertical"), {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::A, 70, 50}, {L::Is, 75, 60}}, 5},
    {K("McNamara", "1i-APog"), {{L::A, 70, 50}, {L::Pog, 70, 100}, {L::Ii, 72, 70}}, 2},
    {K("Jarabak", "ângulo sela"), {{L::Ar, 0, 30}}, 90},
    {K("Jarabak", "ângulo articular"), {{L::Ar, 0, 30}, {L::Go, 30, 60}}, 135},
    {K("Jarabak", "ângulo goníaco"), {{L::Ar, 0, 30}, {L::Go, 0, 80}, {L::Me, 70, 80}}, 90},
    {K("Jarabak", "soma"), {{L::Ar, 0, 30}, {L::Go, 0, 80}, {L::Me, 70, 80}}, 360},
    {K("Jarabak", "S-N"), {}, 70},
    {K("Jarabak", "S-Ar"), {{L::Ar, 0, 30}}, 30},
    {K("Jarabak", "Ar-Go"), {{L::Ar, 0, 30}, {L::Go, 0, 80}}, 50},
    {K("Jarabak", "Go-Me"), {{L::Go, 0, 80}, {L::Me, 70, 80}}, 70},
    {K("Jarabak", "S-Go / N-Me"), {{L::Go, 0, 80}, {L::Me, 70, 100}}, 80},
    {K("Ricketts (resumo)", "eixo facial"), {{L::Ba, -10, 40}, {L::Pt, 10, 20}, {L::Gn, 50, 100}}, 90},
    {K("Ricketts (resumo)", "ângulo facial"), {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Pog, 70, 100}}, 90},
    {K("Ricketts (resumo)", "FMA"), kTriangle, kFma},
    {K("Ricketts (resumo)", "convexidade"), {{L::A, 72, 50}, {L::Pog, 70, 100}}, 2},
    {K("Ricketts (resumo)", "1i-APog"), {{L::A, 70, 50}, {L::Pog, 70, 100}, {L::Ii, 72, 70}}, 2},
    {K("Ricketts (resumo)", "1i.APog"), {{L::Ii, 70, 50}, {L::Ai, 60, 60}, {L::A, 70, 50}, {L::Pog, 70, 100}}, 45},
    {K("Ricketts (resumo)", "lábio inferior-E"), {{L::Prn, 95, 55}, {L::PogSoft, 95, 120}, {L::Li, 88, 95}}, -7},
    {K("Tecidos moles", "ângulo nasolabial"), {{L::Sn, 85, 68}, {L::Cm, 95, 68}, {L::Ls, 85, 78}}, 90},
    {K("Tecidos moles", "lábio superior-E"), {{L::Prn, 95, 55}, {L::PogSoft, 95, 120}, {L::Ls, 91, 80}}, -4},
    {K("Tecidos moles", "ângulo H"), {{L::Ls, 94, 80}, {L::PogSoft, 90, 120}, {L::B, 70, 80}}, deg(std::atan(0.1))},
    {K("Tecidos moles", "ângulo Z"), {{L::Po, -10, 30}, {L::Or, 60, 30}, {L::Ls, 90, 80}, {L::Li, 70, 100}, {L::PogSoft, 50, 120}}, 45},
    {K("Wits", "AO-BO"), {{L::OclP, 10, 60}, {L::OclA, 60, 60}, {L::A, 72, 50}, {L::B, 70, 90}}, 2},
    {K("Tweed-Merrifield", "FMA"), kTriangle, kFma},
    {K("Tweed-Merrifield", "IMPA"), kTriangle, 90},
    {K("Tweed-Merrifield", "FMIA"), kTriangle, 90 - kFma},
    };
    return kCases;
}

TEST(CephMeasures, KnownAnswersWhicheverWayTheFaceLooksAndHoweverPixelsAreShaped)
{
    struct Spacing {
        double sx, sy;
    };
    for (const Case& c : cases())
        for (bool mirror : {false, true})
            for (Spacing s : {Spacing{1, 1}, Spacing{0.1, 0.25}, Spacing{0.3, 0.07}}) {
                const CephValues v = MeasureCephalometrics(place(c.points, s.sx, s.sy, mirror), {s.sx, s.sy});
                const MeasureResult& r = v[c.measure];
                ASSERT_TRUE(r.ok()) << Caption(c.measure).toStdString() << " status " << r.status;
                EXPECT_NEAR(r.value, c.expected, 1e-9)
                    << TitleOf(c.measure).toStdString() << " " << Caption(c.measure).toStdString()
                    << (mirror ? " mirrored" : "") << " spacing " << s.sx << "," << s.sy;
            }
}

TEST(CephMeasures, WithoutCalibrationAnglesAndRatiosStayAndDistancesWait)
{
    for (const Case& c : cases()) {
        const CephValues v = MeasureCephalometrics(place(c.points, 1, 1, false), Calibration::none());
        const MeasureResult& r = v[c.measure];
        if (Def(c.measure).unit == CephUnit::Millimetre) {
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
        CephKey measure;
        std::initializer_list<Pt> points;
    } cases[] = {
        {K("Steiner", "1.NA"), {{L::Is, 70, 50}, {L::As, 70, 50}, {L::A, 70, 60}}},      // a point for an axis
        {K("Steiner", "1-NA"), {{L::A, 100, 0}, {L::Is, 74, 50}}},                   // N-A level: no anterior side
        {K("Steiner", "1-NA"), {{L::A, 70, 0}, {L::Is, 74, 50}}},                    // A on N
        {K("Jarabak", "S-Go / N-Me"), {{L::Go, 0, 80}, {L::Me, 70, 0}}},                    // N-Me of no length
        {K("McNamara", "A-Nperp"), {{L::Po, 60, 30}, {L::Or, 60, 30}, {L::A, 72, 50}}},      // Frankfort a point
        {K("Steiner", "GoGn.SN"), {{L::Go, 5, 80}, {L::Gn, 5, 80}}},
        {K("Downs", "convexidade"), {{L::A, 70, 50}, {L::Pog, 70, 0}}},                       // N-Pog a point
    };
    for (const auto& c : cases) {
        const CephValues v = MeasureCephalometrics(place(c.points, 0.1, 0.1, false), {0.1, 0.1});
        EXPECT_EQ(v[c.measure].status, MeasureResult::Undefined) << Caption(c.measure).toStdString();
    }
    // S straight above N leaves no anterior side for any signed distance.
    LandmarkSet vertical = place({{L::A, 70, 60}, {L::Is, 74, 50}}, 1, 1, false);
    vertical.set(L::N, QPointF(0, -70));
    EXPECT_EQ(MeasureCephalometrics(vertical, {1, 1})[K("Steiner", "1-NA")].status, MeasureResult::Undefined);

    // Points on a coarse grid coincide and line up often: nothing may come out infinite or nan.
    QRandomGenerator rng(2026);
    for (int round = 0; round < 3000; ++round) {
        LandmarkSet s;
        for (int i = 0; i < kLandmarkCount; ++i)
            if (rng.bounded(6) != 0)
                s.set(LandmarkAt(i), QPointF(rng.bounded(4) * 10.0, rng.bounded(4) * 10.0));
        const CephValues v = MeasureCephalometrics(s, {0.1, 0.1});
        for (const AnalysisResults& a : v.results)
            for (const MeasureResult& r : a)
                ASSERT_TRUE(!r.ok() || std::isfinite(r.value));
    }
}

TEST(CephMeasures, EachWaitsForItsOwnPointsAndNamesThem)
{
    const LandmarkSet some = place({{L::A, 70, 50}}, 1, 1, false);
    const CephValues v = MeasureCephalometrics(some, {1, 1});
    EXPECT_TRUE(v[K("Steiner", "SNA")].ok());
    EXPECT_EQ(v[K("Steiner", "ANB")].status, MeasureResult::Missing);
    EXPECT_EQ(MissingLandmarks(Def(K("Steiner", "ANB")), some), std::vector<L>{L::B});
    EXPECT_EQ(MissingLandmarks(Def(K("McNamara", "diferença maxilomandibular")), some), (std::vector<L>{L::Gn, L::Co}));
    // Signed distances need S and N for the anterior side; projections need Frankfort.
    EXPECT_EQ(Def(K("Ricketts (resumo)", "lábio inferior-E")).landmarks, (std::vector<L>{L::S, L::N, L::Li, L::PogSoft, L::Prn}));
    EXPECT_EQ(Def(K("McNamara", "A-Nperp")).landmarks, (std::vector<L>{L::N, L::Po, L::Or, L::A}));
    EXPECT_EQ(Def(K("Jarabak", "soma")).landmarks, (std::vector<L>{L::S, L::N, L::Ar, L::Me, L::Go}));
}

TEST(CephMeasures, PlacingOrderAsksOnlyForWhatTheChosenAnalysesNeed)
{
    const QStringList tweed{QStringLiteral("Tweed-Merrifield")};
    std::vector<L> twenty;
    for (int i = 0; i < kTweedLandmarkCount; ++i)
        twenty.push_back(LandmarkAt(i));
    EXPECT_EQ(LandmarksFor(ShippedAnalyses(), tweed), twenty);

    const QStringList soft{QStringLiteral("Tecidos moles")};
    EXPECT_EQ(LandmarksFor(ShippedAnalyses(), soft), (std::vector<L>{L::S, L::N, L::Po, L::Or, L::B, L::Ls, L::Li, L::PogSoft, L::Prn,
                                                  L::Sn, L::Cm}));
    // Every landmark serves some analysis.
    EXPECT_EQ(LandmarksFor(ShippedAnalyses(), ShippedAnalyses().titles()).size(), size_t(kLandmarkCount));
    EXPECT_EQ(LandmarkSet().firstMissing(LandmarksFor(ShippedAnalyses(), soft)), L::S);
}

TEST(CephMeasures, CatalogueIsGroupedAndEveryCaptionOncePerAnalysis)
{
    size_t total = 0;
    for (const AnalysisDefinition& a : ShippedAnalyses().analyses) {
        QStringList captions;
        for (const MeasureDefinition& m : a.measures) {
            EXPECT_FALSE(captions.contains(m.caption)) << m.caption.toStdString();
            captions << m.caption;
            ++total;
        }
    }
    EXPECT_EQ(total, AllMeasures(ShippedAnalyses()).size());
    EXPECT_EQ(ShippedAnalyses().find(QStringLiteral("Tweed-Merrifield"))->measures.size(), size_t(kMeasureCount));
}

// The Tweed page's bands and the Tweed-Merrifield analysis's norms describe the same measures: a
// band is the norm's mean less and plus one standard deviation, so neither can change alone.
TEST(CephMeasures, TheTweedPagesBandsAreTheTweedAnalysisNorms)
{
    const AnalysisDefinition& tweed = *ShippedAnalyses().find(QStringLiteral("Tweed-Merrifield"));
    int tied = 0;
    for (const TweedField& f : TweedFields()) {
        if (!f.norm || !f.measure)
            continue;
        const auto m = std::find_if(tweed.measures.begin(), tweed.measures.end(), [&](const MeasureDefinition& d) {
            const Expr& e = tweed.exprs[size_t(d.root)];
            return e.op == ExprOp::Tweed && e.tweed == *f.measure;
        });
        ASSERT_NE(m, tweed.measures.end()) << f.objectName;
        ASSERT_TRUE(m->norm) << f.objectName;
        EXPECT_DOUBLE_EQ(m->norm->mean - m->norm->sd, f.norm->low) << f.objectName;
        EXPECT_DOUBLE_EQ(m->norm->mean + m->norm->sd, f.norm->high) << f.objectName;
        ++tied;
    }
    EXPECT_EQ(tied, 8);  // FMA, FMIA, IMPA, Pl. ocl., SNA, SNB, AO-BO, Ang. Z
}

// --- norms ---

TEST(CephNorms, DefaultsRoundTripAndEditsSurvive)
{
    EXPECT_EQ(DecodeNorms(EncodeNorms(CephNorms::defaults())).norms, CephNorms::defaults());
    CephNorms edited = CephNorms::defaults();
    edited.set(K("Downs", "FMA"), CephNorm{24.5, 4.25});
    edited.set(K("Steiner", "SNA"), std::nullopt);
    edited.set(K("Steiner", "Pog-NB"), CephNorm{-1, 1.5});
    const DecodedNorms back = DecodeNorms(EncodeNorms(edited));
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    EXPECT_EQ(back.norms, edited);
    // The same name in two analyses keeps two norms.
    EXPECT_EQ(back.norms[K("Ricketts (resumo)", "FMA")], (CephNorm{26, 4.5}));
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
        // Found by fuzzing: a deviation below every normal double made the deviation in SD infinite.
        {"{\"formato\": \"quorvel-normas\", \"versao\": 1,\n\"normas\": {\n\"Steiner\": {\n\"SNA\": {\"media\": 82, \"dp\": 1e-320}}}}",
         "linha 4: Steiner SNA: a média deve estar entre -1000 e 1000 e o desvio-padrão estar entre 0,001 e 1000"},
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
    EXPECT_FALSE(DeviationOf(10, CephNorm{1, 1e-320}));  // never an infinite deviation
    EXPECT_EQ(NormText(CephNorm{87.8, 3.6}), QString::fromUtf8("87.8 ± 3.6"));
}

}  // namespace
