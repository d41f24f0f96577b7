// Reports rendered through the engine into PDF: pages, their texts and the print range.

#include "PdfProbe.h"
#include "PrintSamples.h"

#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "printing/ReportDocument.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QPdfWriter>

#include <gtest/gtest.h>

namespace qv {
namespace {

using report::MemoryOutput;
using report::PdfFileOutput;

class RenderTest : public test::WorkFolderTest {
protected:
    void SetUp() override { dialogs.setHideItem(&popOcultar); }

    // Renders through the engine into a PDF file of the working folder; returns its path.
    QString render(const std::function<PrintOutcome(ReportEngine&)>& print, const QString& name)
    {
        const QString path = work.file(name);
        ReportEngine engine(dialogs, std::make_unique<PdfFileOutput>(path));
        EXPECT_EQ(print(engine), PrintOutcome::Ran);
        test::KeepReport(path, name);
        return path;
    }

    // Renders into memory; the output keeps the laid-out pages.
    MemoryOutput* memory(ReportEngine& engine)
    {
        auto out = std::make_unique<MemoryOutput>();
        MemoryOutput* raw = out.get();
        engine.setOutput(std::move(out));
        return raw;
    }

    void writeHistory(const QString& patient, int visits)
    {
        work.write(QStringLiteral("Análises/") + patient + QStringLiteral(".pln"),
                   ToCp1252Bytes(test::SampleHistoryFile(patient, visits)));
    }
    static QByteArray ToCp1252Bytes(const QString& s) { return s.toLatin1(); }

    QAction popOcultar;
    platform::PageContext tweed{dialogs, [] { return QStringLiteral("Análise de Tweed"); }};
    platform::PageContext bolton{dialogs, [] { return QStringLiteral("Análise de Bolton"); }};
    platform::PageContext history{dialogs, [] { return QStringLiteral("Histórico do Tratamento"); }};
};

TEST_F(RenderTest, TweedWithoutDiagnosisIsOnePageWithEveryValue)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    const QString pdf = render([&](ReportEngine& e) { return PrintTweed(e, tweed, test::SampleTweed()); },
                               QStringLiteral("tweed.pdf"));
    ASSERT_EQ(test::PdfPages(pdf), 1);
    const QString text = test::PdfText(pdf, 1);
    for (const char* s : {"Quorvel", "Análise Cefalométrica de Tweed", "Paciente:", "ANA - INTER1", "Idade: 34 anos",
                          "Gênero: Feminino", "FMA (22° a 28°)", "25.0°", "AO - BO ( 0 a 4 mm)", "-1.5mm",
                          "AFP / AFA ( 65% a 75%)", "64%", "Tratamento Ortodôntico", "Discrepância Total", "-17.4",
                          "Disc. Área Ant.", "Correção Molar", "IMPA", "87.0", "Índice Facial", "Sub Total", "16.7",
                          "ÍNDICE DE DIFICULDADE SUAVE: 18.8", "Página 1 de 1"})
        EXPECT_TRUE(text.simplified().contains(QString::fromUtf8(s))) << s;
    EXPECT_FALSE(text.contains(QStringLiteral("Diagnóstico Sugerido")));
}

TEST_F(RenderTest, TweedWithDiagnosisAddsPageTwoWithAlternativesAndCrosses)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    const QString pdf = render([&](ReportEngine& e) { return PrintTweed(e, tweed, test::SampleTweedDiagnosed()); },
                               QStringLiteral("tweed-diagnosis.pdf"));
    ASSERT_EQ(test::PdfPages(pdf), 2);
    const QString page2 = test::PdfText(pdf, 2).simplified();
    for (const char* s : {"Diagnóstico Sugerido", "Discrepância Anterior", "Discrepância Média", "Discrepância Posterior",
                          "Desarmonia Esquelética", "Extração, força de inclinação", "direcionais intrusivas",
                          "Tratamento compensatório por", "posicionamento dentário", "Página 2 de 2", "Paciente:"})
        EXPECT_TRUE(page2.contains(QString::fromUtf8(s))) << s;
    EXPECT_FALSE(page2.contains(QStringLiteral("FMA (22°")));

    // Exact texts and the crosses, from the laid-out pages.
    ReportEngine engine(dialogs);
    MemoryOutput* out = memory(engine);
    ASSERT_EQ(PrintTweed(engine, tweed, test::SampleTweedDiagnosed()), PrintOutcome::Ran);
    ASSERT_EQ(out->pages.size(), 2);
    const QStringList texts = out->pages[1].texts();
    EXPECT_EQ(out->pages[1].crosses, 8);
    EXPECT_EQ(out->pages[0].crosses, 0);
    EXPECT_EQ(texts.count(QStringLiteral("ou")), 1 + 4);  // middle, then between five skeletal slots
    EXPECT_EQ(texts.count(QStringLiteral("X  4")), 2);
    EXPECT_EQ(texts.count(QStringLiteral("4  X")), 2);
    EXPECT_TRUE(texts.contains(QStringLiteral("Extração, força de inclinação\ndistal e usar forças\ndirecionais intrusivas")));
    // The body ends before the footer: the note under the diagnosis comes last before it.
    const qsizetype note = texts.indexOf(QStringLiteral("O diagnóstico e o plano de tratamento sugeridos são apenas uma "
                                                        "orientação; a decisão é do profissional."));
    ASSERT_GE(note, 0);
    EXPECT_TRUE(texts.value(note + 1).startsWith(QStringLiteral("Impresso em")));
    EXPECT_EQ(texts.last(), QStringLiteral("Página 2 de 2"));
}

TEST_F(RenderTest, QuadrantsOfACrossWithoutBarsAreNotDrawn)
{
    // A cross whose upper-left quadrant is empty is not set; nothing of it appears.
    test::TweedReportSample t = test::SampleTweedDiagnosed();
    t.panel.ant.quadrants[0].clear();
    t.panel.ant.quadrants[1] = QStringLiteral("7");
    ReportEngine engine(dialogs);
    MemoryOutput* out = memory(engine);
    ASSERT_EQ(PrintTweed(engine, tweed, t), PrintOutcome::Ran);
    ASSERT_EQ(out->pages.size(), 2);
    EXPECT_EQ(out->pages[1].crosses, 7);
    EXPECT_FALSE(out->pages[1].texts().contains(QStringLiteral("7")));
}

TEST_F(RenderTest, RangeOfOnePageHoldsAfterAFiftyPageRun)
{
    writeHistory(QStringLiteral("ANA"), 2);
    ReportEngine engine(dialogs);
    MemoryOutput* out = memory(engine);
    ASSERT_EQ(PrintHistory(engine, history, QStringLiteral("ANA"), 8), PrintOutcome::Ran);
    EXPECT_EQ(engine.LastPage(), 50);
    ASSERT_EQ(PrintTweed(engine, tweed, test::SampleTweed()), PrintOutcome::Ran);
    EXPECT_EQ(engine.LastPage(), 1);
    EXPECT_EQ(out->pages.size(), 1);
    ASSERT_EQ(PrintTweed(engine, tweed, test::SampleTweedDiagnosed()), PrintOutcome::Ran);
    EXPECT_EQ(out->pages.size(), 2);
    EXPECT_EQ(out->runs, 3);
}

TEST_F(RenderTest, BoltonIsOnePageWithBothArchesAndTheDiagnosis)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    const test::BoltonSample b = test::SampleBolton();
    const QString pdf = render([&](ReportEngine& e) { return PrintBolton(e, bolton, b.sheet, b.results); },
                               QStringLiteral("bolton.pdf"));
    ASSERT_EQ(test::PdfPages(pdf), 1);
    const QString text = test::PdfText(pdf, 1).simplified();
    for (const char* s : {"Análise de Bolton", "Paciente: BIA", "Superior", "Inferior", "10.0 7.0 7.5 8.0 6.5 8.5",
                          "11.0 7.0 7.0 7.0 6.0 5.5", "95.0", "88.0", "x 100 =", "92.6 %", "80.4 %", "+ 91.3 :",
                          "+ 77.2 :", "86.7", "35.5", "Exc I", "I 06", "Soma dos 12 dentes (distal do",
                          "lado oposto).", "Excesso mandibular de 1.3mm", "Excesso mandibular de 1.5mm",
                          "Página 1 de 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
}

TEST_F(RenderTest, HistoryFlowsOverPagesWithThePatientAndPageNumbersOnEach)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    writeHistory(QStringLiteral("ANA"), 60);
    const QString pdf = render([&](ReportEngine& e) { return PrintHistory(e, history, QStringLiteral("ANA"), 240); },
                               QStringLiteral("history.pdf"));
    const int pages = test::PdfPages(pdf);
    ASSERT_GE(pages, 3);
    ASSERT_LE(pages, 10);
    for (int p = 1; p <= pages; ++p) {
        const QString text = test::PdfText(pdf, p).simplified();
        EXPECT_TRUE(text.contains(QStringLiteral("Paciente: ANA"))) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("Página %1 de %2").arg(p).arg(pages))) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("Histórico do Tratamento"))) << p;
    }
    EXPECT_TRUE(test::PdfText(pdf, 1).contains(QStringLiteral("Consulta 1:")));
    EXPECT_TRUE(test::PdfText(pdf, pages).contains(QStringLiteral("Consulta 60:")));
    EXPECT_FALSE(test::PdfText(pdf, pages).contains(report::TruncationNotice(50)));
}

TEST_F(RenderTest, WrappedHistoryFieldAddsEmptyLinesButNoEmptyPage)
{
    writeHistory(QStringLiteral("ANA"), 2);
    ReportEngine engine(dialogs);
    MemoryOutput* out = memory(engine);
    // The field shows 400 lines for the 8 of the file.
    ASSERT_EQ(PrintHistory(engine, history, QStringLiteral("ANA"), 400), PrintOutcome::Ran);
    EXPECT_TRUE(engine.ReportParam(QStringLiteral("memo1")).endsWith(QStringLiteral("\r\n\r\n\r\n")));
    EXPECT_EQ(engine.ReportParam(QStringLiteral("memo1")).count(QStringLiteral("\r\n")), 400);
    EXPECT_EQ(out->pages.size(), 1);
}

TEST_F(RenderTest, HistoryStopsAtPageFiftyAndSaysSo)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    writeHistory(QStringLiteral("ANA"), 1200);
    const QString pdf = render([&](ReportEngine& e) { return PrintHistory(e, history, QStringLiteral("ANA"), 4800); },
                               QStringLiteral("history-long.pdf"));
    ASSERT_EQ(test::PdfPages(pdf), 50);
    const QString last = test::PdfText(pdf, 50).simplified();
    EXPECT_TRUE(last.contains(report::TruncationNotice(50))) << last.right(300).toStdString();
    EXPECT_TRUE(last.contains(QStringLiteral("Página 50 de 50")));
}

TEST_F(RenderTest, PlanPrintsItsLinesAsTyped)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    platform::PageContext plan(dialogs, [] { return QStringLiteral("Plano de Tratamento"); });
    const QString outline = QStringLiteral("Fase 1: alinhamento e nivelamento.\n\tArco 0.014 NiTi.\nFase 2: "
                                           "fechamento de espaços com mecânica de deslize.");
    const QString pdf = render([&](ReportEngine& e) { return PrintPlan(e, plan, QStringLiteral("ANA"), outline, 3, [] { return true; }); },
                               QStringLiteral("plan.pdf"));
    ASSERT_EQ(test::PdfPages(pdf), 1);
    const QString text = test::PdfText(pdf, 1).simplified();
    for (const char* s : {"Plano de Tratamento", "Paciente: ANA", "Fase 1: alinhamento e nivelamento.",
                          "Arco 0.014 NiTi.", "fechamento de espaços", "Página 1 de 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
}

TEST_F(RenderTest, SmallerPaperShrinksTheLayoutToFit)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    const report::ReportProject project = report::LoadReportProject(ReportEngine::ProjectFile());
    report::ParamMap params;
    for (const ReportParam& p : BuildTweedReport(test::SampleTweed()).params)
        params.insert(p.name, p.text);
    const report::ReportDocument doc(project, project.reports[QStringLiteral("report1")], params, 1);
    const QString path = work.file(QStringLiteral("a5.pdf"));
    QList<report::LaidPage> pages;
    {
        QPdfWriter writer(path);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10)));
        ASSERT_EQ(doc.print(writer, 1, 1, {}, &pages), 1);
    }
    ASSERT_EQ(pages.size(), 1);
    // Everything of the A4 page is on the A5 page: the last line of the body and the footer.
    EXPECT_TRUE(pages[0].texts().contains(QStringLiteral("ÍNDICE DE DIFICULDADE SUAVE: 18.8")));
    EXPECT_EQ(pages[0].texts().last(), QStringLiteral("Página 1 de 1"));
    EXPECT_TRUE(test::PdfText(path, 1).contains(QStringLiteral("ÍNDICE DE DIFICULDADE SUAVE: 18.8")));
}

}  // namespace
}  // namespace qv
