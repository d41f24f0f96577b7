// The learner's limits and its model file: too few tracings, a landmark too rarely placed, a
// cancelled learning, and the file read back whole or refused when damaged or of another version.

#include "proposals/LandmarkLearner.h"
#include "support/SyntheticCephalogram.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

// Small radiographs (0.5 mm a pixel): the file's tests need a model, not a good one.
std::vector<LearningCase> Cases(int count)
{
    std::vector<LearningCase> out;
    for (int seed = 1; seed <= count; ++seed) {
        const test::SyntheticCephalogram c = test::MakeCephalogram(std::uint32_t(500 + seed), {.mmPerPixel = 0.5});
        const GreyView view{c.width, c.height, c.pixels.data(), 32768, 65536, false};
        out.push_back({QStringLiteral("T%1.tra").arg(seed), QByteArray(1, char(seed)), PrepareRadiograph(view, c.calibration),
                       c.landmarks});
    }
    return out;
}

const std::vector<LearningCase>& Shared()
{
    static const std::vector<LearningCase> cases = [] {
        std::vector<LearningCase> c = Cases(kMinimumTracings);
        for (int k = 0; k < 2; ++k)  // Go placed in fewer tracings than needed
            c[size_t(k)].points.remove(Landmark::Go);
        return c;
    }();
    return cases;
}

const ProposalModel& Model()
{
    static const ProposalModel model = *Learn(Shared(), {.folds = 2}).model;
    return model;
}

TEST(LandmarkLearner, NeedsEnoughCalibratedTracingsAndLearnsOnlyLandmarksPlacedInEnoughOfThem)
{
    std::vector<LearningCase> cases = Shared();
    cases.back().image = {};  // its radiograph could not be read
    const LearningResult few = Learn(cases, {});
    EXPECT_FALSE(few.model.has_value());
    EXPECT_TRUE(few.error.contains(QStringLiteral("pelo menos %1").arg(kMinimumTracings))) << few.error.toStdString();
    EXPECT_TRUE(few.error.contains(QStringLiteral("há %1").arg(kMinimumTracings - 1))) << few.error.toStdString();

    const ProposalModel& m = Model();
    EXPECT_FALSE(m.knows(Landmark::Go));
    EXPECT_TRUE(m.knows(Landmark::S));
    EXPECT_EQ(m.cases.size(), size_t(kMinimumTracings));
    EXPECT_EQ(m.accuracy.folds, 2);
    ASSERT_EQ(m.accuracy.landmarks.size(), m.landmarks.size());
    for (const LandmarkAccuracy& a : m.accuracy.landmarks) {
        EXPECT_EQ(a.tracings, kMinimumTracings) << LandmarkCode(a.landmark).toStdString();
        EXPECT_LE(a.within2mm, a.within4mm);
        EXPECT_GE(a.meanErrorMm, 0);
    }
    // A proposal is only what was asked for and what the model knows.
    const std::vector<Landmark> wanted{Landmark::S, Landmark::Go};
    const LandmarkSet found = Propose(m, Shared()[0].image, wanted);
    EXPECT_TRUE(found.has(Landmark::S));
    EXPECT_FALSE(found.has(Landmark::Go));
    EXPECT_EQ(found.count(), 1);
    EXPECT_EQ(Propose(m, PreparedRadiograph{}, wanted).count(), 0);
}

TEST(LandmarkLearner, ACancelledLearningGivesNoModel)
{
    std::atomic<bool> cancel{false};
    int calls = 0;
    const LearningResult r = Learn(Shared(), {.folds = 2}, [&](int done, int total) {
        EXPECT_LE(done, total);
        ++calls;
        cancel = true;
    }, &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.model.has_value());
    EXPECT_GE(calls, 1);
}

TEST(ModelFile, ReadsBackWhatItWroteAndProposesTheSame)
{
    const ProposalModel& m = Model();
    const QByteArray bytes = EncodeModel(m);
    const DecodedModel back = DecodeModel(bytes);
    ASSERT_TRUE(back.model.has_value()) << back.error.toStdString();
    EXPECT_EQ(back.model->landmarks, m.landmarks);
    EXPECT_EQ(back.model->cases, m.cases);
    EXPECT_EQ(back.model->accuracy, m.accuracy);
    EXPECT_EQ(back.model->learnedAt.toSecsSinceEpoch(), m.learnedAt.toSecsSinceEpoch());
    EXPECT_EQ(EncodeModel(*back.model), bytes);
    const LandmarkSet before = Propose(m, Shared()[3].image, m.landmarks);
    EXPECT_EQ(Propose(*back.model, Shared()[3].image, m.landmarks), before);
}

TEST(ModelFile, DamagedOrForeignFilesAreRefusedWithTheReason)
{
    const QByteArray good = EncodeModel(Model());
    const QString damaged = QStringLiteral("está danificado");
    auto flipped = [&](qsizetype at) {
        QByteArray b = good;
        b[at] = char(b[at] ^ 0x20);
        return b;
    };
    QByteArray version2 = good;
    version2[25 + 3] = 2;  // the format's version follows the 25-byte mark
    const struct {
        const char* what;
        QByteArray bytes;
        QString reason;
    } cases[] = {
        {"empty", QByteArray(), QStringLiteral("não é um modelo de pontos")},
        {"another file", QByteArray("{\"format\": \"quorvel-tracing\"}"), QStringLiteral("não é um modelo de pontos")},
        {"mark changed", flipped(3), QStringLiteral("não é um modelo de pontos")},
        {"newer version", version2, QStringLiteral("versão 2")},
        {"header cut", good.left(40), damaged},
        {"checksum changed", flipped(25 + 12 + 5), damaged},
        {"a byte of the contents", flipped(good.size() / 2), damaged},
        {"the last byte", flipped(good.size() - 1), damaged},
        {"cut by one byte", good.left(good.size() - 1), damaged},
        {"a byte more", good + '\0', damaged},
    };
    for (const auto& c : cases) {
        const DecodedModel d = DecodeModel(c.bytes);
        EXPECT_FALSE(d.model.has_value()) << c.what;
        EXPECT_TRUE(d.error.contains(c.reason)) << c.what << ": " << d.error.toStdString();
    }
}

}  // namespace
