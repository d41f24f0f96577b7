#include "guide/GuideWindow.h"

#include "analysis/DiagnosisGeneration.h"
#include "support/FakeDialogs.h"
#include "support/WorkFolder.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

using namespace qv;
using qv::platform::NoticeKind;

namespace {

const QString kGuide = QStringLiteral("Guia Diagnóstico");
const QString kTweed = QStringLiteral("Análise de Tweed");
const QString kSuggestive = QStringLiteral(
    "O diagnóstico gerado é meramente sugestivo, devendo o profissional considerar\r"
    "              outros aspectos antes da definição do plano de tratamento!");

class GuideTest : public test::WorkFolderTest {
protected:
    GuideTest()
    {
        dialogs.setHideItem(&popOcultar);
        QObject::connect(&window, &GuideWindow::mainWindowEnabledRequested, &window,
                         [this](bool enabled) { form2Enabled = enabled; });
        QObject::connect(&window, &GuideWindow::diagnosisGenerated, &window,
                         [this](const PanelState& p, const GuideAnswers& a) {
                             panel = p;
                             guideCountWhenFilled = StatsGuideCount();
                             concludedWith = a;
                             ++concluded;
                         });
        QObject::connect(&window, &GuideWindow::answersChanged, &window,
                         [this](const GuideAnswers& a) { lastAnswers = a; });
    }

    QAbstractButton* control(const char* name) const
    {
        QAbstractButton* b = window.answerControl(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    void set(const char* name, bool checked) { window.setAnswer(QString::fromLatin1(name), checked); }
    void check(std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            set(n, true);
    }

    qint32 StatsGuideCount() const
    {
        const QByteArray b = work.read(QStringLiteral("Stats.cef"));
        return b.size() >= 16 ? qFromLittleEndian<qint32>(b.constData() + 12) : -1;
    }

    // Opens the guide as the Tweed page does, taking the notice about the suggestion.
    void open()
    {
        window.Open(kTweed, tweedValues);
        dialogs.expectNotice(NoticeKind::Information, kSuggestive, kTweed);
    }

    QAction popOcultar;
    GuideWindow window{dialogs};
    bool form2Enabled = true;
    GuideInputs tweedValues{QStringLiteral("-4.0"), QStringLiteral("-2.0"), QStringLiteral("-6.0"), QStringLiteral("4.0")};
    std::optional<PanelState> panel;
    qint32 guideCountWhenFilled = -1;
    int concluded = 0;
    GuideAnswers concludedWith;
    std::optional<GuideAnswers> lastAnswers;
};

// ---- The window ----

TEST_F(GuideTest, WindowNamesCaptionsAndFrame)
{
    EXPECT_EQ(window.objectName(), QStringLiteral("Form3"));
    EXPECT_EQ(window.windowTitle(), kGuide);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);

    auto* cl = window.findChild<QGroupBox*>(QStringLiteral("cl"));
    ASSERT_NE(cl, nullptr);
    EXPECT_EQ(cl->title(), QStringLiteral("Marque a existência ou não dos seguintes complementos para diagnóstico:"));
    const std::vector<std::pair<const char*, const char*>> labels{
        {"da", "A - Discrepância Anterior:"}, {"dm", "B - Discrepância Média:"},
        {"dp", "C - Discrepância Posterior:"}, {"de", "D - Desarmonia Esquelética:"},
        {"clpergunta", "Paciente possui desarmonia esquelética?"},
        {"Label1", "__________________________________________"}, {"Label2", "__________________________________________"}};
    for (const auto& [name, text] : labels) {
        auto* l = cl->findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text().toStdString(), text);
    }
    const std::vector<std::pair<const char*, const char*>> buttons{
        {"gcancelar", "CANCELAR"}, {"glimpar", "LIMPAR"}, {"gdiag", "DIAGNÓSTICO"}};
    for (const auto& [name, text] : buttons) {
        auto* b = window.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text().toStdString(), text);
    }
    // Every answer control lies in the group, under its name.
    for (const char* name : {"daapinh", "menor", "maior", "dmapinh", "dmrel", "dmpro", "dpadq", "dpinadeq", "clsim", "clnao",
                             "horcl2", "direita", "esquerda", "sem", "horcl3", "aberta", "profunda", "suave", "media", "severa",
                             "desarm", "dessuave", "dessevera"})
        EXPECT_EQ(cl->findChild<QAbstractButton*>(QString::fromLatin1(name)), control(name)) << name;
}

TEST_F(GuideTest, RepeatedCaptionsAreDescribedToScreenReaders)
{
    const std::vector<std::pair<const char*, const char*>> described{
        {"clsim", "Paciente possui desarmonia esquelética?"}, {"clnao", "Paciente possui desarmonia esquelética?"},
        {"suave", "Vertical - Mordida Aberta"},  {"media", "Vertical - Mordida Aberta"},
        {"severa", "Vertical - Mordida Aberta"}, {"dessuave", "Desarmonia Facial"},
        {"dessevera", "Desarmonia Facial"}};
    for (const auto& [name, description] : described)
        EXPECT_EQ(control(name)->accessibleDescription().toStdString(), description) << name;
    QAccessibleInterface* media = QAccessible::queryAccessibleInterface(control("media"));
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(media->text(QAccessible::Name), QStringLiteral("Média"));

    check({"clsim", "profunda"});
    EXPECT_EQ(media->text(QAccessible::Name), QStringLiteral("Suave"));
    EXPECT_EQ(control("media")->accessibleDescription(), QStringLiteral("Vertical - Mordida Profunda"));
    EXPECT_EQ(control("severa")->accessibleDescription(), QStringLiteral("Vertical - Mordida Profunda"));
    set("profunda", false);
    EXPECT_EQ(control("severa")->accessibleDescription(), QStringLiteral("Vertical - Mordida Aberta"));
}

// ---- Consistency rules ----

struct Expect {
    const char* name;
    const char* state;  // words among: shown hidden enabled disabled checked unchecked, or caption=...
};

struct RuleCase {
    const char* name;
    std::vector<std::pair<const char*, bool>> steps;
    std::vector<Expect> expected;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class GuideRuleTest : public GuideTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(GuideRuleTest, States)
{
    for (const auto& [name, checked] : GetParam().steps)
        set(name, checked);
    for (const Expect& e : GetParam().expected) {
        QWidget* w = window.findChild<QWidget*>(QString::fromLatin1(e.name));
        ASSERT_NE(w, nullptr) << e.name;
        for (const QString& word : QString::fromUtf8(e.state).split(u' ', Qt::SkipEmptyParts)) {
            SCOPED_TRACE(std::string(e.name) + " " + word.toStdString());
            if (word == u"shown")
                EXPECT_FALSE(w->isHidden());
            else if (word == u"hidden")
                EXPECT_TRUE(w->isHidden());
            else if (word == u"enabled")
                EXPECT_TRUE(w->isEnabled());
            else if (word == u"disabled")
                EXPECT_FALSE(w->isEnabled());
            else if (word == u"checked")
                EXPECT_TRUE(qobject_cast<QAbstractButton*>(w)->isChecked());
            else if (word == u"unchecked")
                EXPECT_FALSE(qobject_cast<QAbstractButton*>(w)->isChecked());
            else if (word.startsWith(u"caption="))
                EXPECT_EQ(qobject_cast<QAbstractButton*>(w)->text(), word.mid(8));
            else
                ADD_FAILURE() << "unknown word";
        }
    }
}

const char* const kGone = "hidden enabled unchecked";
const char* const kFree = "shown enabled unchecked";

INSTANTIATE_TEST_SUITE_P(
    Table, GuideRuleTest,
    ::testing::Values(
        RuleCase{"Initial",
                 {},
                 {{"clnao", "shown checked"}, {"clsim", "shown unchecked"}, {"daapinh", kFree}, {"menor", kGone}, {"maior", kGone},
                  {"dmapinh", kFree}, {"dmrel", kFree}, {"dmpro", kFree}, {"dpadq", kFree}, {"dpinadeq", kFree},
                  {"horcl2", kGone}, {"direita", kGone}, {"esquerda", kGone}, {"sem", kGone}, {"horcl3", kGone},
                  {"aberta", kGone}, {"profunda", kGone}, {"suave", kGone}, {"media", "hidden enabled unchecked caption=Média"},
                  {"severa", kGone}, {"desarm", kGone}, {"dessuave", kGone}, {"dessevera", kGone},
                  {"Label1", "hidden"}, {"Label2", "hidden"}}},
        RuleCase{"SimShowsTheDisharmonies",
                 {{"clsim", true}},
                 {{"clnao", "unchecked"}, {"horcl2", kFree}, {"horcl3", kFree}, {"aberta", kFree}, {"profunda", kFree},
                  {"desarm", kFree}, {"Label1", "shown"}, {"Label2", "shown"}, {"direita", kGone}, {"suave", kGone},
                  {"dessuave", kGone}}},
        RuleCase{"ClassIIWithRightSubdivision",
                 {{"clsim", true}, {"horcl2", true}, {"direita", true}},
                 {{"horcl3", "shown disabled unchecked"}, {"direita", "shown enabled checked"}, {"esquerda", "shown disabled"},
                  {"sem", "shown disabled"}}},
        RuleCase{"NaoHidesClassIIAndFreesPartners",
                 {{"clsim", true}, {"horcl2", true}, {"direita", true}, {"clnao", true}},
                 {{"horcl2", kGone}, {"horcl3", kGone}, {"direita", kGone}, {"esquerda", kGone}, {"sem", kGone},
                  {"Label1", "hidden"}, {"Label2", "hidden"}}},
        RuleCase{"LeftSubdivision", {{"clsim", true}, {"horcl2", true}, {"esquerda", true}},
                 {{"direita", "disabled"}, {"sem", "disabled"}, {"esquerda", "enabled checked"}}},
        RuleCase{"NoSubdivisionThenUnchecked", {{"clsim", true}, {"horcl2", true}, {"sem", true}, {"sem", false}},
                 {{"direita", kFree}, {"esquerda", kFree}, {"sem", kFree}}},
        RuleCase{"UncheckingClassIIHidesSubdivisions", {{"clsim", true}, {"horcl2", true}, {"esquerda", true}, {"horcl2", false}},
                 {{"horcl3", kFree}, {"direita", kGone}, {"esquerda", kGone}, {"sem", kGone}}},
        RuleCase{"ClassIIIDisablesClassII", {{"clsim", true}, {"horcl3", true}}, {{"horcl2", "shown disabled unchecked"}}},
        RuleCase{"ClassIIIReleased", {{"clsim", true}, {"horcl3", true}, {"horcl3", false}}, {{"horcl2", kFree}}},
        RuleCase{"OpenBiteShowsThreeGrades", {{"clsim", true}, {"aberta", true}},
                 {{"profunda", "shown disabled"}, {"suave", kFree}, {"media", "shown enabled unchecked caption=Média"}, {"severa", kFree}}},
        RuleCase{"OpenBiteMedium", {{"clsim", true}, {"aberta", true}, {"media", true}},
                 {{"suave", "shown disabled"}, {"severa", "shown disabled"}, {"media", "enabled checked"}}},
        RuleCase{"OpenBiteMild", {{"clsim", true}, {"aberta", true}, {"suave", true}},
                 {{"media", "disabled"}, {"severa", "disabled"}}},
        RuleCase{"OpenBiteSevere", {{"clsim", true}, {"aberta", true}, {"severa", true}},
                 {{"suave", "disabled"}, {"media", "disabled"}}},
        RuleCase{"OpenBiteReleasedWithGrade", {{"clsim", true}, {"aberta", true}, {"suave", true}, {"aberta", false}},
                 {{"profunda", kFree}, {"suave", kGone}, {"media", kGone}, {"severa", kGone}}},
        RuleCase{"DeepBiteBorrowsMediaAsSuave", {{"clsim", true}, {"profunda", true}},
                 {{"aberta", "shown disabled"}, {"suave", kGone}, {"media", "shown enabled unchecked caption=Suave"}, {"severa", kFree}}},
        RuleCase{"DeepBiteMildDisablesSevereOnly", {{"clsim", true}, {"profunda", true}, {"media", true}},
                 {{"severa", "shown disabled"}, {"suave", "hidden enabled"}}},
        RuleCase{"DeepBiteSevereDisablesMildOnly", {{"clsim", true}, {"profunda", true}, {"severa", true}},
                 {{"media", "shown disabled"}, {"suave", "hidden enabled"}}},
        RuleCase{"DeepBiteReleasedRestoresMedia", {{"clsim", true}, {"profunda", true}, {"media", true}, {"profunda", false}},
                 {{"aberta", kFree}, {"suave", kGone}, {"media", "hidden enabled unchecked caption=Média"}, {"severa", kGone}}},
        RuleCase{"DeepBiteSevereReleased", {{"clsim", true}, {"profunda", true}, {"severa", true}, {"profunda", false}},
                 {{"suave", kGone}, {"media", "hidden enabled unchecked caption=Média"}, {"severa", kGone}}},
        RuleCase{"FacialGrades", {{"clsim", true}, {"desarm", true}, {"dessuave", true}},
                 {{"dessuave", "shown enabled checked"}, {"dessevera", "shown disabled unchecked"}}},
        RuleCase{"FacialSevere", {{"clsim", true}, {"desarm", true}, {"dessevera", true}}, {{"dessuave", "shown disabled"}}},
        RuleCase{"FacialReleased", {{"clsim", true}, {"desarm", true}, {"dessevera", true}, {"desarm", false}},
                 {{"dessuave", kGone}, {"dessevera", kGone}}},
        RuleCase{"CrowdingSizes", {{"daapinh", true}}, {{"menor", kFree}, {"maior", kFree}}},
        RuleCase{"CrowdingSmall", {{"daapinh", true}, {"menor", true}}, {{"maior", "shown disabled"}}},
        RuleCase{"CrowdingLarge", {{"daapinh", true}, {"maior", true}}, {{"menor", "shown disabled"}}},
        RuleCase{"CrowdingReleased", {{"daapinh", true}, {"maior", true}, {"daapinh", false}}, {{"menor", kGone}, {"maior", kGone}}},
        RuleCase{"ThirdMolarsAdequate", {{"dpadq", true}}, {{"dpinadeq", "shown disabled unchecked"}}},
        RuleCase{"ThirdMolarsInadequate", {{"dpinadeq", true}}, {{"dpadq", "shown disabled unchecked"}}},
        RuleCase{"ThirdMolarsReleased", {{"dpinadeq", true}, {"dpinadeq", false}}, {{"dpadq", kFree}}},
        RuleCase{"MiddleAreaHasNoRules", {{"dmapinh", true}, {"dmrel", true}, {"dmpro", true}},
                 {{"dmapinh", "enabled checked"}, {"dmrel", "enabled checked"}, {"dmpro", "enabled checked"}, {"daapinh", kFree}}},
        RuleCase{"NaoCascadesThroughEveryDisharmony",
                 {{"clsim", true}, {"horcl2", true}, {"sem", true}, {"profunda", true}, {"media", true}, {"desarm", true},
                  {"dessuave", true}, {"clnao", true}},
                 {{"horcl2", kGone}, {"sem", kGone}, {"direita", kGone}, {"esquerda", kGone}, {"horcl3", kGone}, {"aberta", kGone},
                  {"profunda", kGone}, {"suave", kGone}, {"media", "hidden enabled unchecked caption=Média"}, {"severa", kGone},
                  {"desarm", kGone}, {"dessuave", kGone}, {"dessevera", kGone}}},
        RuleCase{"SimAgainShowsEverythingBlank",
                 {{"clsim", true}, {"aberta", true}, {"severa", true}, {"horcl3", true}, {"clnao", true}, {"clsim", true}},
                 {{"horcl2", kFree}, {"horcl3", kFree}, {"aberta", kFree}, {"profunda", kFree}, {"desarm", kFree}, {"suave", kGone},
                  {"severa", kGone}}},
        RuleCase{"UncheckingARadioChecksItsPartner", {{"clnao", false}}, {{"clsim", "checked"}, {"horcl2", kFree}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GuideTest, SettingTheHeldStateRunsNoRule)
{
    // A rule run again would hide the box shown here by hand.
    control("horcl2")->show();
    set("clnao", true);
    EXPECT_FALSE(control("horcl2")->isHidden());
    check({"daapinh", "menor"});
    control("maior")->setEnabled(true);
    set("menor", true);
    EXPECT_TRUE(control("maior")->isEnabled());
}

TEST_F(GuideTest, RulesFollowMouseClicks)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Clicks land on the indicator at the left of each box.
    const auto click = [&](const char* name) {
        QAbstractButton* b = control(name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    };
    click("clsim");
    click("profunda");
    EXPECT_TRUE(window.answer(QStringLiteral("profunda")));
    click("media");
    EXPECT_TRUE(window.answer(QStringLiteral("media")));
    EXPECT_FALSE(control("severa")->isEnabled());
    click("severa");  // disabled: no effect
    EXPECT_FALSE(window.answer(QStringLiteral("severa")));
    click("clnao");
    EXPECT_TRUE(control("profunda")->isHidden());
    EXPECT_EQ(control("media")->text(), QStringLiteral("Média"));
    window.hide();
}

TEST_F(GuideTest, AnswersMirrorTheControls)
{
    check({"daapinh", "maior", "dmpro", "dpinadeq", "clsim", "horcl2", "sem", "profunda", "severa", "desarm", "dessuave"});
    GuideAnswers expected;
    expected.daapinh = expected.maior = expected.dmpro = expected.dpinadeq = true;
    expected.clsim = true;
    expected.clnao = false;
    expected.horcl2 = expected.sem = expected.profunda = expected.severa = expected.desarm = expected.dessuave = true;
    EXPECT_EQ(window.answers(), expected);
    EXPECT_EQ(window.answerControl(QStringLiteral("gdiag")), nullptr);
}

TEST_F(GuideTest, LimparResetsEveryAnswer)
{
    check({"daapinh", "menor", "dmapinh", "dmrel", "dmpro", "dpadq", "clsim", "aberta", "suave", "desarm", "dessevera"});
    window.glimparClick();
    EXPECT_EQ(window.answers(), GuideAnswers{});
    EXPECT_TRUE(control("menor")->isHidden());
    EXPECT_TRUE(control("maior")->isEnabled());
    EXPECT_TRUE(control("dpinadeq")->isEnabled());
    EXPECT_TRUE(control("aberta")->isHidden());
    EXPECT_TRUE(control("profunda")->isEnabled());
    EXPECT_TRUE(control("dessuave")->isEnabled());
}

// ---- Opening and leaving ----

TEST_F(GuideTest, OpenDisablesMainWindowAndTrayThroughTheNotice)
{
    popOcultar.setEnabled(true);
    check({"dmrel", "dpadq"});
    bool form2DuringNotice = true;
    dialogs.onBox = [&](const test::Box&) { form2DuringNotice = form2Enabled; };
    window.Open(kTweed, tweedValues);
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Information);
    EXPECT_EQ(box.text, kSuggestive);
    EXPECT_EQ(box.caption, kTweed);
    EXPECT_FALSE(box.hideItemEnabled);
    EXPECT_FALSE(form2DuringNotice);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(popOcultar.isEnabled());
    EXPECT_FALSE(form2Enabled);
    EXPECT_TRUE(window.answer(QStringLiteral("dmrel")) && window.answer(QStringLiteral("dpadq")));
}

TEST_F(GuideTest, CloseBoxKeepsAnswersCancelClearsThem)
{
    open();
    check({"daapinh", "maior", "dpadq", "clsim", "desarm", "dessuave"});
    const GuideAnswers held = window.answers();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(form2Enabled);
    EXPECT_TRUE(popOcultar.isEnabled());

    open();
    EXPECT_EQ(window.answers(), held);
    EXPECT_FALSE(control("dessuave")->isHidden());
    window.gcancelarClick();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(form2Enabled);
    EXPECT_TRUE(popOcultar.isEnabled());

    open();
    EXPECT_EQ(window.answers(), GuideAnswers{});
    window.close();
    EXPECT_FALSE(panel.has_value());
    EXPECT_EQ(concluded, 0);
}

// ---- DIAGNÓSTICO ----

struct ValidationCase {
    const char* name;
    std::vector<const char*> checked;
    const char* message;
};

void PrintTo(const ValidationCase& c, std::ostream* os) { *os << c.name; }

class GuideValidationTest : public GuideTest, public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(GuideValidationTest, OneWarningAndNothingElse)
{
    open();
    for (const char* n : GetParam().checked)
        set(n, true);
    const GuideAnswers before = window.answers();
    const QByteArray stats = work.read(QStringLiteral("Stats.cef"));
    window.gdiagClick();
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Warning);
    EXPECT_EQ(box.text.toStdString(), GetParam().message);
    EXPECT_EQ(box.caption, kGuide);
    EXPECT_FALSE(box.hideItemEnabled);
    EXPECT_TRUE(dialogs.pending().empty());
    // The warning's bracket enables the tray item again; the guide stays open and untouched.
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(form2Enabled);
    EXPECT_EQ(window.answers(), before);
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), stats);
    EXPECT_FALSE(panel.has_value());
    EXPECT_EQ(concluded, 0);
    window.close();
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, GuideValidationTest,
    ::testing::Values(
        ValidationCase{"SizeBeforeMolars", {"daapinh", "clsim"}, " A dimensão do apinhamento não foi informada!"},
        ValidationCase{"Molars", {"clsim", "horcl2"}, " A posição dos terceiros molares deve ser informada!"},
        ValidationCase{"NothingUnderSim", {"dpadq", "clsim"},
                       " Nenhuma Desarmonia selecionada! Caso o paciente não possua\rdesarmonia esquelética marcar a opção NÃO!"},
        ValidationCase{"ClassII", {"dpadq", "clsim", "horcl2", "aberta", "desarm"},
                       " O tipo de Desarmonia Horizontal Classe II não foi selecionado!"},
        ValidationCase{"OpenBite", {"dpadq", "clsim", "horcl2", "sem", "aberta", "desarm"},
                       " O tipo de Desarmonia Vertical - Mordida Aberta não foi selecionado!"},
        ValidationCase{"DeepBite", {"dpinadeq", "clsim", "horcl3", "profunda", "desarm"},
                       " O tipo de Desarmonia Vertical - Mordida Profunda não foi selecionado!"},
        ValidationCase{"Facial", {"dpinadeq", "clsim", "profunda", "media", "desarm"},
                       " O tipo de Desarmonia Facial não foi selecionado!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GuideTest, DiagnosisCountsThenFillsThePanelThroughTheLinks)
{
    work.write(QStringLiteral("Stats.cef"), test::StatsBytes(1, 7, 3, 41) + QByteArray("tail"));
    QByteArray before = work.read(QStringLiteral("Stats.cef"));
    before[2] = char(0x5A);  // padding is written back as read
    work.write(QStringLiteral("Stats.cef"), before);
    tweedValues = {QStringLiteral("-5.0"), QStringLiteral("-4.0"), QStringLiteral("-4.9"), QStringLiteral("3.0")};

    open();
    check({"daapinh", "menor", "dmrel", "dpadq", "clsim", "horcl2", "sem", "aberta", "suave"});
    window.gdiagClick();

    ASSERT_TRUE(panel.has_value());
    EXPECT_EQ(guideCountWhenFilled, 42);  // counted before the panel is filled
    QByteArray after = before.left(16);
    qToLittleEndian<qint32>(42, after.data() + 12);
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")).toHex().toStdString(), after.toHex().toStdString());

    EXPECT_EQ(panel->dsant, QStringLiteral("Extração"));
    EXPECT_EQ(panel->ant.quadrants, (Quadrants{"4", "4", "5", "5"}));
    EXPECT_EQ(panel->med.quadrants, (Quadrants{"8", "8", "8", "8"}));
    EXPECT_TRUE(panel->ou);
    EXPECT_EQ(panel->med2.quadrants, (Quadrants{"4", "4", "5", "5"}));
    EXPECT_EQ(panel->dspos, QStringLiteral("Aguardar desenvolvimento dos\r3º Molares"));
    EXPECT_EQ(panel->dsdesc[3], QStringLiteral("Extração e usar forças\rdirecionais intrusivas"));
    EXPECT_TRUE(panel->ouDesc[2]);
    EXPECT_EQ(*panel, GenerateDiagnosis(tweedValues, window.answers()));

    EXPECT_EQ(concluded, 1);
    EXPECT_EQ(concludedWith, window.answers());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(form2Enabled);
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_TRUE(window.answer(QStringLiteral("suave")));  // the answers stay
}

// Every way the answers change is told, with the answers as they then stand.
TEST_F(GuideTest, EveryChangeOfTheAnswersIsTold)
{
    GuideAnswers stored;
    stored.dmpro = true;
    stored.dpinadeq = true;
    const struct {
        const char* name;
        std::function<void()> change;
    } rows[] = {
        {"checked", [this] { set("daapinh", true); }},
        {"derived", [this] { check({"dpadq", "clsim", "horcl2"}); }},
        {"unchecked", [this] { set("daapinh", false); }},
        {"cleared", [this] { window.glimparClick(); }},
        {"restored", [this, stored] { window.restoreAnswers(stored); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        lastAnswers.reset();
        r.change();
        ASSERT_TRUE(lastAnswers.has_value());
        EXPECT_EQ(*lastAnswers, window.answers());
    }
    EXPECT_TRUE(lastAnswers->dmpro);
    EXPECT_TRUE(lastAnswers->dpinadeq);
}

// A read-only file. Root ignores permission bits, so there the file is also made immutable.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) : m_path(path)
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
#ifdef __linux__
        if (geteuid() == 0)
            m_immutable = setImmutable(true);
#endif
    }
    ~ReadOnlyFile() { writable(); }
    bool effective() const { return !QFileInfo(m_path).isWritable(); }
    void writable()
    {
#ifdef __linux__
        if (m_immutable)
            setImmutable(false);
        m_immutable = false;
#endif
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

private:
#ifdef __linux__
    bool setImmutable(bool on) const
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }
    bool m_immutable = false;
#endif
    QString m_path;
};

TEST_F(GuideTest, StatisticsThatCannotBeWrittenStopTheDiagnosis)
{
    const QByteArray before = work.read(QStringLiteral("Stats.cef"));
    ReadOnlyFile readOnly(work.file(QStringLiteral("Stats.cef")));
    if (!readOnly.effective())
        GTEST_SKIP() << "this file system cannot make a file read-only for this user";

    open();
    check({"dpadq"});
    window.gdiagClick();
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_TRUE(box.text.contains(u"Stats.cef")) << box.text.toStdString();
    EXPECT_FALSE(panel.has_value());
    EXPECT_EQ(concluded, 0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(form2Enabled);
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), before);

    // Once the file can be written again, the same press goes through.
    readOnly.writable();
    window.gdiagClick();
    EXPECT_TRUE(panel.has_value());
    EXPECT_EQ(StatsGuideCount(), qFromLittleEndian<qint32>(before.constData() + 12) + 1);
}

TEST_F(GuideTest, MissingStatisticsFileStopsTheDiagnosis)
{
    work.remove(QStringLiteral("Stats.cef"));
    open();
    check({"dpinadeq"});
    window.gdiagClick();
    EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
    EXPECT_FALSE(panel.has_value());
    EXPECT_FALSE(work.exists(QStringLiteral("Stats.cef")));
    window.close();
}

}  // namespace

namespace {

// Every control stays inside the window with the longest answers shown; with
// QUORVEL_SCREENSHOT_DIR set the window is saved there as a picture.
TEST_F(GuideTest, ScreenshotWithSkeletalAnswersFits)
{
    open();
    check({"daapinh", "maior", "dmapinh", "dmrel", "dpinadeq", "clsim", "horcl2", "sem", "aberta", "media", "desarm",
           "dessevera"});
    QCoreApplication::processEvents();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->isVisible()) {
            EXPECT_TRUE(window.rect().contains(QRect(w->mapTo(&window, QPoint(0, 0)), w->size())))
                << w->objectName().toStdString();
        }
    }
    const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        EXPECT_TRUE(window.grab().save(QDir(shots).filePath(QStringLiteral("guide_window.png"))));
    }
}

}  // namespace
