// Superimposing stages: known motions are undone exactly by every registration, the best fit
// is the least-squares minimum, displacements are measured along the base's reference, stages
// that cannot be registered are refused by name. The measures' spreadsheet file.

#include "analysis/CephCsv.h"
#include "tracing/CephKeys.h"
#include "analysis/Superimposition.h"

#include <gtest/gtest.h>

#include <QByteArrayList>
#include <QRandomGenerator>

#include <cmath>
#include <numbers>

using namespace qv;
using namespace qv::test;
using L = Landmark;

namespace {

// A face in millimetres, looking right, every landmark placed.
std::vector<QPointF> face()
{
    std::vector<QPointF> p(kLandmarkCount);
    const struct {
        L l;
        double x, y;
    } pts[] = {{L::S, 0, 0},      {L::N, 70, -5},    {L::Po, -12, 28},  {L::Or, 58, 24},   {L::ENA, 76, 45},
               {L::ENP, 22, 47},  {L::A, 72, 52},    {L::B, 68, 92},    {L::Ar, -2, 30},   {L::Rp, 2, 70},
               {L::Tg, 12, 92},   {L::Me, 62, 112},  {L::Ii, 73, 66},   {L::Ai, 62, 96},   {L::Is, 76, 64},
               {L::OclP, 25, 66}, {L::OclA, 74, 65}, {L::Ls, 90, 76},   {L::Li, 88, 96},   {L::PogSoft, 84, 118},
               {L::Pog, 70, 104}, {L::Gn, 67, 110},  {L::Go, 4, 86},    {L::Co, -4, 22},   {L::Ba, -14, 40},
               {L::Pt, 12, 22},   {L::As, 64, 34},   {L::Prn, 98, 55},  {L::Sn, 86, 68},   {L::Cm, 93, 64}};
    for (const auto& q : pts)
        p[size_t(q.l)] = {q.x, q.y};
    return p;
}

// A stage whose millimetre points are `mm` moved by rotating `degrees` about the origin and
// shifting by (dx, dy), stored as pixels of spacing (sx, sy).
StageTracing stage(const QString& name, const std::vector<QPointF>& mm, double degrees, QPointF shift, double sx,
                   double sy, bool mirror = false)
{
    const double a = degrees * std::numbers::pi / 180;
    StageTracing t{name, {}, {sx, sy}};
    for (int i = 0; i < kLandmarkCount; ++i) {
        QPointF q = mm[size_t(i)];
        if (mirror)
            q.setX(-q.x());
        const QPointF r(std::cos(a) * q.x() - std::sin(a) * q.y() + shift.x(),
                        std::sin(a) * q.x() + std::cos(a) * q.y() + shift.y());
        t.points.set(LandmarkAt(i), QPointF(r.x() / sx, r.y() / sy));
    }
    return t;
}

const Registration kAll[] = {Registration::CranialBase, Registration::BaNAtCF, Registration::Maxilla,
                             Registration::Mandible, Registration::BestFit};
const L kFit[] = {L::S, L::N, L::Ba, L::Po, L::Or};

TEST(Superimposition, AKnownMotionIsUndoneByEveryRegistration)
{
    const auto mm = face();
    for (Registration r : kAll)
        for (bool mirror : {false, true}) {
            const StageTracing stages[] = {
                stage("INICIAL", mm, 0, {100, 80}, 0.1, 0.1, mirror),
                stage("INTER1", mm, 7.5, {130, 60}, 0.12, 0.09, mirror),
                stage("FINAL", mm, -20, {-40, 300}, 0.2, 0.2, mirror),
            };
            const Superimposition s = Superimpose(stages, 0, r, kFit);
            ASSERT_TRUE(s.ok()) << s.error.toStdString();
            ASSERT_EQ(s.stages.size(), 3u);
            for (const StageSuperimposition& st : s.stages) {
                EXPECT_EQ(st.displacements.size(), size_t(kLandmarkCount));
                for (const Displacement& d : st.displacements)
                    EXPECT_NEAR(d.total, 0, 1e-9) << RegistrationName(r).toStdString() << " " << LandmarkCode(d.landmark).toStdString();
            }
        }
}

TEST(Superimposition, DisplacementsAlongTheBaseReferencePositiveAnteriorAndInferior)
{
    const auto base = face();
    auto grown = base;
    // The chin comes 3 mm forward along S-N and 2 mm down across it.
    const QPointF sn = base[size_t(L::N)] - base[size_t(L::S)];
    const QPointF u = sn / std::hypot(sn.x(), sn.y());
    const QPointF v(-u.y(), u.x());  // down the image for a face looking right
    grown[size_t(L::Pog)] += u * 3 + v * 2;
    for (bool mirror : {false, true}) {
        const StageTracing stages[] = {stage("INICIAL", base, 0, {0, 0}, 0.1, 0.1, mirror),
                                       stage("FINAL", grown, 12, {15, -8}, 0.1, 0.1, mirror)};
        const Superimposition s = Superimpose(stages, 0, Registration::CranialBase);
        ASSERT_TRUE(s.ok());
        for (const Displacement& d : s.stages[1].displacements) {
            const bool chin = d.landmark == L::Pog;
            EXPECT_NEAR(d.x, chin ? 3 : 0, 1e-9) << mirror << LandmarkCode(d.landmark).toStdString();
            EXPECT_NEAR(d.y, chin ? 2 : 0, 1e-9) << mirror;
            EXPECT_NEAR(d.total, chin ? std::sqrt(13.0) : 0, 1e-9);
        }
    }
}

// Sum of squared distances after moving `from` by r onto `to`.
double cost(const Rigid& r, const std::vector<QPointF>& from, const std::vector<QPointF>& to)
{
    double c = 0;
    for (size_t i = 0; i < from.size(); ++i) {
        const QPointF d = r.apply(from[i]) - to[i];
        c += d.x() * d.x() + d.y() * d.y();
    }
    return c;
}

TEST(Superimposition, BestFitIsTheLeastSquaresMinimum)
{
    QRandomGenerator rng(7);
    const auto mm = face();
    for (int round = 0; round < 20; ++round) {
        auto noisy = mm;
        for (QPointF& p : noisy)
            p += QPointF(rng.bounded(6.0) - 3, rng.bounded(6.0) - 3);
        const StageTracing stages[] = {stage("INICIAL", mm, 0, {0, 0}, 0.1, 0.1),
                                       stage("FINAL", noisy, rng.bounded(60.0) - 30, {5, 9}, 0.1, 0.1)};
        const Superimposition s = Superimpose(stages, 0, Registration::BestFit, kFit);
        ASSERT_TRUE(s.ok());
        std::vector<QPointF> from, to;
        for (L l : kFit) {
            from.push_back(Millimetres(stages[1], l));
            to.push_back(Millimetres(stages[0], l));
        }
        const double found = cost(s.stages[1].motion, from, to);
        // For each angle the best shift brings the centroids together: search the angles.
        double best = 1e300;
        for (int k = 0; k < 36000; ++k) {
            const double a = k * 0.01 * std::numbers::pi / 180;
            Rigid r{std::cos(a), std::sin(a), 0, 0};
            QPointF cf, ct;
            for (size_t i = 0; i < from.size(); ++i) {
                cf += r.apply(from[i]);
                ct += to[i];
            }
            r.tx = (ct - cf).x() / double(from.size());
            r.ty = (ct - cf).y() / double(from.size());
            best = std::min(best, cost(r, from, to));
        }
        EXPECT_LE(found, best + 1e-9);
        EXPECT_GT(found, best - 1e-3);  // the grid lands within a hundredth of a degree of it
    }
}

TEST(Superimposition, StagesThatCannotBeRegisteredAreRefusedByName)
{
    const auto mm = face();
    StageTracing uncalibrated = stage("INTER1", mm, 0, {0, 0}, 0.1, 0.1);
    uncalibrated.calibration = Calibration::none();
    StageTracing noBa = stage("FINAL", mm, 0, {0, 0}, 0.1, 0.1);
    noBa.points.remove(L::Ba);
    noBa.points.remove(L::Pt);
    const StageTracing ok = stage("INICIAL", mm, 0, {0, 0}, 0.1, 0.1);

    const struct {
        std::vector<StageTracing> stages;
        Registration r;
        std::vector<L> fit;
        const char* error;
    } cases[] = {
        {{ok, uncalibrated}, Registration::CranialBase, {}, "INTER1: sem calibração."},
        {{ok, noBa}, Registration::BaNAtCF, {}, "FINAL: faltam os pontos Ba, Pt."},
        {{ok, noBa}, Registration::BestFit, {L::S, L::Ba}, "FINAL: faltam os pontos Ba."},
        {{ok, noBa}, Registration::BestFit, {L::S}, "Marque ao menos dois pontos para o melhor ajuste."},
        {{ok}, Registration::CranialBase, {}, "Escolha de 2 a 4 fases e uma delas como base."},
        {{ok, ok, ok, ok, ok}, Registration::CranialBase, {}, "Escolha de 2 a 4 fases e uma delas como base."},
    };
    for (const auto& c : cases) {
        const Superimposition s = Superimpose(c.stages, 0, c.r, c.fit);
        EXPECT_EQ(s.error, QString::fromUtf8(c.error));
        EXPECT_TRUE(s.stages.empty());
    }
    // Noba is fine where its missing points are not needed.
    const StageTracing two[] = {ok, noBa};
    EXPECT_TRUE(Superimpose(two, 1, Registration::Maxilla).ok());
}

// --- spreadsheet ---

TEST(CephCsv, TextsCannotBreakTheRowsNorBecomeFormulas)
{
    const struct {
        const char* text;
        const char* cell;
    } cases[] = {
        {"Ana Lúcia", "Ana Lúcia"},
        {"Silva; Souza", "\"Silva; Souza\""},
        {"O \"Zé\"", "\"O \"\"Zé\"\"\""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+55 11", "\"'+55 11\""},
        {"-1", "\"'-1\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"linha\nnova", "\"linha\nnova\""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvTextCell(QString::fromUtf8(c.text)), QString::fromUtf8(c.cell)) << c.text;
}

// A measure's column among the measures, after the patient and the stage.
int column(CephKey k)
{
    const std::vector<CephKey> all = AllMeasures(ShippedAnalyses());
    return int(std::find(all.begin(), all.end(), k) - all.begin());
}

TEST(CephCsv, OneRowPerPatientAndStageWithDecimalCommaUnderABom)
{
    const int kCephCount = int(AllMeasures(ShippedAnalyses()).size());
    CephValues v;
    v[K("Tweed-Merrifield", "FMA")] = {MeasureResult::Value, 24.75};
    v[K("Steiner", "ANB")] = {MeasureResult::Value, -1.04};
    v[K("Wits", "AO-BO")] = {MeasureResult::Uncalibrated, 0};
    const CephCsvRow rows[] = {{QStringLiteral("=João; \"Jr\""), QStringLiteral("INICIAL"), v},
                               {QStringLiteral("Maria"), QStringLiteral("FINAL"), CephValues{}}};
    const QByteArray csv = CephCsv(rows);
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = csv.mid(3).split('\n');
    ASSERT_EQ(lines.size(), 4);  // header, two rows, nothing after the last line break
    EXPECT_TRUE(lines[3].isEmpty());
    const QList<QByteArray> header = lines[0].chopped(1).split(';');
    ASSERT_EQ(header.size(), 2 + kCephCount);
    EXPECT_EQ(header[2], QString::fromUtf8("Tweed-Merrifield FMA (°)").toUtf8());
    EXPECT_EQ(header[2 + column(K("Jarabak", "S-Go / N-Me"))], QByteArray("Jarabak S-Go / N-Me (%)"));
    const QList<QByteArray> first = lines[1].chopped(1).split(';');
    // The name's own ';' sits inside quotes: it splits the text, but the cells after it line up.
    EXPECT_TRUE(lines[1].startsWith(QString::fromUtf8("\"'=João; \"\"Jr\"\"\";INICIAL;24,8;").toUtf8()));
    EXPECT_EQ(first.size(), 3 + kCephCount);
    EXPECT_EQ(first[3 + column(K("Steiner", "ANB"))], QByteArray("-1,0"));
    EXPECT_EQ(first.last(), QByteArray());
    EXPECT_EQ(lines[2], "Maria;FINAL" + QByteArray(kCephCount, ';') + '\r');
}

}  // namespace
