// The Tweed page on real widgets: calculation, IMPA question, locking, VOLTAR, LIMPAR, "&Novo",
// the links to the guide and the total space window, entry rules and screen-reader texts.
#include "TweedPageFixture.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QtTest>

#include <functional>

namespace qv::test {
namespace {

using platform::Answer;
using platform::NoticeKind;

const std::string kQuestion87 = "             IMPA = 87.0\rDeseja Manter o IMPA atual?";

void leave(QLineEdit* field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &out);
}

QColor colourOf(QLabel* l) { return l->palette().color(QPalette::WindowText); }

TEST_F(TweedPageTest, StartsEmptyInEditing)
{
    EXPECT_EQ(page->objectName().toStdString(), "TabSheet1");
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    for (const char* n : kEntryFields)
        EXPECT_EQ(text(n), "") << n;
    for (const char* n : kResultLabels)
        EXPECT_EQ(text(n), "") << n;
    EXPECT_TRUE(radio("inicial")->isChecked());
    EXPECT_FALSE(radio("GenMasc")->isChecked());
    EXPECT_FALSE(radio("GenFem")->isChecked());
    EXPECT_TRUE(radio("dcsim")->isChecked());
    for (const char* n : {"dcopc", "dcsim", "dcnao", "dcopcres", "parcial", "completo", "abrir"})
        EXPECT_FALSE(shown(n)) << n;
    EXPECT_EQ(button("tCalcular")->text().toStdString(), "CALCULAR");
    EXPECT_EQ(button("tLimpar")->text().toStdString(), "LIMPAR");
    EXPECT_EQ(colourOf(label("idlabel")), QColor(255, 0, 0));
    EXPECT_EQ(colourOf(label("hornres")), QLabel().palette().color(QPalette::WindowText));
    EXPECT_EQ(find<DiagnosisPanel>("ds"), page->panel());
    EXPECT_EQ(find<QCheckBox>("abrir")->parentWidget(), page->panel());
}

// ---- refusals ----

struct Refusal {
    const char* name;
    std::function<void(TweedPageTest&)> change;
    const char* warning;
};

class TweedPageRefusal : public TweedPageTest, public ::testing::WithParamInterface<Refusal> {};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

TEST_P(TweedPageRefusal, WarnsAndChangesNothing)
{
    fillSample();
    GetParam().change(*this);
    const qint32 before = tweedCount();
    page->tCalcularClick();
    dialogs.expectNotice(NoticeKind::Warning, QString::fromUtf8(GetParam().warning), kTweedCaption);
    for (const char* n : kResultLabels)
        EXPECT_EQ(text(n), "") << n;
    EXPECT_EQ(tweedCount(), before);
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    EXPECT_FALSE(edit("twfma")->isReadOnly());
}

const char* const kIncomplete = "Todos os campos devem ser preenchidos antes do cálculo!";

INSTANTIATE_TEST_SUITE_P(
    Tweed, TweedPageRefusal,
    ::testing::Values(
        Refusal{"name", [](TweedPageTest& t) { t.edit("twPaciente")->clear(); }, kIncomplete},
        Refusal{"age", [](TweedPageTest& t) { t.edit("Idade")->clear(); }, kIncomplete},
        Refusal{"fma", [](TweedPageTest& t) { t.edit("twfma")->clear(); }, kIncomplete},
        Refusal{"posteriorPresent", [](TweedPageTest& t) { t.edit("anpep")->clear(); }, kIncomplete},
        Refusal{"ownImpaEmpty", [](TweedPageTest& t) { t.radio("dcnao")->setChecked(true); }, kIncomplete},
        Refusal{"gender",
                [](TweedPageTest& t) {
                    t.radio("GenMasc")->group()->setExclusive(false);
                    t.radio("GenMasc")->setChecked(false);
                },
                "O gênero do paciente não foi selecionado!"},
        Refusal{"afaZero", [](TweedPageTest& t) { t.edit("twafa")->setText("0.0"); },
                "O valor do campo AFA deve ser diferente de ZERO!"},
        Refusal{"afaPointZero", [](TweedPageTest& t) { t.edit("twafa")->setText(".0"); },
                "O valor do campo AFA deve ser diferente de ZERO!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TweedPageTest, ZeroAfaPutsTheFocusInAfa)
{
    fillSample();
    edit("twafa")->setText("0.0");
    page->show();
    QApplication::setActiveWindow(page.get());
    button("tCalcular")->setFocus();
    page->tCalcularClick();
    dialogs.take();
    EXPECT_TRUE(edit("twafa")->hasFocus());
}

// ---- the IMPA question ----

TEST_F(TweedPageTest, YesConcludesAndLocksThePage)
{
    fillSample();
    radio("inter2")->setChecked(true);
    QAction popOcultar;
    dialogs.setHideItem(&popOcultar);
    const qint32 before = tweedCount();
    const Box q = calculateAnswering(Answer::Yes);
    EXPECT_EQ(q.text.toStdString(), kQuestion87);
    EXPECT_EQ(q.caption.toStdString(), "Confirm");
    EXPECT_FALSE(q.hideItemEnabled);  // "&Ocultar" is disabled while the question is up
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_EQ(tweedCount(), before + 1);

    EXPECT_EQ(text("twanbres"), "3.5");
    EXPECT_EQ(text("twafpafares"), "66%");
    EXPECT_EQ(text("hornres"), "Face Equilibrada");
    EXPECT_EQ(colourOf(label("hornres")), QColor(0, 128, 0));
    EXPECT_EQ(text("dcfmares"), "25.0");
    EXPECT_EQ(text("dcfmiares"), "68.0");
    EXPECT_EQ(text("dcimpares"), "87.0");
    EXPECT_EQ(text("dcdcres"), "-6.4");
    EXPECT_EQ(text("anadcres"), "-6.4");
    EXPECT_EQ(text("anantres"), "-8.9");
    EXPECT_EQ(text("anpcresres"), "9.0");
    EXPECT_EQ(text("andiscres"), "-8.4");
    EXPECT_EQ(text("idtotres"), "16.7");
    EXPECT_EQ(text("idlabel"), "ÍNDICE DE DIFICULDADE SUAVE: 16.7");
    EXPECT_EQ(colourOf(label("idlabel")), QColor(0, 128, 0));
    EXPECT_EQ(colourOf(label("idtotres")), QColor(0, 128, 0));

    EXPECT_EQ(page->state(), TweedPage::State::Concluded);
    EXPECT_EQ(button("tCalcular")->text().toStdString(), "GUIA DIAGNÓSTICO");
    EXPECT_EQ(button("tLimpar")->text().toStdString(), "VOLTAR");
    EXPECT_FALSE(button("total")->isEnabled());
    for (const char* n : kEntryFields)
        EXPECT_TRUE(edit(n)->isReadOnly()) << n;
    EXPECT_TRUE(edit("dcopcres")->isReadOnly());
    EXPECT_TRUE(radio("GenMasc")->isEnabled());
    EXPECT_FALSE(radio("GenFem")->isEnabled());
    EXPECT_TRUE(radio("inter2")->isEnabled());
    EXPECT_TRUE(radio("inter2")->isChecked());
    for (const char* n : {"inicial", "inter1", "final"})
        EXPECT_FALSE(radio(n)->isEnabled()) << n;
    EXPECT_TRUE(radio("dcsim")->isEnabled());
    EXPECT_FALSE(radio("dcnao")->isEnabled());
    EXPECT_TRUE(flag("parcial")->isChecked());
    EXPECT_EQ(calls, std::vector<std::string>{"clearSpaceEntry"});
    EXPECT_EQ(spaceClearedLocked, std::vector<bool>{true});
}

TEST_F(TweedPageTest, NoLetsTheClinicianChooseTheImpa)
{
    fillSample();
    const qint32 before = tweedCount();
    calculateAnswering(Answer::No);
    EXPECT_EQ(page->state(), TweedPage::State::ImpaChoice);
    for (const char* n : {"dcopc", "dcsim", "dcnao", "dcopcres"})
        EXPECT_TRUE(shown(n)) << n;
    EXPECT_TRUE(radio("dcnao")->isChecked());
    EXPECT_EQ(text("dcopcres"), "");
    EXPECT_EQ(text("idtotres"), "16.7");  // results stay shown
    EXPECT_FALSE(flag("parcial")->isChecked());
    EXPECT_FALSE(edit("twfma")->isReadOnly());

    // Without an IMPA of his own the page is incomplete.
    page->tCalcularClick();
    dialogs.expectNotice(NoticeKind::Warning, QString::fromUtf8(kIncomplete), kTweedCaption);
    EXPECT_EQ(tweedCount(), before + 1);

    QTest::keyClicks(edit("dcopcres"), "90");
    leave(edit("dcopcres"));
    EXPECT_EQ(text("dcopcres"), "90.0");
    const Box q = calculateAnswering(Answer::Yes);
    EXPECT_EQ(q.text.toStdString(), "             IMPA = 90.0\rDeseja Manter o IMPA atual?");
    EXPECT_EQ(text("dcimpares"), "90.0");
    EXPECT_EQ(text("dcdcres"), "-4.0");
    EXPECT_EQ(text("anadcres"), "-4.0");
    EXPECT_EQ(tweedCount(), before + 2);
    EXPECT_EQ(page->state(), TweedPage::State::Concluded);
    EXPECT_FALSE(radio("dcsim")->isEnabled());
    EXPECT_TRUE(radio("dcnao")->isEnabled());
}

TEST_F(TweedPageTest, SimInImpaChoiceReturnsToTheComputedTarget)
{
    fillSample();
    calculateAnswering(Answer::No);
    edit("dcopcres")->setText("90.0");
    radio("dcsim")->click();
    EXPECT_FALSE(shown("dcopcres"));
    EXPECT_EQ(text("dcopcres"), "");
    const Box q = calculateAnswering(Answer::No);
    EXPECT_EQ(q.text.toStdString(), kQuestion87);
    EXPECT_EQ(text("dcdcres"), "-6.4");
    // Asked again: "Não" is checked again and the own IMPA emptied.
    EXPECT_TRUE(radio("dcnao")->isChecked());
    EXPECT_TRUE(shown("dcopcres"));
}

TEST_F(TweedPageTest, ClosedQuestionLeavesTheResultsAndTheState)
{
    fillSample();
    const qint32 before = tweedCount();
    calculateAnswering(Answer::Closed);
    EXPECT_EQ(tweedCount(), before + 1);
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    EXPECT_EQ(text("idtotres"), "16.7");
    EXPECT_EQ(button("tLimpar")->text().toStdString(), "LIMPAR");
    EXPECT_FALSE(edit("twfma")->isReadOnly());
    EXPECT_FALSE(flag("parcial")->isChecked());
    EXPECT_TRUE(calls.empty());
}

TEST_F(TweedPageTest, OpenedAnalysisConcludesWithoutTheQuestion)
{
    // An opened file whose recalculation was refused leaves the page editable but opened.
    fillSample();
    TweedSheet stored = page->sheet();
    const QString afp = stored.twafp;
    stored.twafp.clear();
    work.write(QStringLiteral("Análises/ANA-INICIAL.twe"), EncodeTweed(stored));
    page->NewAnalysis();
    page->openFile(QStringLiteral("Análises/ANA-INICIAL.twe"));
    dialogs.expectNotice(platform::NoticeKind::Warning, RefusalText(TweedRefusal::Incomplete), kTweedCaption);
    ASSERT_TRUE(flag("abrir")->isChecked());

    edit("twafp")->setText(afp);
    radio("dcnao")->setChecked(true);
    edit("dcopcres")->setText("90.0");
    page->tCalcularClick();
    EXPECT_TRUE(dialogs.pending().empty());
    EXPECT_EQ(page->state(), TweedPage::State::Concluded);
    EXPECT_EQ(button("tLimpar")->text().toStdString(), "LIMPAR");
    EXPECT_EQ(text("dcimpares"), "87.0");
    EXPECT_EQ(text("dcdcres"), "-4.0");
    EXPECT_TRUE(flag("parcial")->isChecked());
    // LIMPAR is then the full clear.
    page->tLimparClick();
    EXPECT_FALSE(flag("abrir")->isChecked());
    EXPECT_EQ(text("twPaciente"), "");
}

// ---- Stats.cef ----

struct StatsFault {
    const char* name;
    std::function<void(WorkFolder&)> breakFile;
};

class TweedPageStats : public TweedPageTest, public ::testing::WithParamInterface<StatsFault> {};

void PrintTo(const StatsFault& f, std::ostream* os) { *os << f.name; }

TEST_P(TweedPageStats, UncountedCalculationWritesNothing)
{
    fillSample();
    calculateAnswering(Answer::Closed);
    const std::vector<std::string> before = resultTexts();
    GetParam().breakFile(work);
    const QByteArray bytes = work.read(QStringLiteral("Stats.cef"));

    edit("twsna")->setText("90.0");
    edit("twafp")->setText("50.0");
    page->tCalcularClick();
    const Box b = dialogs.take();
    EXPECT_EQ(b.type, Box::Notice);
    EXPECT_EQ(b.kind, NoticeKind::Error);
    EXPECT_EQ(b.caption.toStdString(), "Quorvel");
    EXPECT_TRUE(b.text.startsWith(QStringLiteral("Erro de entrada/saída"))) << b.text.toStdString();
    EXPECT_EQ(resultTexts(), before);
    EXPECT_EQ(colourOf(label("hornres")), QColor(0, 128, 0));
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Tweed, TweedPageStats,
    ::testing::Values(StatsFault{"missing", [](WorkFolder& w) { w.remove(QStringLiteral("Stats.cef")); }},
                      StatsFault{"short", [](WorkFolder& w) { w.write(QStringLiteral("Stats.cef"), QByteArray(8, '\0')); }},
                      // Readable but not replaceable, even for root: no file can be created beside the
                      // target (Linux); a read-only file (Windows).
                      StatsFault{"unwritable",
                                 [](WorkFolder& w) {
                                     if (!test::kLinuxTools) {
                                         ASSERT_TRUE(QFile::setPermissions(w.file(QStringLiteral("Stats.cef")), QFile::ReadOwner));
                                         return;
                                     }
                                     w.remove(QStringLiteral("Stats.cef"));
                                     ASSERT_TRUE(QFile::link(QStringLiteral("/proc/version"), w.file(QStringLiteral("Stats.cef"))));
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- VOLTAR, LIMPAR, "&Novo" ----

TEST_F(TweedPageTest, VoltarKeepsTheInputsAndEmptiesTheResults)
{
    fillSample();
    radio("inter2")->setChecked(true);
    radio("anmcl2")->setChecked(true);
    calculateAnswering(Answer::Yes);
    page->model().setPanel(SamplePanel());
    page->tLimparClick();

    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    for (const auto& [name, value] : kSamplePatient)
        EXPECT_EQ(text(name), value) << name;
    EXPECT_TRUE(radio("GenMasc")->isChecked());
    EXPECT_TRUE(radio("anmcl2")->isChecked());
    for (const char* n : kResultLabels)
        EXPECT_EQ(text(n), "") << n;
    EXPECT_TRUE(radio("inicial")->isChecked());
    EXPECT_EQ(button("tLimpar")->text().toStdString(), "LIMPAR");
    EXPECT_EQ(button("tCalcular")->text().toStdString(), "CALCULAR");
    EXPECT_TRUE(button("total")->isEnabled());
    for (const char* n : kEntryFields)
        EXPECT_FALSE(edit(n)->isReadOnly()) << n;
    for (const char* n : {"GenMasc", "GenFem", "inicial", "inter1", "inter2", "final", "dcsim", "dcnao"})
        EXPECT_TRUE(radio(n)->isEnabled()) << n;
    EXPECT_FALSE(flag("parcial")->isChecked());
    EXPECT_EQ(page->panel()->state(), PanelState{});
    // Colours stay as the calculation left them.
    EXPECT_EQ(colourOf(label("hornres")), QColor(0, 128, 0));
    EXPECT_EQ(colourOf(label("idlabel")), QColor(0, 128, 0));
    // The space window was cleared when the calculation concluded; the guide keeps its answers.
    EXPECT_EQ(calls, std::vector<std::string>{"clearSpaceEntry"});
}

TEST_F(TweedPageTest, LimparAfterNoEmptiesEverything)
{
    fillSample();
    radio("anmcl3")->setChecked(true);
    calculateAnswering(Answer::No);
    edit("dcopcres")->setText("91.0");
    page->tLimparClick();

    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    for (const char* n : kEntryFields)
        EXPECT_EQ(text(n), "") << n;
    for (const char* n : kResultLabels)
        EXPECT_EQ(text(n), "") << n;
    for (const char* n : {"dcopc", "dcsim", "dcnao", "dcopcres"})
        EXPECT_FALSE(shown(n)) << n;
    EXPECT_EQ(text("dcopcres"), "");
    EXPECT_TRUE(radio("dcsim")->isChecked());
    for (const char* n : {"GenMasc", "GenFem", "anmcl2", "anmcl3"})
        EXPECT_FALSE(radio(n)->isChecked()) << n;
    EXPECT_EQ(calls, (std::vector<std::string>{"clearSpaceEntry", "clearGuide"}));
    EXPECT_EQ(colourOf(label("idlabel")), QColor(0, 128, 0));
}

TEST_F(TweedPageTest, NovoAfterYesEndsInTheFullClear)
{
    fillSample();
    radio("final")->setChecked(true);
    calculateAnswering(Answer::Yes);
    page->NewAnalysis();
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    for (const char* n : kEntryFields)
        EXPECT_EQ(text(n), "") << n;
    for (const char* n : kResultLabels)
        EXPECT_EQ(text(n), "") << n;
    EXPECT_FALSE(radio("GenMasc")->isChecked());
    EXPECT_TRUE(radio("inicial")->isChecked());
    EXPECT_TRUE(radio("GenFem")->isEnabled());
    // Conclusion, then VOLTAR (nothing), then LIMPAR.
    EXPECT_EQ(calls, (std::vector<std::string>{"clearSpaceEntry", "clearSpaceEntry", "clearGuide"}));
}

// ---- the guide ----

TEST_F(TweedPageTest, GuideReadsTheAreasAndEndsDiagnosed)
{
    fillSample();
    calculateAnswering(Answer::Yes);
    const qint32 before = tweedCount();
    page->tCalcularClick();
    EXPECT_EQ(calls.back(), "openGuide");
    EXPECT_EQ(tweedCount(), before);
    const GuideInputs r = page->model().diagnosisReadings();
    EXPECT_EQ(r.anterior.toStdString(), "-8.9");
    EXPECT_EQ(r.middle.toStdString(), "-4.5");
    EXPECT_EQ(r.posterior.toStdString(), "5.0");
    EXPECT_EQ(r.anb.toStdString(), "3.5");
    // The guide is asked for with the page's caption and exactly these results.
    ASSERT_EQ(guideReadings.size(), 1u);
    EXPECT_EQ(guideCaptions.back(), kTweedCaption);
    EXPECT_EQ(guideReadings.back().anterior, r.anterior);
    EXPECT_EQ(guideReadings.back().middle, r.middle);
    EXPECT_EQ(guideReadings.back().posterior, r.posterior);
    EXPECT_EQ(guideReadings.back().anb, r.anb);

    page->model().setPanel(SamplePanel());
    page->model().concludeDiagnosis(GuideAnswers{});
    EXPECT_EQ(page->state(), TweedPage::State::Diagnosed);
    EXPECT_FALSE(button("tCalcular")->isEnabled());

    page->tLimparClick();  // VOLTAR
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    EXPECT_TRUE(button("tCalcular")->isEnabled());
    EXPECT_EQ(page->panel()->state(), PanelState{});
}

TEST_F(TweedPageTest, CalculationEmptiesThePanel)
{
    fillSample();
    page->model().setPanel(SamplePanel());
    calculateAnswering(Answer::Closed);
    EXPECT_EQ(page->panel()->state(), PanelState{});
}

TEST_F(TweedPageTest, ButtonsReachTheirWindows)
{
    button("total")->click();
    button("tSair")->click();
    EXPECT_EQ(calls, (std::vector<std::string>{"openSpaceEntry", "exitProgram"}));
}

// ---- entry rules ----

struct KeyCase {
    const char* field;
    const char* refusal;  // the warning for "-", or null when "-" is accepted
};

class TweedPageKeys : public TweedPageTest, public ::testing::WithParamInterface<KeyCase> {};

void PrintTo(const KeyCase& k, std::ostream* os) { *os << k.field; }

TEST_P(TweedPageKeys, MinusFollowsTheFieldsFamily)
{
    QLineEdit* e = edit(GetParam().field);
    QTest::keyClick(e, '-');
    if (GetParam().refusal) {
        dialogs.expectNotice(NoticeKind::Warning, QString::fromUtf8(GetParam().refusal), kTweedCaption);
        EXPECT_EQ(e->text().toStdString(), "");
    } else {
        EXPECT_EQ(e->text().toStdString(), "-");
    }
}

const char* const kPositive = "Este campo só admite valores REAIS POSITIVOS!";

INSTANTIATE_TEST_SUITE_P(
    Tweed, TweedPageKeys,
    ::testing::Values(KeyCase{"twfma", kPositive}, KeyCase{"twfmia", kPositive}, KeyCase{"twimpa", kPositive},
                      KeyCase{"twploc", kPositive}, KeyCase{"twsna", kPositive}, KeyCase{"twsnb", kPositive},
                      KeyCase{"twangz", kPositive}, KeyCase{"twafa", kPositive}, KeyCase{"twafp", kPositive},
                      KeyCase{"dcopcres", kPositive}, KeyCase{"twaobo", nullptr}, KeyCase{"twls", nullptr},
                      KeyCase{"twqt", nullptr}, KeyCase{"anaer", nullptr}, KeyCase{"anaep", nullptr},
                      KeyCase{"anmer", nullptr}, KeyCase{"anmep", nullptr}, KeyCase{"anmspee", nullptr},
                      KeyCase{"anmcorr", nullptr}, KeyCase{"anper", nullptr}, KeyCase{"anpep", nullptr},
                      KeyCase{"Idade", "Este campo só admite valores INTEIROS POSITIVOS!"},
                      KeyCase{"twPaciente", "Este campo só admite valores ALFABÉTICOS!"}),
    [](const auto& info) { return std::string(info.param.field); });

TEST_F(TweedPageTest, DecimalFieldsTakeFiveTypedCharacters)
{
    QTest::keyClicks(edit("twfma"), "123456");
    EXPECT_EQ(text("twfma"), "12345");
    QTest::keyClicks(edit("twPaciente"), "maria jose da silva");
    EXPECT_EQ(text("twPaciente"), "MARIA JOSE DA SILVA");
}

TEST_F(TweedPageTest, SpeeIsMadeNegativeAndMolarCorrectionWarns)
{
    QTest::keyClicks(edit("anmspee"), "3");
    leave(edit("anmspee"));
    EXPECT_EQ(text("anmspee"), "-3.0");

    radio("anmcl2")->setChecked(true);
    QTest::keyClicks(edit("anmcorr"), "2");
    leave(edit("anmcorr"));
    EXPECT_EQ(text("anmcorr"), "2.0");
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Para Classe II, Correção Molar deveria ser NEGATIVA!"),
                         kTweedCaption);
}

TEST_F(TweedPageTest, LockedFieldStillRefusesWithItsWarning)
{
    fillSample();
    calculateAnswering(Answer::Yes);
    QTest::keyClick(edit("twfma"), '-');
    dialogs.expectNotice(NoticeKind::Warning, QString::fromUtf8(kPositive), kTweedCaption);
    QTest::keyClick(edit("twfma"), '5');
    EXPECT_EQ(text("twfma"), "25.0");
}

// ---- screen readers ----

QString accessibleName(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

TEST_F(TweedPageTest, EntryFieldsAreNamedByTheirCaptions)
{
    const std::vector<std::pair<const char*, const char*>> captions = {
        {"twfma", "FMA (22° a 28°)"},   {"twploc", "Pl. ocl. - Hf (8° a 12°)"}, {"twsna", "SNA ( 80° a 84°)"},
        {"twaobo", "AO - BO ( 0 a 4 mm)"}, {"twafp", "AFP"},                 {"anaer", "ER"},
        {"anmspee", "Curva Spee"},      {"anmcorr", "Correção Molar"},          {"Idade", "Idade"},
        {"twPaciente", "Paciente"},     {"dcopcres", "Deseja manter este IMPA?"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(accessibleName(edit(name)).toStdString(), caption) << name;
    EXPECT_EQ(edit("anaer")->accessibleDescription().toStdString(), "Área Anterior - ER");
    EXPECT_EQ(edit("anpep")->accessibleDescription().toStdString(), "Área Posterior - EP");
}

TEST_F(TweedPageTest, ResultLabelsShowTheirValueAndDescribeTheirCaption)
{
    const std::vector<std::pair<const char*, const char*>> descriptions = {
        {"twanbres", "ANB ( 1° a 5°)"},
        {"twafpafares", "AFP / AFA ( 65% a 75%)"},
        {"hornres", "Índice de Altura Facial de Horn"},
        {"dcfmares", "Discrepância Cefalométrica - FMA"},
        {"dcdcres", "Discrepância Cefalométrica - DC"},
        {"anadmres", "Área Anterior - DM"},
        {"anmdmres", "Área Média - DM"},
        {"anpdmres", "Área Posterior - DM"},
        {"anadcres", "Área Anterior - DC"},
        {"andiscres", "Discrepância Total"},
        {"idfmares", "Índice de Dificuldade - FMA"},
        {"idsub1res", "Índice de Dificuldade - Sub Total"},
        {"iddcres", "Índice de Dificuldade - DC"},
        {"idtotres", "Índice de Dificuldade - Total"}};
    for (const auto& [name, description] : descriptions)
        EXPECT_EQ(label(name)->accessibleDescription().toStdString(), description) << name;
    for (const char* n : kResultLabels)
        EXPECT_TRUE(label(n)->accessibleName().isEmpty()) << n;
    fillSample();
    calculateAnswering(Answer::Closed);
    EXPECT_EQ(accessibleName(label("twanbres")).toStdString(), "3.5");
    EXPECT_EQ(accessibleName(label("idlabel")).toStdString(), "ÍNDICE DE DIFICULDADE SUAVE: 16.7");
}

}  // namespace
}  // namespace qv::test
