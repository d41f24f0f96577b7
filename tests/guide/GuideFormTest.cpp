// The guide's consistency rules on plain data: what each sequence of clicks leaves checked,
// disabled and shown, and the restore of stored answers through the same rules.

#include "records/GuideAnswers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace qv;

namespace {

using C = GuideControl;

const char* const kNames[kGuideControls] = {
    "daapinh", "menor", "maior",  "dmapinh",  "dmrel",    "dmpro",  "dpadq",    "dpinadeq", "clsim",
    "clnao",   "horcl2", "direita", "esquerda", "sem",    "horcl3", "aberta",   "profunda", "suave",
    "media",   "severa", "desarm", "dessuave", "dessevera", "Label1", "Label2"};

std::set<std::string> where(const std::array<bool, kGuideControls>& flags, bool value)
{
    std::set<std::string> out;
    for (std::size_t i = 0; i < kGuideControls; ++i)
        if (flags[i] == value)
            out.insert(kNames[i]);
    return out;
}

const std::set<std::string> kAlwaysShown = {"daapinh", "dmapinh", "dmrel", "dmpro", "dpadq", "dpinadeq", "clsim", "clnao"};

std::set<std::string> shownWith(std::initializer_list<const char*> more)
{
    std::set<std::string> s = kAlwaysShown;
    s.insert(more.begin(), more.end());
    return s;
}

const std::set<std::string> kSkeletal = shownWith({"horcl2", "horcl3", "aberta", "profunda", "desarm", "Label1", "Label2"});

struct RuleCase {
    const char* name;
    std::vector<std::pair<C, bool>> clicks;
    std::set<std::string> checked;
    std::set<std::string> disabled;
    std::set<std::string> shown;
    bool mediaIsMedium = true;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class GuideRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(GuideRules, LeaveTheControlsSo)
{
    GuideForm f = InitialGuideForm();
    for (const auto& [control, on] : GetParam().clicks)
        SetGuideControl(f, control, on);
    EXPECT_EQ(where(f.checked, true), GetParam().checked);
    EXPECT_EQ(where(f.enabled, false), GetParam().disabled);
    EXPECT_EQ(where(f.shown, true), GetParam().shown);
    EXPECT_EQ(f.mediaIsMedium, GetParam().mediaIsMedium);
    // A hidden answer is never checked.
    for (std::size_t i = 0; i < kGuideAnswerCount; ++i) {
        if (f.checked[i]) {
            EXPECT_TRUE(f.shown[i]) << kNames[i];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, GuideRules,
    ::testing::Values(
        RuleCase{"AsCreated", {}, {"clnao"}, {}, kAlwaysShown},
        RuleCase{"SkeletalShowsItsBoxesUnchecked", {{C::clsim, true}}, {"clsim"}, {}, kSkeletal},
        RuleCase{"UncheckingClsimChecksClnao", {{C::clsim, true}, {C::horcl3, true}, {C::clsim, false}}, {"clnao"}, {},
                 kAlwaysShown},
        RuleCase{"ClassTwoRight",
                 {{C::clsim, true}, {C::horcl2, true}, {C::direita, true}},
                 {"clsim", "horcl2", "direita"},
                 {"horcl3", "esquerda", "sem"},
                 shownWith({"horcl2", "horcl3", "aberta", "profunda", "desarm", "Label1", "Label2", "direita",
                            "esquerda", "sem"})},
        RuleCase{"ClnaoHidesAndFreesEverythingBelow",
                 {{C::clsim, true}, {C::horcl2, true}, {C::direita, true}, {C::clnao, true}},
                 {"clnao"},
                 {},
                 kAlwaysShown},
        RuleCase{"DeepBiteBorrowsMediaAsMild",
                 {{C::clsim, true}, {C::profunda, true}},
                 {"clsim", "profunda"},
                 {"aberta"},
                 shownWith({"horcl2", "horcl3", "aberta", "profunda", "desarm", "Label1", "Label2", "media", "severa"}),
                 false},
        RuleCase{"DeepBiteMildDisablesSevereOnly",
                 {{C::clsim, true}, {C::profunda, true}, {C::media, true}},
                 {"clsim", "profunda", "media"},
                 {"aberta", "severa"},
                 shownWith({"horcl2", "horcl3", "aberta", "profunda", "desarm", "Label1", "Label2", "media", "severa"}),
                 false},
        RuleCase{"DeepBiteOffRestoresMediumAndFreesAllGrades",
                 {{C::clsim, true}, {C::profunda, true}, {C::media, true}, {C::profunda, false}},
                 {"clsim"},
                 {},
                 kSkeletal},
        RuleCase{"OpenBiteMediumDisablesMildAndSevere",
                 {{C::clsim, true}, {C::aberta, true}, {C::media, true}},
                 {"clsim", "aberta", "media"},
                 {"profunda", "suave", "severa"},
                 shownWith({"horcl2", "horcl3", "aberta", "profunda", "desarm", "Label1", "Label2", "suave", "media",
                            "severa"})},
        RuleCase{"CrowdingSizeAndMolars",
                 {{C::daapinh, true}, {C::maior, true}, {C::dpinadeq, true}},
                 {"daapinh", "maior", "dpinadeq", "clnao"},
                 {"menor", "dpadq"},
                 shownWith({"menor", "maior"})},
        RuleCase{"UncheckingCrowdingHidesAndFreesTheSize",
                 {{C::daapinh, true}, {C::menor, true}, {C::daapinh, false}},
                 {"clnao"},
                 {},
                 kAlwaysShown},
        RuleCase{"FacialSevere",
                 {{C::clsim, true}, {C::desarm, true}, {C::dessevera, true}},
                 {"clsim", "desarm", "dessevera"},
                 {"dessuave"},
                 shownWith({"horcl2", "horcl3", "aberta", "profunda", "desarm", "Label1", "Label2", "dessuave",
                            "dessevera"})},
        RuleCase{"SeparatorsAreNotAnswers", {{C::Label1, true}}, {"clnao"}, {}, kAlwaysShown}),
    [](const auto& info) { return std::string(info.param.name); });

// Setting the state a control holds runs no rule: what the rule would reset stays as it is.
TEST(GuideRulesHeldState, RunsNothing)
{
    GuideForm f = InitialGuideForm();
    SetGuideControl(f, C::clsim, true);
    SetGuideControl(f, C::horcl2, true);
    f.enabled[std::size_t(C::horcl3)] = true;
    f.shown[std::size_t(C::horcl2)] = false;
    const GuideForm held = f;
    SetGuideControl(f, C::horcl2, true);
    SetGuideControl(f, C::clsim, true);
    SetGuideControl(f, C::clnao, false);
    EXPECT_EQ(f, held);
}

TEST(GuideRulesClear, ReturnsToTheGuideAsCreated)
{
    GuideForm f = InitialGuideForm();
    for (C c : {C::daapinh, C::menor, C::dmapinh, C::dmrel, C::dmpro, C::dpadq, C::clsim, C::horcl2, C::sem,
                C::aberta, C::severa, C::desarm, C::dessuave})
        SetGuideControl(f, c, true);
    ClearGuideForm(f);
    EXPECT_EQ(f, InitialGuideForm());
}

// What the file stores of valid answers (the third molars always answered) comes back as the same
// answers; unanswered molars come back as inadequate.
GuideAnswers answers(std::initializer_list<C> on)
{
    GuideForm f = InitialGuideForm();
    for (C c : on)
        SetGuideControl(f, c, true);
    return f.answers();
}

TEST(GuideRulesRestore, StoredAnswersComeBackTheSame)
{
    const GuideAnswers sets[] = {
        answers({C::dpadq}),
        answers({C::daapinh, C::menor, C::dpinadeq}),
        answers({C::daapinh, C::maior, C::dmapinh, C::dmrel, C::dmpro, C::dpadq}),
        answers({C::dpadq, C::clsim, C::horcl2, C::direita}),
        answers({C::dpadq, C::clsim, C::horcl2, C::esquerda, C::aberta, C::suave}),
        answers({C::dpadq, C::clsim, C::horcl2, C::sem, C::aberta, C::media, C::desarm, C::dessuave}),
        answers({C::dpadq, C::clsim, C::horcl3, C::aberta, C::severa, C::desarm, C::dessevera}),
        answers({C::dpinadeq, C::clsim, C::profunda, C::media}),
        answers({C::dpinadeq, C::clsim, C::profunda, C::severa, C::desarm, C::dessevera}),
    };
    for (const GuideAnswers& a : sets)
        EXPECT_EQ(RestoreGuideForm(StoreGuideAnswers(a)).answers(), a);
    EXPECT_EQ(RestoreGuideForm(StoreGuideAnswers(answers({}))).answers(), answers({C::dpinadeq}));
}

// A restore onto a shown guide runs from what the guide holds (the window is cleared first);
// a file is restored onto the guide as created.
TEST(GuideRulesRestore, RunsOntoTheFormGiven)
{
    GuideForm shown = InitialGuideForm();
    for (C c : {C::clsim, C::horcl2, C::direita})
        SetGuideControl(shown, c, true);
    StoredGuideAnswers stored;
    stored.clsim = true;
    stored.horcl2 = true;
    stored.subdivisionCode = 'e';
    const GuideForm onto = RestoreGuideForm(stored, shown);
    EXPECT_TRUE(onto.isChecked(C::direita));
    EXPECT_TRUE(onto.isChecked(C::esquerda));
    const GuideForm fresh = RestoreGuideForm(stored);
    EXPECT_FALSE(fresh.isChecked(C::direita));
    EXPECT_TRUE(fresh.isChecked(C::esquerda));
    EXPECT_FALSE(fresh.isEnabled(C::direita));
    EXPECT_FALSE(fresh.isEnabled(C::sem));
}

}  // namespace
