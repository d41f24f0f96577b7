// What the pages' IMPRIMIR does around the engine: refusals, the missing or faulty project,
// the "&Ocultar" bracket, and that no run shows texts an earlier run left.

#include "PrintSamples.h"

#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "records/Cp1252.h"
#include "shell/Startup.h"
#include "support/WorkFolder.h"

#include <QAction>

#include <gtest/gtest.h>

namespace qv {
namespace {

using platform::NoticeKind;

// Counts the runs and notes what "&Ocultar" showed while each ran.
class RecordingOutput : public report::ReportOutput {
public:
    explicit RecordingOutput(QAction& hideItem) : m_hideItem(hideItem) {}
    void Deliver(const report::ReportDocument& document, platform::Dialogs&) override
    {
        ++runs;
        hideItemWhileRunning = m_hideItem.isEnabled();
        lastTitle = document.title();
        lastPage = document.lastPage();
    }
    int runs = 0;
    bool hideItemWhileRunning = true;
    QString lastTitle;
    int lastPage = 0;

private:
    QAction& m_hideItem;
};

class PrintActionsTest : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        dialogs.setHideItem(&popOcultar);
        auto out = std::make_unique<RecordingOutput>(popOcultar);
        output = out.get();
        engine = std::make_unique<ReportEngine>(dialogs, std::move(out));
    }

    platform::PageContext page(const char* caption)
    {
        const QString c = QString::fromUtf8(caption);
        return platform::PageContext(dialogs, [c] { return c; });
    }

    void writeHistory(const QString& patient, int visits)
    {
        work.write(HistoryFilePath(patient), ToCp1252(test::SampleHistoryFile(patient, visits)));
    }

    QAction popOcultar;
    const test::BoltonSample boltonSample = test::SampleBolton();
    RecordingOutput* output = nullptr;
    std::unique_ptr<ReportEngine> engine;
};

TEST_F(PrintActionsTest, NothingToPrintIsRefusedWithTheActivePagesCaption)
{
    const auto tweed = page("Análise de Tweed");
    const auto bolton = page("Análise de Bolton");
    const auto history = page("Histórico do Tratamento");
    const auto plan = page("Plano de Tratamento");
    bool saved = false;
    const auto save = [&] { return saved = true; };

    test::TweedReportSample t = test::SampleTweed();
    t.results.difficulty.idlabel.clear();
    EXPECT_EQ(PrintTweed(*engine, tweed, t), PrintOutcome::Refused);
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("A Análise não está concluída!"), QStringLiteral("Análise de Tweed"));

    test::BoltonSample b = test::SampleBolton();
    b.results.diag12info.clear();
    EXPECT_EQ(PrintBolton(*engine, bolton, b.sheet, b.results), PrintOutcome::Refused);
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("A Análise não está concluída!"), QStringLiteral("Análise de Bolton"));

    EXPECT_EQ(PrintHistory(*engine, history, QStringLiteral("ANA"), 0), PrintOutcome::Refused);
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Não há plano de tratamento aberto!"),
                         QStringLiteral("Histórico do Tratamento"));

    EXPECT_EQ(PrintPlan(*engine, plan, QStringLiteral("ANA"), QString(), 0, save), PrintOutcome::Refused);
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Não há plano de tratamento aberto!"), QStringLiteral("Plano de Tratamento"));
    EXPECT_EQ(PrintPlan(*engine, plan, QString(), QStringLiteral("plano"), 1, save), PrintOutcome::Refused);
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Não há plano de tratamento aberto!"), QStringLiteral("Plano de Tratamento"));

    EXPECT_FALSE(saved);
    EXPECT_EQ(output->runs, 0);
    EXPECT_TRUE(engine->ReportParams().isEmpty());
}

TEST_F(PrintActionsTest, MissingProjectGivesTheErrorAndRunsNothing)
{
    writeHistory(QStringLiteral("ANA"), 1);
    work.remove(ReportEngine::ProjectFile());
    const QString components = QStringLiteral("Alguns componentes necessários à execução desta funcionalidade não foram encontrados!\r"
                                              "                          Reinstale o software e tente executá-lo novamente.");
    const QString software = QStringLiteral("Alguns componentes necessários à execução do software não foram encontrados!\r"
                                            "                    Reinstale o software e tente executá-lo novamente.");
    ASSERT_EQ(MissingFeatureText(), components);
    ASSERT_EQ(MissingComponentsText(), software);

    EXPECT_EQ(PrintTweed(*engine, page("Análise de Tweed"), test::SampleTweed()), PrintOutcome::ProjectMissing);
    dialogs.expectNotice(NoticeKind::Error, components, QStringLiteral("Análise de Tweed"));
    // The parameters were set before the project was looked for.
    EXPECT_EQ(engine->ReportParam(QStringLiteral("nome")), QStringLiteral("Paciente:  ANA  -  INTER1"));

    EXPECT_EQ(PrintBolton(*engine, page("Análise de Bolton"), boltonSample.sheet, boltonSample.results), PrintOutcome::ProjectMissing);
    dialogs.expectNotice(NoticeKind::Error, components, QStringLiteral("Análise de Bolton"));

    EXPECT_EQ(PrintHistory(*engine, page("Histórico do Tratamento"), QStringLiteral("ANA"), 4), PrintOutcome::ProjectMissing);
    dialogs.expectNotice(NoticeKind::Error, components, QStringLiteral("Histórico do Tratamento"));

    bool saved = false;
    EXPECT_EQ(PrintPlan(*engine, page("Plano de Tratamento"), QStringLiteral("ANA"), QStringLiteral("plano"), 1,
                        [&] { return saved = true; }),
              PrintOutcome::ProjectMissing);
    EXPECT_TRUE(saved);  // saved before the print was tried
    dialogs.expectNotice(NoticeKind::Error, software, QStringLiteral("Plano de Tratamento"));

    EXPECT_EQ(output->runs, 0);
    EXPECT_TRUE(popOcultar.isEnabled());
}

TEST_F(PrintActionsTest, AProjectThatCannotBeParsedIsNotReportedAsPrinted)
{
    work.write(ReportEngine::ProjectFile(), "this is not a report project\n");
    EXPECT_EQ(PrintBolton(*engine, page("Análise de Bolton"), boltonSample.sheet, boltonSample.results), PrintOutcome::Failed);
    EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
    EXPECT_EQ(output->runs, 0);
    EXPECT_TRUE(popOcultar.isEnabled());
}

TEST_F(PrintActionsTest, ReportRunsWithTheHideItemDisabledAndEnablesItAfter)
{
    EXPECT_EQ(PrintBolton(*engine, page("Análise de Bolton"), boltonSample.sheet, boltonSample.results), PrintOutcome::Ran);
    EXPECT_EQ(output->runs, 1);
    EXPECT_FALSE(output->hideItemWhileRunning);
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_EQ(output->lastTitle, QStringLiteral("Análise de Bolton"));
    EXPECT_EQ(output->lastPage, 1);
}

TEST_F(PrintActionsTest, FaultyProjectIsReportedByTheEngineAndRetriedNextTime)
{
    work.write(ReportEngine::ProjectFile(), ToCp1252(QStringLiteral("<project>\n<report name=\"report1\" title=\"T\">\n<page>\n"
                                                                  "  <campo/>\n</page></report></project>\n")));
    dialogs.onBox = [](const test::Box& box) { EXPECT_FALSE(box.hideItemEnabled); };
    EXPECT_EQ(PrintTweed(*engine, page("Análise de Tweed"), test::SampleTweed()), PrintOutcome::Failed);
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_EQ(box.caption, QStringLiteral("Análise Cefalométrica"));
    EXPECT_EQ(box.text, QStringLiteral("Não foi possível ler o projeto de relatórios \"Análises.rav\".\r"
                                       "linha 4: palavra desconhecida: \"campo\""));
    EXPECT_EQ(output->runs, 0);
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_FALSE(engine->ProjectLoaded());

    // Once the project is put right, the next print reads it.
    work.write(ReportEngine::ProjectFile(), QByteArray());
    EXPECT_EQ(PrintTweed(*engine, page("Análise de Tweed"), test::SampleTweed()), PrintOutcome::Failed);
    EXPECT_TRUE(dialogs.take().text.endsWith(QStringLiteral("o arquivo está vazio")));
    QFile::remove(ReportEngine::ProjectFile());
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVEL_DATA_DIR "/Análises.rav"), ReportEngine::ProjectFile()));
    EXPECT_EQ(PrintTweed(*engine, page("Análise de Tweed"), test::SampleTweed()), PrintOutcome::Ran);
    EXPECT_EQ(output->runs, 1);
}

TEST_F(PrintActionsTest, ProjectEditedOnDiskIsReadAgainAndReportsItLacksAreRefused)
{
    const QByteArray shipped = work.read(ReportEngine::ProjectFile());
    EXPECT_TRUE(engine->RunReport(QStringLiteral("report3")));
    EXPECT_TRUE(engine->ProjectLoaded());
    // A project edited after the first run is read again at the next: a broken edit prints nothing.
    work.write(ReportEngine::ProjectFile(), "lixo");
    EXPECT_FALSE(engine->RunReport(QStringLiteral("report4")));
    EXPECT_TRUE(dialogs.take().text.startsWith(QStringLiteral("Não foi possível ler o projeto de relatórios")));
    EXPECT_EQ(output->runs, 1);
    // Mended, it prints again; unchanged, it is not read again.
    work.write(ReportEngine::ProjectFile(), shipped);
    EXPECT_TRUE(engine->RunReport(QStringLiteral("report4")));
    EXPECT_TRUE(engine->RunReport(QStringLiteral("report3")));
    EXPECT_EQ(output->runs, 3);

    EXPECT_FALSE(engine->RunReport(QStringLiteral("report9")));
    dialogs.expectNotice(NoticeKind::Error, QStringLiteral("O relatório \"report9\" não existe no projeto \"Análises.rav\"."),
                         QStringLiteral("Análise Cefalométrica"));
    EXPECT_EQ(output->runs, 3);
}

TEST_F(PrintActionsTest, ProjectThatCannotBeReadIsReported)
{
    work.remove(ReportEngine::ProjectFile());
    EXPECT_FALSE(engine->RunReport(QStringLiteral("report1")));
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.caption, QStringLiteral("Análise Cefalométrica"));
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Não foi possível ler o projeto de relatórios \"Análises.rav\".\r")));
    EXPECT_EQ(output->runs, 0);
}

TEST_F(PrintActionsTest, NoRunShowsTextsAnEarlierRunLeft)
{
    const auto tweed = page("Análise de Tweed");
    ASSERT_EQ(PrintTweed(*engine, tweed, test::SampleTweedDiagnosed()), PrintOutcome::Ran);
    EXPECT_EQ(engine->ReportParam(QStringLiteral("a1")), QStringLiteral("X  4"));

    // Another patient: anterior suggestion without extraction, no middle or skeletal section.
    test::TweedReportSample other = test::SampleTweed();
    other.sheet.twPaciente = QStringLiteral("BIA");
    other.panel.antInfo = other.panel.posInfo = true;
    other.panel.dsant = QStringLiteral("Não há necessidade de Extração");
    other.panel.dspos = QStringLiteral("Aguardar desenvolvimento dos\r3º Molares");
    ASSERT_EQ(PrintTweed(*engine, tweed, other), PrintOutcome::Ran);
    for (const char* name : {"cruzh1", "cruzv1", "a1", "a4", "cruzh2", "m1", "cruzh8", "d16", "discmedinfo", "discmed",
                             "desarminfo", "desarm"})
        EXPECT_TRUE(engine->ReportParam(QString::fromLatin1(name)).isEmpty()) << name;
    EXPECT_EQ(engine->ReportParam(QStringLiteral("discant")), QStringLiteral("Não há necessidade de Extração"));
    EXPECT_EQ(output->lastPage, 2);

    // A history print after it keeps nothing of the Tweed analysis.
    writeHistory(QStringLiteral("BIA"), 1);
    ASSERT_EQ(PrintHistory(*engine, page("Histórico do Tratamento"), QStringLiteral("BIA"), 4), PrintOutcome::Ran);
    EXPECT_EQ(engine->ReportParams().size(), 2);
    EXPECT_EQ(output->lastPage, 50);
}

TEST_F(PrintActionsTest, HistoryFileThatCannotBeReadStopsThePrint)
{
    // The patient field was changed after the history was opened.
    EXPECT_EQ(PrintHistory(*engine, page("Histórico do Tratamento"), QStringLiteral("OUTRO"), 4), PrintOutcome::Failed);
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_EQ(box.caption, QStringLiteral("Quorvel"));
    EXPECT_TRUE(box.text.contains(QStringLiteral("OUTRO.pln"))) << box.text.toStdString();
    EXPECT_EQ(output->runs, 0);
}

TEST_F(PrintActionsTest, HistoryMemoComesFromTheFileInItsEncoding)
{
    work.write(HistoryFilePath(QStringLiteral("JOÃO")),
               ToCp1252(QStringLiteral("JOÃO\r\n01/02/2024\r\n\r\nColagem do aparelho; orientação.\r\n")));
    ASSERT_EQ(PrintHistory(*engine, page("Histórico do Tratamento"), QStringLiteral("JOÃO"), 3), PrintOutcome::Ran);
    EXPECT_EQ(engine->ReportParam(QStringLiteral("nome")), QStringLiteral("Paciente:  JOÃO"));
    EXPECT_EQ(engine->ReportParam(QStringLiteral("memo1")),
              QStringLiteral("01/02/2024\r\n\r\nColagem do aparelho; orientação.\r\n"));
    EXPECT_EQ(engine->LastPage(), 50);
}

TEST_F(PrintActionsTest, PlanIsSavedFirstAndNotPrintedWhenTheSaveFails)
{
    const auto plan = page("Plano de Tratamento");
    int saves = 0;
    EXPECT_EQ(PrintPlan(*engine, plan, QStringLiteral("ANA"), QStringLiteral("a\nb"), 2, [&] {
                  ++saves;
                  EXPECT_EQ(output->runs, 0);
                  return false;
              }),
              PrintOutcome::Failed);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(output->runs, 0);
    EXPECT_TRUE(engine->ReportParams().isEmpty());

    EXPECT_EQ(PrintPlan(*engine, plan, QStringLiteral("ANA"), QStringLiteral("a\nb"), 2, [&] { return ++saves > 0; }),
              PrintOutcome::Ran);
    EXPECT_EQ(engine->ReportParam(QStringLiteral("memo1")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(output->lastPage, 50);
    EXPECT_EQ(output->runs, 1);
}

}  // namespace
}  // namespace qv
