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

namespace {

using O = PointOrigin;

TEST(TracingModel, ProposalsFillOnlyWhatTheClinicianHasNotDecidedAndAreUndoneAsOneStep)
{
    TracingModel m;
    m.place(L::S, QPointF(1, 1));
    m.place(L::N, QPointF(2, 2));
    LandmarkSet found;
    found.set(L::N, QPointF(20, 20));
    found.set(L::A, QPointF(30, 30));
    EXPECT_EQ(m.propose(found), 1);  // N is the clinician's
    EXPECT_EQ(m.origin(L::A), O::Proposed);
    EXPECT_EQ(m.landmarks().at(L::N), QPointF(2, 2));
    found.set(L::A, QPointF(31, 31));
    found.set(L::B, QPointF(40, 40));
    EXPECT_EQ(m.propose(found), 2);  // a proposal is proposed again
    EXPECT_TRUE(m.proposalsUsed());
    m.confirm(L::B);
    EXPECT_EQ(m.origin(L::B), O::Accepted);
    m.confirm(L::S);  // the clinician's own point: nothing to confirm
    EXPECT_EQ(m.history().count(), 5);

    struct Case {
        const char* after;
        O a, b;
        bool hasB;
        QPointF atA;
    };
    const Case steps[] = {
        {"confirm B undone", O::Proposed, O::Proposed, true, QPointF(31, 31)},
        {"second proposal undone", O::Proposed, O::Placed, false, QPointF(30, 30)},
        {"first proposal undone", O::Placed, O::Placed, false, QPointF()},
    };
    for (const Case& c : steps) {
        m.history().undo();
        EXPECT_EQ(m.origin(L::A), c.a) << c.after;
        EXPECT_EQ(m.origin(L::B), c.b) << c.after;
        EXPECT_EQ(m.landmarks().has(L::B), c.hasB) << c.after;
        if (!c.atA.isNull())
            EXPECT_EQ(m.landmarks().at(L::A), c.atA) << c.after;
    }
    EXPECT_FALSE(m.landmarks().has(L::A));
    EXPECT_FALSE(m.proposalsUsed());
    m.history().redo();
    m.history().redo();
    EXPECT_EQ(m.origin(L::B), O::Proposed);
    EXPECT_EQ(m.proposedPoints().count(), 2u);
}

TEST(TracingModel, AProposedPointMovedIsTheCliniciansAndConfirmingAllIsOneStep)
{
    TracingModel m;
    LandmarkSet found;
    for (L l : {L::S, L::N, L::A, L::B})
        found.set(l, QPointF(Index(l), 1));
    m.propose(found);
    m.drag(L::S, QPointF(5, 5));
    EXPECT_EQ(m.origin(L::S), O::Proposed);  // still in the clinician's hand
    m.move(L::S, QPointF(0, 1), QPointF(6, 6));
    EXPECT_EQ(m.origin(L::S), O::Placed);
    m.place(L::N, QPointF(7, 7));  // placed over a proposal
    EXPECT_EQ(m.origin(L::N), O::Placed);
    const int before = m.history().count();
    m.confirmAll();
    EXPECT_EQ(m.history().count(), before + 1);
    EXPECT_TRUE(m.proposedPoints().none());
    EXPECT_EQ(m.acceptedPoints().count(), 2u);
    m.history().undo();
    EXPECT_EQ(m.proposedPoints().count(), 2u);
    m.history().undo();
    m.history().undo();
    EXPECT_EQ(m.origin(L::S), O::Proposed);
    EXPECT_EQ(m.landmarks().at(L::S), QPointF(0, 1));

    // A tracing reopened keeps what was only proposed; flags of points not there are dropped.
    LandmarkSet points;
    points.set(L::S, QPointF(1, 1));
    LandmarkFlags proposed, accepted;
    proposed.set(size_t(Index(L::S)));
    proposed.set(size_t(Index(L::Go)));
    accepted.set(size_t(Index(L::S)));
    m.start(points, {0.1, 0.1}, QString(), proposed, accepted);
    EXPECT_EQ(m.origin(L::S), O::Proposed);
    EXPECT_EQ(m.proposedPoints().count(), 1u);
    EXPECT_TRUE(m.acceptedPoints().none());
    EXPECT_FALSE(m.modified());
}

}  // namespace
