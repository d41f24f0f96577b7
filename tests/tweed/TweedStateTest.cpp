// Every state of the Tweed page looks as its row of the state table says, whichever way it
// was reached, and the hidden flags show the page's own flags.

#include "TweedPageFixture.h"

#include <functional>

namespace qv::test {
namespace {

struct Look {
    TweedPage::State state;
    const char* calcular;
    bool calcularEnabled;
    const char* limpar;
    bool dcShown;
    bool locked;  // inputs read-only, total disabled
    bool parcial, completo, abrir;
};

struct Path {
    const char* name;
    std::function<void(TweedPageTest&)> reach;
    Look look;
};

void PrintTo(const Path& p, std::ostream* os) { *os << p.name; }

class TweedStates : public TweedPageTest, public ::testing::WithParamInterface<Path> {};

TEST_P(TweedStates, CaptionsFlagsAndLocking)
{
    GetParam().reach(*this);
    const Look& l = GetParam().look;
    EXPECT_EQ(page->state(), l.state);
    EXPECT_EQ(button("tCalcular")->text().toStdString(), l.calcular);
    EXPECT_EQ(button("tCalcular")->isEnabled(), l.calcularEnabled);
    EXPECT_EQ(button("tLimpar")->text().toStdString(), l.limpar);
    for (const char* n : {"dcopc", "dcsim", "dcnao"})
        EXPECT_EQ(shown(n), l.dcShown) << n;
    for (const char* n : {"twPaciente", "Idade", "twfma", "twafp", "anaer", "anpep", "anmspee"})
        EXPECT_EQ(edit(n)->isReadOnly(), l.locked) << n;
    EXPECT_EQ(button("total")->isEnabled(), !l.locked);
    EXPECT_EQ(flag("parcial")->isChecked(), l.parcial);
    EXPECT_EQ(flag("completo")->isChecked(), l.completo);
    EXPECT_EQ(flag("abrir")->isChecked(), l.abrir);
}

using S = TweedPage::State;
using platform::Answer;

void calc(TweedPageTest& t, Answer a)
{
    t.fillSample();
    t.calculateAnswering(a);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TweedStates,
    ::testing::Values(
        Path{"Start", [](TweedPageTest&) {}, {S::Editing, "CALCULAR", true, "LIMPAR", false, false, false, false, false}},
        Path{"ClosedQuestion", [](TweedPageTest& t) { calc(t, Answer::Closed); },
             {S::Editing, "CALCULAR", true, "LIMPAR", false, false, false, false, false}},
        Path{"ImpaChoice", [](TweedPageTest& t) { calc(t, Answer::No); },
             {S::ImpaChoice, "CALCULAR", true, "LIMPAR", true, false, false, false, false}},
        Path{"Concluded", [](TweedPageTest& t) { calc(t, Answer::Yes); },
             {S::Concluded, "GUIA DIAGNÓSTICO", true, "VOLTAR", false, true, true, false, false}},
        Path{"ConcludedAfterChoice",
             [](TweedPageTest& t) {
                 calc(t, Answer::No);
                 t.edit("dcopcres")->setText(QStringLiteral("90.0"));
                 t.calculateAnswering(Answer::Yes);
             },
             {S::Concluded, "GUIA DIAGNÓSTICO", true, "VOLTAR", true, true, true, false, false}},
        Path{"Diagnosed",
             [](TweedPageTest& t) {
                 calc(t, Answer::Yes);
                 t.page->model().concludeDiagnosis(GuideAnswers{});
             },
             {S::Diagnosed, "GUIA DIAGNÓSTICO", false, "VOLTAR", false, true, true, false, false}},
        Path{"VoltarFromDiagnosed",
             [](TweedPageTest& t) {
                 calc(t, Answer::Yes);
                 t.page->model().concludeDiagnosis(GuideAnswers{});
                 t.page->tLimparClick();
             },
             {S::Editing, "CALCULAR", true, "LIMPAR", false, false, false, false, false}},
        Path{"NovoFromChoice",
             [](TweedPageTest& t) {
                 calc(t, Answer::No);
                 t.page->NewAnalysis();
             },
             {S::Editing, "CALCULAR", true, "LIMPAR", false, false, false, false, false}}),
    [](const ::testing::TestParamInfo<Path>& info) { return std::string(info.param.name); });

// The hidden check boxes only show the flags: changing one by hand decides nothing.
TEST_F(TweedPageTest, HiddenFlagsAreNotReadBack)
{
    fillSample();
    calculateAnswering(Answer::Yes);
    page->tsalvarClick();
    dialogs.take();  // saved
    flag("parcial")->setChecked(false);
    page->tsalvarClick();
    dialogs.expectNotice(platform::NoticeKind::Error, QStringLiteral("Já existe análise salva para este paciente!"),
                         kTweedCaption);
}

}  // namespace
}  // namespace qv::test
