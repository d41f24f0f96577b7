// The program's windows as the start-up builds them: pages in their tabs, the File menu
// reaching each page's actions with the active page's caption.

#include "bolton/BoltonPage.h"
#include "guide/GuideWindow.h"
#include "shell/Application.h"
#include "spaceentry/SpaceEntryWindow.h"
#include "tweed/TweedPage.h"
#include "tweed/TweedPageFixture.h"
#include "shell/MainWindow.h"
#include "support/WorkFolder.h"
#include "tracing/CephKeys.h"
#include "tracing/CephNormsStore.h"
#include "tracing/NormsDialog.h"
#include "tracing/TracingWindow.h"
#include "patients/PatientsWindow.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include <functional>

#include "records/StatsFile.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace qv;
using qv::platform::NoticeKind;

namespace {

class WiringTest : public qv::test::WorkFolderTest {
protected:
    qv::test::FakeShell shell;
    Windows windows{dialogs, shell};
    MainWindow* form2 = windows.form2();
    QAction* action(const char* name) { return form2->findChild<QAction*>(QLatin1String(name)); }
};

TEST_F(WiringTest, SaveOnThePlanPageRunsTheHistorySaveWithThePlanCaption)
{
    form2->setActivePage(MainWindow::Plan);
    action("Save1")->trigger();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("O nome do paciente deve ser preenchido!"),
                         QStringLiteral("Plano de Tratamento"));
    action("Print1")->trigger();
    dialogs.expectNotice(NoticeKind::Error, QStringLiteral("Ação não disponível!"), QStringLiteral("Plano de Tratamento"));
}

TEST_F(WiringTest, TheClinicsNormsAreReadWhenTheTracingOpensAndEditedFromTheFileMenu)
{
    // A hand-broken file: named once with its line, the shipped norms hold.
    work.write(QStringLiteral("Normas.json"), "{\"formato\": \"quorvel-normas\",\n \"versao\": 1,\n \"normas\": [}");
    TracingWindow* tracing = windows.tracing();
    tracing->Open();
    const test::Box refused = dialogs.take();
    EXPECT_EQ(refused.kind, NoticeKind::Warning);
    EXPECT_TRUE(refused.text.contains(QStringLiteral("linha 3: "))) << refused.text.toStdString();
    EXPECT_EQ(tracing->norms(), CephNorms::defaults());
    tracing->tFecharClick();
    tracing->Open();  // not told again
    tracing->tFecharClick();
    EXPECT_TRUE(dialogs.pending().empty()) << dialogs.describePending().toStdString();

    // Arquivo, Normas...: the dialog edits a norm, OK saves the file and the tracing has it.
    bool edited = false;
    QTimer::singleShot(0, [&edited] {
        auto* d = qobject_cast<NormsDialog*>(QApplication::activeModalWidget());
        if (!d)
            return;
        d->table(QStringLiteral("Steiner"))->item(0, 1)->setText(QStringLiteral("83"));
        d->findChild<QPushButton*>(QStringLiteral("tOK"))->click();
        edited = true;
    });
    action("Normas1")->trigger();
    ASSERT_TRUE(edited);
    CephNorms expected = CephNorms::defaults();
    expected.set(test::K("Steiner", "SNA"), CephNorm{83, 2});
    EXPECT_EQ(DecodeNorms(work.read(QStringLiteral("Normas.json"))).norms, expected);
    EXPECT_EQ(tracing->norms(), expected);
    EXPECT_EQ(windows.norms()->norms(), expected);
}

TEST_F(WiringTest, NormsThatCannotBeSavedAreNotLostTheDialogComesBackWithThem)
{
    // Something that is not a file stands where the norms go: it can be neither read nor replaced.
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("Normas.json")));
    int shown = 0;
    QString kept;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* d = qobject_cast<NormsDialog*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        QTableWidgetItem* sna = d->table(QStringLiteral("Steiner"))->item(0, 1);
        if (++shown == 1) {
            sna->setText(QStringLiteral("83"));
            d->findChild<QPushButton*>(QStringLiteral("tOK"))->click();
        } else {
            kept = sna->text();
            d->findChild<QPushButton*>(QStringLiteral("tCancelar"))->click();
            watch.stop();
        }
    });
    watch.start();
    action("Normas1")->trigger();
    watch.stop();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(kept, QStringLiteral("83"));
    const test::Box unread = dialogs.take();  // reading it, when the dialog was asked for
    EXPECT_EQ(unread.kind, NoticeKind::Warning);
    const test::Box unsaved = dialogs.take();
    EXPECT_EQ(unsaved.kind, NoticeKind::Error);
    EXPECT_TRUE(unsaved.text.startsWith(QStringLiteral("As normas não foram salvas: "))) << unsaved.text.toStdString();
    EXPECT_EQ(windows.tracing()->norms(), CephNorms::defaults());
    EXPECT_EQ(windows.norms()->norms(), CephNorms::defaults());
}

TEST_F(WiringTest, NewOnTheHistoryPageEmptiesItsFields)
{
    auto* name = form2->page(MainWindow::History)->findChild<QLineEdit*>(QStringLiteral("plpaciente"));
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("ANA"));
    form2->setActivePage(MainWindow::History);
    action("New1")->trigger();
    EXPECT_TRUE(name->text().isEmpty());
    action("Save1")->trigger();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("O nome do paciente deve ser preenchido!"),
                         QStringLiteral("Histórico do Tratamento"));
}

TEST_F(WiringTest, EveryPageSitsInItsTab)
{
    const char* names[] = {"TabSheet3", "TabSheet1", "TabSheet2", "TabSheet4", "TabSheet5"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(form2->page(MainWindow::Page(i))->objectName(), QLatin1String(names[i]));
    EXPECT_NE(form2->page(MainWindow::History)->findChild<QPlainTextEdit*>(QStringLiteral("historico")), nullptr);
    EXPECT_NE(form2->page(MainWindow::Plan)->findChild<QPlainTextEdit*>(QStringLiteral("outline")), nullptr);
}

TEST_F(WiringTest, FromCalculationThroughTheGuideToAFilledPanel)
{
    auto* page = static_cast<TweedPage*>(form2->page(MainWindow::Tweed));
    for (const auto& [name, value] : qv::test::kSamplePatient)
        page->findChild<QLineEdit*>(QLatin1String(name))->setText(QString::fromUtf8(value));
    page->findChild<QRadioButton*>(QStringLiteral("GenMasc"))->setChecked(true);
    form2->setActivePage(MainWindow::Tweed);
    form2->setEnabled(true);
    form2->popOcultarAction()->setEnabled(true);

    dialogs.answers.push_back(platform::Answer::Yes);
    page->tCalcularClick();
    EXPECT_EQ(dialogs.take().type, qv::test::Box::Question);
    ASSERT_EQ(page->state(), TweedPage::State::Concluded);

    // GUIA DIAGNÓSTICO: the reminder while the main window and the tray item are off, then the guide.
    dialogs.onBox = [this](const qv::test::Box& box) {
        EXPECT_FALSE(form2->isEnabled());
        EXPECT_FALSE(box.hideItemEnabled);
    };
    page->tCalcularClick();
    dialogs.onBox = nullptr;
    const qv::test::Box reminder = dialogs.take();
    EXPECT_EQ(reminder.caption, QStringLiteral("Análise de Tweed"));
    EXPECT_TRUE(reminder.text.startsWith(QStringLiteral("O diagnóstico gerado é meramente sugestivo")));
    GuideWindow* guide = windows.form3();
    EXPECT_TRUE(guide->isVisible());
    EXPECT_FALSE(form2->isEnabled());
    EXPECT_FALSE(form2->popOcultarAction()->isEnabled());

    guide->setAnswer(QStringLiteral("dpadq"), true);
    guide->gdiagClick();
    EXPECT_FALSE(guide->isVisible());
    EXPECT_TRUE(form2->isEnabled());
    EXPECT_TRUE(form2->popOcultarAction()->isEnabled());
    EXPECT_EQ(page->state(), TweedPage::State::Diagnosed);
    const PanelState panel = page->panel()->state();
    EXPECT_TRUE(panel.antInfo);
    EXPECT_FALSE(panel.dsant.isEmpty());
    EXPECT_EQ(qv::ReadStats().guideCount, 1);
    EXPECT_EQ(qv::ReadStats().tweedCount, 1);
}

TEST_F(WiringTest, TotalSpaceWindowOpensOverTheDisabledMainWindow)
{
    auto* page = form2->page(MainWindow::Tweed);
    form2->setEnabled(true);
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("total")), Qt::LeftButton);
    EXPECT_TRUE(windows.form4()->isVisible());
    EXPECT_FALSE(form2->isEnabled());
    windows.form4()->Button1Click();  // CANCELAR
    EXPECT_FALSE(windows.form4()->isVisible());
    EXPECT_TRUE(form2->isEnabled());
}

TEST_F(WiringTest, PrintReachesEachPagesReport)
{
    struct Row {
        MainWindow::Page page;
        const char* warning;
        const char* caption;
    };
    const Row rows[] = {
        {MainWindow::Tweed, "A Análise não está concluída!", "Análise de Tweed"},
        {MainWindow::Bolton, "A Análise não está concluída!", "Análise de Bolton"},
        {MainWindow::History, "Não há plano de tratamento aberto!", "Histórico do Tratamento"},
    };
    for (const Row& r : rows) {
        form2->setActivePage(r.page);
        action("Print1")->trigger();
        dialogs.expectNotice(NoticeKind::Warning, QString::fromUtf8(r.warning), QString::fromUtf8(r.caption));
    }
    // The plan page prints from its own button only.
    form2->setActivePage(MainWindow::Plan);
    form2->setEnabled(true);
    form2->page(MainWindow::Plan)->findChild<QPushButton*>(QStringLiteral("Button5"))->click();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Não há plano de tratamento aberto!"),
                         QStringLiteral("Plano de Tratamento"));
}

class TotalSpaceWiringTest : public WiringTest {
protected:
    BoltonPage* bolton = static_cast<BoltonPage*>(form2->page(MainWindow::Bolton));
    QWidget* tweed = form2->page(MainWindow::Tweed);
    SpaceEntryWindow* form4 = windows.form4();

    QLineEdit* boltonField(const QString& name) const { return bolton->findChild<QLineEdit*>(name); }
    QLineEdit* tweedField(const char* name) const { return tweed->findChild<QLineEdit*>(QLatin1String(name)); }
    QPushButton* importar() const { return form4->findChild<QPushButton*>(QStringLiteral("Button4")); }
    void openFromTheTweedPage()
    {
        form2->setEnabled(true);
        QTest::mouseClick(tweed->findChild<QPushButton*>(QStringLiteral("total")), Qt::LeftButton);
        ASSERT_TRUE(form4->isVisible());
        ASSERT_FALSE(form2->isEnabled());
    }
    void fillBolton(const QString& paciente)
    {
        boltonField(QStringLiteral("bpaciente"))->setText(paciente);
        for (int k = 1; k <= 12; ++k) {
            const QString n = QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
            boltonField(QStringLiteral("s") + n)->setText(QStringLiteral("8.0"));
            boltonField(QStringLiteral("i") + n)->setText(QStringLiteral("%1.5").arg(k));
        }
        boltonField(QStringLiteral("termole"))->setText(QStringLiteral("11.1"));
        boltonField(QStringLiteral("segmole"))->setText(QStringLiteral("10.2"));
        boltonField(QStringLiteral("segmold"))->setText(QStringLiteral("10.3"));
        boltonField(QStringLiteral("termold"))->setText(QStringLiteral("11.4"));
    }
    void expectIncompleteWarning()
    {
        dialogs.expectNotice(NoticeKind::Warning,
                             QStringLiteral("Não foi possível importar pois a análise de Bolton não está completa!"),
                             QStringLiteral("Importar"));
    }
};

// The main window, and with it the Bolton page, is disabled while the window shows; a fresh
// Bolton page has nothing to undo, so IMPORTAR stays.
TEST_F(TotalSpaceWiringTest, ImportarFromAnEmptyBoltonPageWarnsAndStaysEnabled)
{
    openFromTheTweedPage();
    QTest::mouseClick(importar(), Qt::LeftButton);
    expectIncompleteWarning();
    EXPECT_TRUE(importar()->isEnabled());
    form4->Button1Click();
}

TEST_F(TotalSpaceWiringTest, ImportarFromACalculatedBoltonPageWithoutAMolarIsDisabled)
{
    fillBolton(QStringLiteral("ANA"));
    boltonField(QStringLiteral("segmold"))->clear();
    form2->setActivePage(MainWindow::Bolton);
    dialogs.answers.push_back(platform::Answer::Yes);  // go on without the molars
    bolton->bCalcularClick();
    ASSERT_EQ(dialogs.take().type, qv::test::Box::Question);
    ASSERT_TRUE(bolton->calculated());

    openFromTheTweedPage();
    QTest::mouseClick(importar(), Qt::LeftButton);
    expectIncompleteWarning();
    EXPECT_FALSE(importar()->isEnabled());
    form4->Button3Click();  // LIMPAR brings it back
    EXPECT_TRUE(importar()->isEnabled());
    form4->Button1Click();
}

TEST_F(TotalSpaceWiringTest, ImportedRowIsSummedIntoTheTweedPage)
{
    tweedField("twPaciente")->setText(QStringLiteral("ANA"));
    fillBolton(QStringLiteral("ANA"));
    openFromTheTweedPage();
    QTest::mouseClick(importar(), Qt::LeftButton);  // same patient: no question
    const char* expected[] = {"11.1", "10.2", "1.5", "2.5", "3.5", "4.5", "5.5", "6.5",
                              "7.5",  "8.5",  "9.5", "10.5", "11.5", "12.5", "10.3", "11.4"};
    for (int k = 1; k <= 16; ++k)
        EXPECT_EQ(form4->findChild<QLineEdit*>(QStringLiteral("s%1").arg(k, 2, 10, QLatin1Char('0')))->text(),
                  QLatin1String(expected[k - 1]))
            << k;
    form4->findChild<QLineEdit*>(QStringLiteral("i06"))->setText(QStringLiteral("30.0"));
    form4->Button2Click();  // SALVAR
    EXPECT_FALSE(form4->isVisible());
    EXPECT_TRUE(form2->isEnabled());
    // Anterior i04 .. i09, middle i01 .. i03 and i10 .. i12, posterior the four molars.
    EXPECT_EQ(tweedField("anaer")->text(), QStringLiteral("42.0"));
    EXPECT_EQ(tweedField("anaep")->text(), QStringLiteral("30.0"));
    EXPECT_EQ(tweedField("anmer")->text(), QStringLiteral("42.0"));
    EXPECT_EQ(tweedField("anmep")->text(), QStringLiteral("0.0"));
    EXPECT_EQ(tweedField("anper")->text(), QStringLiteral("43.0"));
    EXPECT_EQ(tweedField("anpep")->text(), QStringLiteral("0.0"));
}

// Every secondary window a page button or a menu item opens: shown over the disabled main
// window, and leaving it enables the main window again.
TEST_F(WiringTest, EachRequestOpensItsWindowOverTheDisabledMainWindow)
{
    struct Row {
        const char* name;
        std::function<void()> request;
        QWidget* window;
    };
    QWidget* tweed = form2->page(MainWindow::Tweed);
    const auto click = [tweed](const char* button) {
        return [tweed, button] { tweed->findChild<QPushButton*>(QLatin1String(button))->click(); };
    };
    const auto trigger = [this](const char* name) { return [this, name] { action(name)->trigger(); }; };
    const Row rows[] = {
        {"tracado", click("tracado"), windows.tracing()},
        {"total", click("total"), windows.form4()},
        {"Pacientes1", trigger("Pacientes1"), windows.patients()},
        {"Pacientes2", trigger("Pacientes2"), windows.patients()},
        {"Tracado1", trigger("Tracado1"), windows.tracing()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        form2->setEnabled(true);
        r.request();
        dialogs.clear();  // the tracing's norms are read on opening
        EXPECT_TRUE(r.window->isVisible());
        EXPECT_FALSE(form2->isEnabled());
        r.window->close();
        EXPECT_FALSE(r.window->isVisible());
        EXPECT_TRUE(form2->isEnabled());
    }
}

// The tracing works with the Tweed page's name, stage and state as they stand when it opens.
TEST_F(WiringTest, TheTracingTakesTheTweedPageAsItStandsWhenItOpens)
{
    auto* page = static_cast<TweedPage*>(form2->page(MainWindow::Tweed));
    struct Row {
        const char* name;
        const char* stageButton;
        bool calculated;
        const char* stage;
        bool accepts;
    };
    const Row rows[] = {
        {"ANA", "inicial", false, "INICIAL", true},
        {"BIA", "final", false, "FINAL", true},
        {"CAIO", "inter1", true, "INTER1", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        page->NewAnalysis();
        page->NewAnalysis();
        for (const auto& [field, value] : qv::test::kSamplePatient)
            page->findChild<QLineEdit*>(QLatin1String(field))->setText(QString::fromUtf8(value));
        page->findChild<QLineEdit*>(QStringLiteral("twPaciente"))->setText(QLatin1String(r.name));
        page->findChild<QRadioButton*>(QStringLiteral("GenMasc"))->setChecked(true);
        page->findChild<QRadioButton*>(QLatin1String(r.stageButton))->setChecked(true);
        if (r.calculated) {
            dialogs.answers.push_back(platform::Answer::Yes);
            page->tCalcularClick();
            ASSERT_EQ(page->state(), TweedPage::State::Concluded);
        }
        windows.tracing()->Open();
        dialogs.clear();
        const TracingTweedState& s = windows.tracing()->tweedState();
        EXPECT_EQ(s.patient, QLatin1String(r.name));
        EXPECT_EQ(s.stage, QLatin1String(r.stage));
        EXPECT_EQ(s.acceptsInput, r.accepts);
        windows.tracing()->tFecharClick();
    }
}

// Each file the patients window asks for is opened by its page, with that page brought forward;
// a page that is gone no longer receives the request.
TEST_F(WiringTest, PatientsFileRequestsReachTheirPageAndNothingOnceThePageIsGone)
{
    using Signal = void (PatientsWindow::*)(const QString&);
    struct Row {
        const char* name;
        Signal signal;
        MainWindow::Page page;
    };
    const Row rows[] = {
        {"tweed", &PatientsWindow::tweedFileRequested, MainWindow::Tweed},
        {"bolton", &PatientsWindow::boltonFileRequested, MainWindow::Bolton},
        {"history", &PatientsWindow::historyFileRequested, MainWindow::History},
        {"plan", &PatientsWindow::planFileRequested, MainWindow::Plan},
    };
    PatientsWindow* patients = windows.patients();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        form2->setActivePage(MainWindow::Foundations);
        emit(patients->*r.signal)(QStringLiteral("Análises/NINGUEM-INICIAL.none"));
        EXPECT_EQ(form2->activePage(), r.page);
        dialogs.clear();
    }
    // The last tabs first, so that no other page moves into a removed page's place.
    for (const Row& r : {rows[3], rows[2]}) {
        SCOPED_TRACE(r.name);
        QWidget* page = form2->page(r.page);
        ASSERT_NE(page, nullptr);
        delete page;
        ASSERT_EQ(form2->page(r.page), nullptr);
        form2->setActivePage(MainWindow::Foundations);
        emit(patients->*r.signal)(QStringLiteral("Análises/NINGUEM-INICIAL.none"));
        EXPECT_EQ(form2->activePage(), MainWindow::Foundations);
        EXPECT_TRUE(dialogs.pending().empty()) << dialogs.describePending().toStdString();
    }
}

// The tracing's APLICAR fills the measured fields of the Tweed page and keeps the others.
TEST_F(WiringTest, AppliedMeasurementsReachTheTweedPage)
{
    auto* page = static_cast<TweedPage*>(form2->page(MainWindow::Tweed));
    page->findChild<QLineEdit*>(QStringLiteral("twqt"))->setText(QStringLiteral("12.0"));
    TracingValues values;
    values.fma = QStringLiteral("24.5");
    values.impa = QStringLiteral("91.0");
    emit windows.tracing()->measurementsApplied(values);
    EXPECT_EQ(page->sheet().twfma, QStringLiteral("24.5"));
    EXPECT_EQ(page->sheet().twimpa, QStringLiteral("91.0"));
    EXPECT_EQ(page->sheet().twqt, QStringLiteral("12.0"));
}

// The guide's answers reach the Tweed page as they change, for a save without a diagnosis.
TEST_F(WiringTest, TheGuidesAnswersAreThoseTheTweedPageSaves)
{
    auto* page = static_cast<TweedPage*>(form2->page(MainWindow::Tweed));
    GuideWindow* guide = windows.form3();
    EXPECT_EQ(page->sheet().guide, guide->answers());
    for (const char* name : {"dpadq", "clsim", "horcl2"}) {
        SCOPED_TRACE(name);
        guide->setAnswer(QLatin1String(name), true);
        EXPECT_TRUE(page->sheet().guide == guide->answers());
    }
    const GuideAnswers before = guide->answers();
    guide->glimparClick();
    EXPECT_FALSE(page->sheet().guide == before);
    EXPECT_EQ(page->sheet().guide, guide->answers());
}

}  // namespace
