// The Bolton page: its controls, CALCULAR with its questions and failures, the three states,
// LIMPAR / VOLTAR, and the entry rules of its fields.

#include "bolton/BoltonPageFixture.h"

#include "analysis/BoltonMemo.h"
#include "records/IoError.h"

#include <QApplication>
#include <QFile>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QTest>
#include <QTextEdit>

#include <cstring>
#include <functional>
#include <optional>

using namespace qv;
using namespace qv::test;
using platform::Answer;
using platform::NoticeKind;

namespace {

const QString kMolarHint = QStringLiteral("Área de transferência para Análise Total de Espaço");

TEST_F(BoltonPageTest, ControlsCarryTheirNamesAndCaptions)
{
    EXPECT_EQ(page.objectName(), QStringLiteral("TabSheet2"));
    EXPECT_EQ(page.findChild<QGroupBox*>(QStringLiteral("dtd"))->title(), QStringLiteral("Discrepância de Tamanho Dentário"));
    EXPECT_EQ(page.findChild<QGroupBox*>(QStringLiteral("diag"))->title(), QStringLiteral("Diagnóstico"));
    const std::pair<const char*, const char*> buttons[] = {{"bCalcular", "CALCULAR"}, {"blimpar", "LIMPAR"},
                                                           {"bsalvar", "SALVAR"},     {"babrir", "ABRIR"},
                                                           {"bsair", "SAIR"},         {"bimprimir", "IMPRIMIR"}};
    for (const auto& [name, caption] : buttons) {
        QPushButton* b = button(QString::fromLatin1(name));
        EXPECT_EQ(b->text(), QString::fromLatin1(caption));
        EXPECT_TRUE(b->font().bold()) << name;
        EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor) << name;
    }
    ASSERT_NE(abrirb(), nullptr);
    EXPECT_EQ(abrirb()->text(), QStringLiteral("abrirb"));
    EXPECT_TRUE(abrirb()->isHidden());
    EXPECT_FALSE(abrirb()->isChecked());
    EXPECT_TRUE(resultsEmpty());
    ASSERT_NE(page.findChild<QTextEdit*>(QStringLiteral("Memo12")), nullptr);
    ASSERT_NE(page.findChild<QTextEdit*>(QStringLiteral("Memo6")), nullptr);
}

TEST_F(BoltonPageTest, ScreenReadersHearWhatTheClinicianSees)
{
    EXPECT_EQ(field(QStringLiteral("bpaciente"))->accessibleName(), QStringLiteral("Paciente"));
    for (int k = 1; k <= 12; ++k) {
        EXPECT_EQ(field(tooth('s', k))->accessibleName(), QStringLiteral("Superior %1").arg(k));
        EXPECT_EQ(field(tooth('i', k))->accessibleName(), QStringLiteral("Inferior %1").arg(k));
    }
    EXPECT_EQ(field(QStringLiteral("termole"))->accessibleName(), QStringLiteral("Terceiro molar inferior esquerdo"));
    EXPECT_EQ(field(QStringLiteral("segmole"))->accessibleName(), QStringLiteral("Segundo molar inferior esquerdo"));
    EXPECT_EQ(field(QStringLiteral("segmold"))->accessibleName(), QStringLiteral("Segundo molar inferior direito"));
    EXPECT_EQ(field(QStringLiteral("termold"))->accessibleName(), QStringLiteral("Terceiro molar inferior direito"));
    // A result label is read by its value; its caption comes as the description.
    for (const BoltonResultLabel& l : kBoltonResultLabels) {
        QLabel* result = label(QString::fromLatin1(l.name));
        EXPECT_TRUE(result->accessibleName().isEmpty()) << l.name;
        EXPECT_FALSE(result->accessibleDescription().isEmpty()) << l.name;
    }
    EXPECT_EQ(label(QStringLiteral("sup12res"))->accessibleDescription(), QStringLiteral("S 12"));
    EXPECT_EQ(label(QStringLiteral("inf6res"))->accessibleDescription(), QStringLiteral("I 06"));
    EXPECT_EQ(label(QStringLiteral("x10012res"))->accessibleDescription(), QStringLiteral("I 12 x 100"));
    EXPECT_EQ(label(QStringLiteral("tab12res"))->accessibleDescription(), QStringLiteral("Tab 12"));
}

TEST_F(BoltonPageTest, ResultsAreBlueExcessesRedKeyValuesBold)
{
    auto colour = [&](const char* name) { return label(QString::fromLatin1(name))->palette().color(QPalette::WindowText); };
    for (const char* name : {"sup12res", "sup6res", "inf12res", "inf6res", "cinf12res", "csup12res", "x10012res", "cinf6res",
                             "csup6res", "x1006res", "busca12", "busca12res", "tab12res", "busca6", "busca6res", "tab6res",
                             "diag12", "diag6"})
        EXPECT_EQ(colour(name), QColor(0, 0, 255)) << name;
    EXPECT_EQ(colour("res12"), QColor(255, 0, 0));
    EXPECT_EQ(colour("res6"), QColor(255, 0, 0));
    for (const char* name : {"x10012res", "x1006res", "res12", "res6", "diag12", "diag6"})
        EXPECT_TRUE(label(QString::fromLatin1(name))->font().bold()) << name;
    EXPECT_FALSE(label(QStringLiteral("sup12res"))->font().bold());
}

TEST_F(BoltonPageTest, MolarFieldsAreGreyWithTheirHint)
{
    for (QLineEdit* m : molarFields()) {
        EXPECT_EQ(m->toolTip(), kMolarHint);
        EXPECT_EQ(m->palette().color(QPalette::Base), m->palette().color(QPalette::Button));
    }
    EXPECT_NE(field(QStringLiteral("s01"))->palette().color(QPalette::Base),
              field(QStringLiteral("s01"))->palette().color(QPalette::Button));
}

TEST_F(BoltonPageTest, CalculateFillsTheWorksheetCountsAndLocks)
{
    calculate();
    EXPECT_EQ(resultTexts(),
              (QStringList{"92.0", "45.0", "87.0", "37.0", "87.0", "92.0", "94.6 %", "37.0", "45.0", "82.2 %",
                           "+ 91.3 :", "87.0", "I 12", "Exc I", "+ 77.2 :", "37.0", "I 06", "Exc I", "84.0", "34.7",
                           "3.0", "2.3",
                           "Soma dos 12 dentes (distal do\r1º molar à distal do 1º molar do\rlado oposto).",
                           "Excesso mandibular de 3.0mm",
                           "Soma dos 6 dentes anteriores\r(distal do canino à distal do canino\rdo lado oposto).",
                           "Excesso mandibular de 2.3mm"}));
    EXPECT_EQ(boltonCount(), 1);
    EXPECT_EQ(state(), State::Calculated);
    // The molars went without a question, so they stay open for the total space window.
    EXPECT_TRUE(noneReadOnly(molarFields()));
}

TEST_F(BoltonPageTest, EveryCompletedCalculationCounts)
{
    calculate();
    page.blimparClick();  // VOLTAR
    button(QStringLiteral("bCalcular"))->click();
    EXPECT_EQ(boltonCount(), 2);
}

struct MolarPath {
    const char* name;
    const char *termole, *segmold;
    bool opened;                 // abrirb checked before CALCULAR
    std::optional<Answer> answer;  // the question is asked when set
    bool goesAhead;
    bool molarsLocked;
};

class MolarQuestion : public BoltonPageTest, public ::testing::WithParamInterface<MolarPath> {};

TEST_P(MolarQuestion, DecidesWhetherToGoOnAndLockTheMolars)
{
    const MolarPath& p = GetParam();
    if (p.opened)
        reopenRefused();
    fillTeeth();
    fillMolars(QString::fromLatin1(p.termole), QStringLiteral("0.0"), QString::fromLatin1(p.segmold), QStringLiteral("0.0"));
    if (p.answer)
        dialogs.answers.push_back(*p.answer);
    button(QStringLiteral("bCalcular"))->click();

    if (p.answer) {
        const Box question = dialogs.take();
        EXPECT_EQ(question.type, Box::Question);
        EXPECT_EQ(question.caption, QStringLiteral("Confirm"));
        EXPECT_EQ(question.text, kMolarQuestion);
        EXPECT_FALSE(question.hideItemEnabled);
    }
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_EQ(boltonCount(), p.goesAhead ? 1 : 0);
    if (!p.goesAhead) {
        EXPECT_TRUE(resultsEmpty());
        EXPECT_EQ(state(), State::Entry);
        return;
    }
    EXPECT_EQ(label(QStringLiteral("diag12"))->text(), QStringLiteral("Excesso mandibular de 3.0mm"));
    EXPECT_EQ(allReadOnly(molarFields()), p.molarsLocked);
    EXPECT_EQ(noneReadOnly(molarFields()), !p.molarsLocked);
    EXPECT_EQ(button(QStringLiteral("blimpar"))->text(), p.opened ? QStringLiteral("LIMPAR") : QStringLiteral("VOLTAR"));
}

INSTANTIATE_TEST_SUITE_P(
    Bolton, MolarQuestion,
    ::testing::Values(MolarPath{"filledNoQuestion", "11.0", "10.5", false, std::nullopt, true, false},
                      MolarPath{"oneEmptyYes", "", "10.5", false, Answer::Yes, true, true},
                      MolarPath{"oneEmptyNo", "11.0", "", false, Answer::No, false, false},
                      MolarPath{"oneEmptyClosed", "", "10.5", false, Answer::Closed, false, false},
                      MolarPath{"allZeroYes", "0.0", "0.0", false, Answer::Yes, true, true},
                      MolarPath{"allZeroNo", "0.0", "0.0", false, Answer::No, false, false},
                      MolarPath{"openedNeverAsks", "", "", true, std::nullopt, true, false}),
    [](const ::testing::TestParamInfo<MolarPath>& info) { return std::string(info.param.name); });

using Edits = std::vector<std::pair<QString, QString>>;

struct Refusal {
    const char* name;
    Edits edits;  // field, text
    const char* warning;
};

Edits teeth(char row, int first, int last, const QString& text, int odd = 0, const QString& oddText = {})
{
    Edits out;
    for (int k = first; k <= last; ++k)
        out.emplace_back(QStringLiteral("%1%2").arg(QChar(row)).arg(k, 2, 10, QLatin1Char('0')), k == odd ? oddText : text);
    return out;
}

class Refusals : public BoltonPageTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(Refusals, WarnBeforeAnythingIsCountedOrWritten)
{
    fillAll();
    for (const auto& [name, text] : GetParam().edits)
        field(name)->setText(text);
    button(QStringLiteral("bCalcular"))->click();
    dialogs.expectNotice(NoticeKind::Warning, QString::fromUtf8(GetParam().warning), kBoltonCaption);
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_EQ(boltonCount(), 0);
    EXPECT_TRUE(resultsEmpty());
    EXPECT_EQ(state(), State::Entry);
}

INSTANTIATE_TEST_SUITE_P(
    Bolton, Refusals,
    ::testing::Values(
        Refusal{"emptyTooth", {{"i10", ""}}, "Todos os campos devem ser preenchidos antes do cálculo!"},
        Refusal{"emptyName", {{"bpaciente", ""}}, "Todos os campos devem ser preenchidos antes do cálculo!"},
        // 0.04 is not zero, but shows as 0.0 and would be divided by.
        Refusal{"upperShowsZero", teeth('s', 1, 12, "0.0", 5, "0.04"),
                "A soma dos 12 dentes superiores não pode ser igual a ZERO!"},
        Refusal{"lowerAnteriorZero", teeth('i', 4, 9, "0.0"),
                "A soma dos 6 dentes anteriores inferiores não pode ser igual a ZERO!"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(BoltonPageTest, MissingTableStopsAfterTheSumsAndLeavesCalcularEnabled)
{
    work.remove(QStringLiteral("Bolton.cef"));
    calculate();
    dialogs.expectNotice(NoticeKind::Error, IoError::cannotOpen(QStringLiteral("Bolton.cef")).message(), QStringLiteral("Quorvel"));
    EXPECT_EQ(boltonCount(), 1);
    EXPECT_EQ(label(QStringLiteral("x10012res"))->text(), QStringLiteral("94.6 %"));
    EXPECT_EQ(label(QStringLiteral("busca6res"))->text(), QStringLiteral("37.0"));
    EXPECT_EQ(label(QStringLiteral("res6info"))->text(), QStringLiteral("Exc I"));
    for (const char* name : {"tab12res", "tab6res", "res12", "res6", "diag12info", "diag12", "diag6info", "diag6"})
        EXPECT_TRUE(label(QString::fromLatin1(name))->text().isEmpty()) << name;
    EXPECT_EQ(state(), State::Entry);

    // Once the file is back, CALCULAR goes through without a restart.
    QFile original(QStringLiteral(QUORVEL_DATA_DIR "/Bolton.cef"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    work.write(QStringLiteral("Bolton.cef"), original.readAll());
    button(QStringLiteral("bCalcular"))->click();
    EXPECT_EQ(label(QStringLiteral("diag12"))->text(), QStringLiteral("Excesso mandibular de 3.0mm"));
    EXPECT_EQ(boltonCount(), 2);
    EXPECT_EQ(state(), State::Calculated);
}

TEST_F(BoltonPageTest, ShortTableIsReportedAsShort)
{
    work.write(QStringLiteral("Bolton.cef"), work.read(QStringLiteral("Bolton.cef")).left(904));
    calculate();
    dialogs.expectNotice(NoticeKind::Error, IoError::tooShort(QStringLiteral("Bolton.cef")).message(), QStringLiteral("Quorvel"));
    EXPECT_TRUE(label(QStringLiteral("tab12res"))->text().isEmpty());
    EXPECT_EQ(state(), State::Entry);
}

TEST_F(BoltonPageTest, MissingStatisticsStopsBeforeAnyResult)
{
    work.remove(QStringLiteral("Stats.cef"));
    calculate();
    dialogs.expectNotice(NoticeKind::Error, IoError::cannotOpen(QStringLiteral("Stats.cef")).message(), QStringLiteral("Quorvel"));
    EXPECT_TRUE(resultsEmpty());
    EXPECT_EQ(state(), State::Entry);
}

TEST_F(BoltonPageTest, ChangedTableTakesEffectAtTheNextCalculation)
{
    // Record 77 is the mandibular value of the overall row S 92.
    QByteArray table = work.read(QStringLiteral("Bolton.cef"));
    const double changed = 80.0;
    std::memcpy(table.data() + 77 * 8, &changed, 8);
    work.write(QStringLiteral("Bolton.cef"), table);
    calculate();
    EXPECT_EQ(label(QStringLiteral("tab12res"))->text(), QStringLiteral("80.0"));
    EXPECT_EQ(label(QStringLiteral("res12"))->text(), QStringLiteral("7.0"));
}

TEST_F(BoltonPageTest, VoltarKeepsTheEntriesAndUnlocksEverything)
{
    fillTeeth();
    fillMolars(QString());
    dialogs.answers.push_back(Answer::Yes);
    button(QStringLiteral("bCalcular"))->click();
    dialogs.take();
    ASSERT_TRUE(allReadOnly(molarFields()));

    button(QStringLiteral("blimpar"))->click();
    EXPECT_TRUE(resultsEmpty());
    EXPECT_EQ(state(), State::Entry);
    EXPECT_TRUE(noneReadOnly(molarFields()));
    EXPECT_EQ(field(QStringLiteral("bpaciente"))->text(), QStringLiteral("MARIA DA SILVA"));
    EXPECT_EQ(field(QStringLiteral("s12"))->text(), QStringLiteral("10.0"));
    EXPECT_EQ(field(QStringLiteral("segmole"))->text(), QStringLiteral("10.5"));
}

TEST_F(BoltonPageTest, LimparEmptiesEveryEntry)
{
    reopenRefused();
    fillAll();
    button(QStringLiteral("blimpar"))->click();
    for (QLineEdit* f : teethAndName() + molarFields())
        EXPECT_TRUE(f->text().isEmpty()) << f->objectName().toStdString();
    EXPECT_FALSE(abrirb()->isChecked());
    EXPECT_EQ(state(), State::Entry);
}

TEST_F(BoltonPageTest, NewAnalysisEmptiesACalculatedPage)
{
    calculate();
    page.NewAnalysis();
    EXPECT_EQ(state(), State::Entry);
    EXPECT_TRUE(resultsEmpty());
    for (QLineEdit* f : teethAndName() + molarFields())
        EXPECT_TRUE(f->text().isEmpty()) << f->objectName().toStdString();
}

// Typing, as the clinician does.
void type(QWidget* w, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void leave(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &out);
}

TEST_F(BoltonPageTest, ToothFieldsTakeFourPositiveDecimalCharacters)
{
    QLineEdit* s03 = field(QStringLiteral("s03"));
    type(s03, QStringLiteral("7,5."));  // a second point is dropped without a word
    EXPECT_EQ(s03->text(), QStringLiteral("7.5"));
    type(s03, QStringLiteral("25"));  // the fifth character does not go in
    EXPECT_EQ(s03->text(), QStringLiteral("7.52"));

    QLineEdit* i01 = field(QStringLiteral("i01"));
    type(i01, QStringLiteral("a"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores REAIS POSITIVOS!"), kBoltonCaption);
    type(i01, QStringLiteral("-"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores REAIS POSITIVOS!"), kBoltonCaption);
    EXPECT_TRUE(i01->text().isEmpty());

    type(i01, QStringLiteral("123"));
    leave(i01);
    EXPECT_EQ(i01->text(), QStringLiteral("123.0"));
    QLineEdit* i02 = field(QStringLiteral("i02"));
    type(i02, QStringLiteral("7."));
    leave(i02);
    EXPECT_EQ(i02->text(), QStringLiteral("7.0"));
}

TEST_F(BoltonPageTest, MolarFieldsHaveNoLengthLimit)
{
    QLineEdit* termole = field(QStringLiteral("termole"));
    type(termole, QStringLiteral("12.345"));
    EXPECT_EQ(termole->text(), QStringLiteral("12.345"));
    type(termole, QStringLiteral("x"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores REAIS POSITIVOS!"), kBoltonCaption);
}

TEST_F(BoltonPageTest, PatientNameTakesCapitals)
{
    QLineEdit* name = field(QStringLiteral("bpaciente"));
    type(name, QStringLiteral("joão, sá"));
    EXPECT_EQ(name->text(), QStringLiteral("JOÃO, SÁ"));
    type(name, QStringLiteral("3"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores ALFABÉTICOS!"), kBoltonCaption);
    type(name, QStringLiteral("/"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores ALFABÉTICOS!"), kBoltonCaption);
    EXPECT_EQ(name->text(), QStringLiteral("JOÃO, SÁ"));
}

TEST_F(BoltonPageTest, LockedFieldsTakeNoTyping)
{
    calculate();
    type(field(QStringLiteral("s01")), QStringLiteral("5"));
    EXPECT_EQ(field(QStringLiteral("s01"))->text(), QStringLiteral("10.0"));
    // The molars stay open: they feed the total space window.
    field(QStringLiteral("termold"))->clear();
    type(field(QStringLiteral("termold")), QStringLiteral("9.5"));
    EXPECT_EQ(field(QStringLiteral("termold"))->text(), QStringLiteral("9.5"));
}

TEST_F(BoltonPageTest, ReferenceMemosAreFixedTextsWithoutMenus)
{
    const std::pair<const char*, QString> memos[] = {{"Memo12", Memo12Text()}, {"Memo6", Memo6Text()}};
    for (const auto& [name, text] : memos) {
        auto* memo = page.findChild<QTextEdit*>(QString::fromLatin1(name));
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->toPlainText(), text);
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->viewport()->cursor().shape(), Qt::ArrowCursor);
        type(memo, QStringLiteral("9"));
        EXPECT_EQ(memo->toPlainText(), text);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), memo->viewport()->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(memo->viewport(), &menu);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << name;
    }
    QLineEdit* s01 = field(QStringLiteral("s01"));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), s01->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(s01, &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(BoltonPageTest, SairEndsTheProgramThroughTheContext)
{
    int requests = 0;
    context.setExitProgram([&] { ++requests; });
    button(QStringLiteral("bsair"))->click();
    EXPECT_EQ(requests, 1);
}

}  // namespace
