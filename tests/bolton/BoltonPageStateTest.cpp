// The Bolton page's states: each way into a state shows that state's captions and flags; the
// page hands out the sheet it shows and keeps its results as values, whatever a label or caption says.

#include "bolton/BoltonPageFixture.h"

#include "records/BoltonFile.h"

using namespace qv;
using namespace qv::test;
using platform::Answer;
using platform::NoticeKind;

namespace {

class BoltonStates;

struct StateCase {
    const char* name;
    std::function<void(BoltonStates&)> reach;
    BoltonPage::State state;
    bool calcularEnabled;
    const char* limpar;
    bool abrirb;
    bool entriesLocked;
    bool molarsLocked;
};

class BoltonStates : public BoltonPageTest, public ::testing::WithParamInterface<StateCase> {
public:
    void calculateAll() { calculate(); }
    void calculateAnsweringYes()
    {
        fillTeeth();
        dialogs.answers.push_back(Answer::Yes);
        button(QStringLiteral("bCalcular"))->click();
        EXPECT_EQ(dialogs.take().type, Box::Question);
    }
    void openStored()
    {
        BoltonSheet s;
        s.bpaciente = QStringLiteral("ANA");
        for (int k = 0; k < 12; ++k) {
            s.s[size_t(k)] = QString::fromLatin1(kUpper[k]);
            s.i[size_t(k)] = QString::fromLatin1(kLower[k]);
        }
        work.write(QStringLiteral("Análises/ANA.bol"), EncodeBoltonSheet(s));
        dialogs.files.push_back(work.file(QStringLiteral("Análises/ANA.bol")));
        page.babrirClick();
        EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    }
    void stopAtTheTable()
    {
        work.remove(QStringLiteral("Bolton.cef"));
        calculate();
        EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
    }
    void refusedReopen() { reopenRefused(); }
    void limpar() { page.blimparClick(); }
    void newAnalysis() { page.NewAnalysis(); }
};

TEST_P(BoltonStates, ShowTheirCaptionsAndFlags)
{
    const StateCase& c = GetParam();
    c.reach(*this);
    EXPECT_EQ(page.state(), c.state);
    EXPECT_EQ(page.calculated(), c.state != BoltonPage::State::Entry);
    EXPECT_EQ(page.opened(), c.abrirb);
    EXPECT_EQ(button(QStringLiteral("bCalcular"))->isEnabled(), c.calcularEnabled);
    EXPECT_EQ(button(QStringLiteral("blimpar"))->text(), QString::fromLatin1(c.limpar));
    EXPECT_EQ(abrirb()->isChecked(), c.abrirb);
    EXPECT_TRUE(abrirb()->isHidden());
    for (QLineEdit* f : teethAndName())
        EXPECT_EQ(f->isReadOnly(), c.entriesLocked) << f->objectName().toStdString();
    for (QLineEdit* f : molarFields())
        EXPECT_EQ(f->isReadOnly(), c.molarsLocked) << f->objectName().toStdString();
    // The results shown are the results kept.
    for (size_t k = 0; k < kBoltonResultLabels.size(); ++k)
        EXPECT_EQ(label(QString::fromLatin1(kBoltonResultLabels[k].name))->text(), page.results().*kBoltonResultLabels[k].text)
            << kBoltonResultLabels[k].name;
}

using S = BoltonPage::State;
INSTANTIATE_TEST_SUITE_P(
    Bolton, BoltonStates,
    ::testing::Values(
        StateCase{"fresh", [](BoltonStates&) {}, S::Entry, true, "LIMPAR", false, false, false},
        StateCase{"calculated", [](BoltonStates& t) { t.calculateAll(); }, S::Calculated,
                  false, "VOLTAR", false, true, false},
        StateCase{"calculatedAfterMolarQuestion",
                  [](BoltonStates& t) { t.calculateAnsweringYes(); }, S::Calculated, false,
                  "VOLTAR", false, true, true},
        StateCase{"voltar",
                  [](BoltonStates& t) {
                      t.calculateAnsweringYes();
                      t.limpar();
                  },
                  S::Entry, true, "LIMPAR", false, false, false},
        StateCase{"opened", [](BoltonStates& t) { t.openStored(); }, S::Opened, false,
                  "LIMPAR", true, true, false},
        StateCase{"openedThenLimpar",
                  [](BoltonStates& t) {
                      t.openStored();
                      t.limpar();
                  },
                  S::Entry, true, "LIMPAR", false, false, false},
        StateCase{"reopenRefused", [](BoltonStates& t) { t.refusedReopen(); }, S::Entry, true,
                  "LIMPAR", true, false, false},
        StateCase{"reopenRefusedThenCalculated",
                  [](BoltonStates& t) {
                      t.refusedReopen();
                      t.calculateAll();
                  },
                  S::Opened, false, "LIMPAR", true, true, false},
        StateCase{"stoppedAtTheTable", [](BoltonStates& t) { t.stopAtTheTable(); }, S::Entry,
                  true, "LIMPAR", false, false, false},
        StateCase{"newAfterCalculation",
                  [](BoltonStates& t) {
                      t.calculateAnsweringYes();
                      t.newAnalysis();
                  },
                  S::Entry, true, "LIMPAR", false, false, false}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

TEST_F(BoltonPageTest, DecisionsFollowTheStateNotTheCaptionsOrHiddenBoxes)
{
    calculate();
    // Someone changes what the page shows; the page still knows it is calculated.
    button(QStringLiteral("blimpar"))->setText(QStringLiteral("LIMPAR"));
    abrirb()->setChecked(true);
    label(QStringLiteral("diag12"))->clear();
    button(QStringLiteral("bsalvar"))->click();  // saves: the results are kept, not read back
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Arquivo Gravado com sucesso!"), kBoltonCaption);
    page.blimparClick();  // VOLTAR: the entries stay
    EXPECT_EQ(page.state(), BoltonPage::State::Entry);
    EXPECT_FALSE(page.opened());
    EXPECT_EQ(field(QStringLiteral("s01"))->text(), QStringLiteral("10.0"));
    EXPECT_TRUE(page.results().diag12.isEmpty());
}

TEST_F(BoltonPageTest, ShowsASheetFieldByFieldAndHandsItBack)
{
    BoltonSheet sheet;
    for (const BoltonField& f : BoltonFields())
        f.of(sheet) = QStringLiteral("%1.5").arg(f.fileOffset);  // a different text in every field
    sheet.bpaciente = QStringLiteral("JOÃO");
    page.show(sheet);
    for (const BoltonField& f : BoltonFields()) {
        QLineEdit* e = field(f.objectName);
        EXPECT_EQ(e->text(), f.of(sheet)) << f.objectName.toStdString();
        EXPECT_EQ(e->accessibleName(), f.caption) << f.objectName.toStdString();
    }
    EXPECT_EQ(page.sheet(), sheet);
}

TEST_F(BoltonPageTest, ResultsAreTheCalculationsOfTheSheet)
{
    calculate();
    const BoltonResults expected = ComputeBolton(page.sheet(), ReadBoltonTables());
    for (const BoltonResultLabel& l : kBoltonResultLabels)
        EXPECT_EQ(page.results().*l.text, expected.*l.text) << l.name;
    page.blimparClick();
    for (const BoltonResultLabel& l : kBoltonResultLabels)
        EXPECT_TRUE((page.results().*l.text).isEmpty()) << l.name;
}

}  // namespace
