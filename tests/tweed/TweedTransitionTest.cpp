// The Tweed workflow's transition table: every state x event, on an analysis typed here and on
// one opened from a file, against the table as written below.

#include "TweedModelSupport.h"

#include <optional>
#include <tuple>

namespace qv::test {
namespace {

using S = TweedAnalysisModel::State;
using E = TweedAnalysisModel::Event;
using M = TweedAnalysisModel;

struct Next {
    S to;
    unsigned effects;
};
using Cell = std::optional<Next>;  // nullopt: the event changes nothing

struct Row {
    S from;
    E event;
    Cell typed;   // the analysis was typed on the page
    Cell opened;  // the analysis was opened from a file
};

constexpr Cell kNothing = std::nullopt;
Cell to(S s, unsigned effects = M::NoEffect) { return Next{s, effects}; }

const Row kTable[] = {
    {S::Editing, E::Calcular, to(S::Editing, M::Calculate), to(S::Editing, M::Calculate)},
    {S::ImpaChoice, E::Calcular, to(S::ImpaChoice, M::Calculate), to(S::ImpaChoice, M::Calculate)},
    {S::Concluded, E::Calcular, to(S::Concluded, M::OpenGuide), to(S::Concluded, M::OpenGuide)},
    {S::Diagnosed, E::Calcular, to(S::Diagnosed, M::OpenGuide), to(S::Diagnosed, M::OpenGuide)},

    {S::Editing, E::Refused, to(S::Editing), to(S::Editing)},
    {S::ImpaChoice, E::Refused, to(S::ImpaChoice), to(S::ImpaChoice)},
    {S::Concluded, E::Refused, kNothing, kNothing},
    {S::Diagnosed, E::Refused, kNothing, kNothing},

    {S::Editing, E::ConcludedOpened, to(S::Concluded, M::Lock), to(S::Concluded, M::Lock)},
    {S::ImpaChoice, E::ConcludedOpened, to(S::Concluded, M::Lock), to(S::Concluded, M::Lock)},
    {S::Concluded, E::ConcludedOpened, kNothing, kNothing},
    {S::Diagnosed, E::ConcludedOpened, kNothing, kNothing},

    {S::Editing, E::AnsweredYes, to(S::Concluded, M::Lock), to(S::Concluded, M::Lock)},
    {S::ImpaChoice, E::AnsweredYes, to(S::Concluded, M::Lock), to(S::Concluded, M::Lock)},
    {S::Concluded, E::AnsweredYes, kNothing, kNothing},
    {S::Diagnosed, E::AnsweredYes, kNothing, kNothing},

    {S::Editing, E::AnsweredNo, to(S::ImpaChoice, M::ShowImpaChoice), to(S::ImpaChoice, M::ShowImpaChoice)},
    {S::ImpaChoice, E::AnsweredNo, to(S::ImpaChoice, M::ShowImpaChoice), to(S::ImpaChoice, M::ShowImpaChoice)},
    {S::Concluded, E::AnsweredNo, kNothing, kNothing},
    {S::Diagnosed, E::AnsweredNo, kNothing, kNothing},

    {S::Editing, E::QuestionClosed, to(S::Editing), to(S::Editing)},
    {S::ImpaChoice, E::QuestionClosed, to(S::ImpaChoice), to(S::ImpaChoice)},
    {S::Concluded, E::QuestionClosed, kNothing, kNothing},
    {S::Diagnosed, E::QuestionClosed, kNothing, kNothing},

    {S::Editing, E::DiagnosisGenerated, kNothing, kNothing},
    {S::ImpaChoice, E::DiagnosisGenerated, kNothing, kNothing},
    {S::Concluded, E::DiagnosisGenerated, to(S::Diagnosed), to(S::Diagnosed)},
    {S::Diagnosed, E::DiagnosisGenerated, kNothing, kNothing},

    // LIMPAR reads "VOLTAR" only on an analysis concluded on the page.
    {S::Editing, E::Limpar, to(S::Editing, M::FullClear), to(S::Editing, M::FullClear)},
    {S::ImpaChoice, E::Limpar, to(S::Editing, M::FullClear), to(S::Editing, M::FullClear)},
    {S::Concluded, E::Limpar, to(S::Editing, M::BackToEditing), to(S::Editing, M::FullClear)},
    {S::Diagnosed, E::Limpar, to(S::Editing, M::BackToEditing), to(S::Editing, M::FullClear)},

    {S::Editing, E::Novo, to(S::Editing, M::FullClear), to(S::Editing, M::FullClear)},
    {S::ImpaChoice, E::Novo, to(S::Editing, M::FullClear), to(S::Editing, M::FullClear)},
    {S::Concluded, E::Novo, to(S::Editing, M::FullClear), to(S::Editing, M::FullClear)},
    {S::Diagnosed, E::Novo, to(S::Editing, M::FullClear), to(S::Editing, M::FullClear)},
};

const char* const kStateNames[] = {"Editing", "ImpaChoice", "Concluded", "Diagnosed"};
const char* const kEventNames[] = {"Calcular",    "Refused",        "ConcludedOpened", "AnsweredYes", "AnsweredNo",
                                   "QuestionClosed", "DiagnosisGenerated", "Limpar",         "Novo"};

using Param = std::tuple<int, bool>;  // row of kTable, opened

class TweedTransitions : public WorkFolderTest, public ::testing::WithParamInterface<Param> {
protected:
    // The model in a state, with the sample patient typed or opened from its file.
    void reach(S state, bool opened)
    {
        if (opened) {
            const bool refused = state == S::Editing || state == S::ImpaChoice;
            TweedSheet stored = SampleSheet();
            if (refused)
                stored.twafp.clear();  // the recalculation stops at its completeness check
            work.write(QStringLiteral("Análises/ANA-INICIAL.twe"), EncodeTweed(stored));
            model.open(QStringLiteral("Análises/ANA-INICIAL.twe"));
        } else {
            model.setSheet(SampleSheet());
        }
        if (state == S::ImpaChoice)
            model.dispatch(E::AnsweredNo);
        if (!opened && (state == S::Concluded || state == S::Diagnosed))
            model.dispatch(E::AnsweredYes);
        if (state == S::Diagnosed)
            model.dispatch(E::DiagnosisGenerated);
        ASSERT_EQ(model.state(), state);
        ASSERT_EQ(model.opened(), opened);
    }

    TweedAnalysisModel model;
};

TEST_P(TweedTransitions, FollowTheTable)
{
    const auto [index, opened] = GetParam();
    const Row& row = kTable[index];
    reach(row.from, opened);
    const bool parcialBefore = model.parcial();

    std::vector<std::tuple<S, S, unsigned>> seen;
    QObject::connect(&model, &TweedAnalysisModel::transitioned,
                     [&seen](S from, S to, unsigned effects) { seen.emplace_back(from, to, effects); });
    model.dispatch(row.event);

    const Cell& cell = opened ? row.opened : row.typed;
    if (!cell) {
        EXPECT_TRUE(seen.empty());
        EXPECT_EQ(model.state(), row.from);
        EXPECT_EQ(model.opened(), opened);
        EXPECT_EQ(model.parcial(), parcialBefore);
        return;
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_tuple(row.from, cell->to, cell->effects));
    EXPECT_EQ(model.state(), cell->to);

    // What each effect leaves in the model.
    if (cell->effects & M::Lock) {
        EXPECT_TRUE(model.parcial());
        EXPECT_TRUE(model.locked());
        EXPECT_EQ(model.limparCaption(), opened ? QStringLiteral("LIMPAR") : QStringLiteral("VOLTAR"));
    }
    if (cell->effects & M::ShowImpaChoice) {
        EXPECT_TRUE(model.impaChoiceShown());
        EXPECT_TRUE(model.sheet().dcnao);
        EXPECT_TRUE(model.ownImpaShown());
        EXPECT_TRUE(model.sheet().dcopcres.isEmpty());
    }
    if (cell->effects & (M::BackToEditing | M::FullClear)) {
        EXPECT_EQ(model.sheet().twPaciente, (cell->effects & M::FullClear) ? QString() : QStringLiteral("ANA"));
        EXPECT_EQ(model.sheet().twfma, (cell->effects & M::FullClear) ? QString() : QStringLiteral("25.0"));
        EXPECT_EQ(model.sheet().GenMasc, !(cell->effects & M::FullClear));
        EXPECT_EQ(model.results(), TweedResults{});
        EXPECT_EQ(model.panel(), PanelState{});
        EXPECT_FALSE(model.parcial() || model.completo() || model.opened() || model.impaChoiceShown());
        EXPECT_FALSE(model.sheet().dcnao);
        EXPECT_EQ(model.sheet().stage, AnalysisStage::INICIAL);
        EXPECT_EQ(model.calcularCaption(), QStringLiteral("CALCULAR"));
        EXPECT_EQ(model.limparCaption(), QStringLiteral("LIMPAR"));
    }
    EXPECT_EQ(model.calcularEnabled(), cell->to != S::Diagnosed);
}

INSTANTIATE_TEST_SUITE_P(EveryStateAndEvent, TweedTransitions,
                         ::testing::Combine(::testing::Range(0, int(std::size(kTable))), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<Param>& info) {
                             const Row& r = kTable[std::get<0>(info.param)];
                             return std::string(kStateNames[int(r.from)]) + "_" + kEventNames[int(r.event)] +
                                    (std::get<1>(info.param) ? "_Opened" : "_Typed");
                         });

// The table above names every state and event once, and the model's own table has no row it lacks.
TEST(TweedTransitionTable, CoversEveryStateAndEventOnce)
{
    int cells[4][9] = {};
    for (const Row& r : kTable)
        ++cells[int(r.from)][int(r.event)];
    for (int s = 0; s < 4; ++s)
        for (int e = 0; e < 9; ++e)
            EXPECT_EQ(cells[s][e], 1) << kStateNames[s] << " " << kEventNames[e];
    for (const M::Transition& t : M::Transitions()) {
        const bool found = std::any_of(std::begin(kTable), std::end(kTable), [&t](const Row& r) {
            if (r.from != t.from || r.event != t.event)
                return false;
            const bool typed = t.when != M::When::Opened && r.typed && r.typed->to == t.to && r.typed->effects == t.effects;
            const bool opened = t.when != M::When::NotOpened && r.opened && r.opened->to == t.to &&
                                r.opened->effects == t.effects;
            return typed || opened;
        });
        EXPECT_TRUE(found) << kStateNames[int(t.from)] << " " << kEventNames[int(t.event)];
    }
}

}  // namespace
}  // namespace qv::test
