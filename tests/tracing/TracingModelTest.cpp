// The tracing's model without a window: the points' undo history, what counts as a change, the
// choice of analyses that is never empty, and the norms kept over a catalogue that changes.

#include "analysis/TracingModel.h"

#include <gtest/gtest.h>

using namespace qv;
using L = Landmark;

namespace {

TEST(TracingModel, PlacesAndMovesAreUndoneAndRedoneInOrderAndSayWhenTheyChangeAnything)
{
    TracingModel m;
    m.useCatalogue(std::make_shared<const AnalysisCatalogue>(ShippedAnalyses()));
    int changes = 0;
    QObject::connect(&m, &TracingModel::changed, [&] { ++changes; });
    m.pick(L::N);
    EXPECT_EQ(m.awaited(), L::N);
    m.place(L::N, QPointF(5, 5));
    EXPECT_EQ(m.awaited(), L::S);  // the pick is used up
    m.place(L::S, QPointF(1, 1));
    m.move(L::S, QPointF(1, 1), QPointF(2, 2));
    EXPECT_TRUE(m.modified());
    EXPECT_EQ(m.history().count(), 3);
    m.history().undo();
    EXPECT_EQ(m.landmarks().at(L::S), QPointF(1, 1));
    m.history().undo();
    EXPECT_FALSE(m.landmarks().has(L::S));
    m.history().redo();
    EXPECT_EQ(m.landmarks().at(L::S), QPointF(1, 1));
    m.place(L::A, QPointF(3, 3));  // a new step drops what was undone
    EXPECT_EQ(m.history().count(), 3);
    EXPECT_FALSE(m.history().canRedo());
    EXPECT_GE(changes, 7);

    // A tracing started anew: its points, no history, nothing changed, an absurd spacing dropped.
    LandmarkSet opened;
    opened.set(L::Me, QPointF(9, 9));
    m.start(opened, {1e-9, 1e-9}, QStringLiteral("Calibração do traçado"));
    EXPECT_EQ(m.landmarks(), opened);
    EXPECT_EQ(m.history().count(), 0);
    EXPECT_FALSE(m.modified());
    EXPECT_FALSE(m.calibration().known());
    EXPECT_TRUE(m.calibrationSource().isEmpty());
    m.setCalibration({0.1, 0.1}, QStringLiteral("Calibração informada"));
    EXPECT_TRUE(m.modified());
    m.markSaved();
    EXPECT_FALSE(m.modified());
}

TEST(TracingModel, TheChoiceOfAnalysesIsNeverEmptyAndTheNormsFollowTheCatalogue)
{
    TracingModel m;
    auto shipped = std::make_shared<const AnalysisCatalogue>(ShippedAnalyses());
    EXPECT_TRUE(m.useCatalogue(shipped));
    EXPECT_FALSE(m.useCatalogue(shipped));
    const struct {
        QStringList asked, chosen;
    } cases[] = {
        {{"Wits", "Steiner"}, {"Steiner", "Wits"}},    // in the catalogue's order
        {{"Wits", "Bjork"}, {"Wits"}},                 // a title no analysis has is skipped
        {{}, {"Wits"}},                                // unticking the last keeps it
        {{"Bjork"}, {"Wits"}},
    };
    for (const auto& c : cases) {
        m.setAnalyses(c.asked);
        EXPECT_EQ(m.analyses(), c.chosen) << c.asked.join(u',').toStdString();
    }
    EXPECT_EQ(m.placingOrder(), (std::vector<L>{L::A, L::B, L::OclP, L::OclA}));

    // A clinic's norm survives a catalogue that gains an analysis; the new one has its definition's.
    CephNorms norms = CephNorms::defaults(*shipped);
    norms.set(*norms.find(QStringLiteral("Wits"), QStringLiteral("AO-BO")), CephNorm{1, 1});
    m.setNorms(norms);
    AnalysisCatalogue more = *shipped;
    more.analyses.push_back(more.analyses.front());
    more.analyses.back().title = QStringLiteral("Minha");
    m.useCatalogue(std::make_shared<const AnalysisCatalogue>(more));
    EXPECT_EQ(m.norms()[*m.norms().find(QStringLiteral("Wits"), QStringLiteral("AO-BO"))], (CephNorm{1, 1}));
    EXPECT_EQ(m.norms()[*m.norms().find(QStringLiteral("Minha"), QStringLiteral("FMA"))], (CephNorm{25, 3}));
    EXPECT_EQ(m.analyses(), QStringList{QStringLiteral("Wits")});
}

}  // namespace
