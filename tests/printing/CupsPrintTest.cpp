// Real printing: each report goes through the printer path of the setup window to a queue of
// a private CUPS scheduler; what reaches the queue is read back (pages, texts, copies, range,
// job title), and a stopped queue is reported as a failure.

#include "CupsQueue.h"
#include "PdfProbe.h"
#include "PrintSamples.h"

#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "printing/ReportWindows.h"
#include "records/Cp1252.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QPrinterInfo>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace qv {
namespace {

using report::ReportSetupDialog;

// The clinician's choices in the setup window: the printer, and the copies.
class PrinterChoice : public report::QtReportOutput {
public:
    int copies = 1;
    int setups = 0;

protected:
    int runSetup(ReportSetupDialog& setup) override
    {
        ++setups;
        setup.printer().setPrinterName(QString::fromLatin1(test::CupsQueue::kPrinter));
        setup.setDestination(ReportSetupDialog::Printer);
        setup.findChild<QSpinBox*>(QStringLiteral("copias"))->setValue(copies);
        return int(QDialog::Accepted);
    }
    void runPreview(QPrintPreviewDialog&) override { ADD_FAILURE() << "the preview was shown"; }
};

class CupsPrintTest : public test::WorkFolderTest {
protected:
    static void SetUpTestSuite()
    {
        queue = new test::CupsQueue;
        // The print support reads the scheduler's address when it first connects.
        if (queue->running())
            qputenv("CUPS_SERVER", queue->socket().toUtf8());
    }
    static void TearDownTestSuite()
    {
        delete queue;
        queue = nullptr;
    }

    void SetUp() override
    {
        if (!queue->running())
            GTEST_SKIP() << "no private CUPS scheduler: " << queue->whyNot().toStdString();
        dialogs.setHideItem(&popOcultar);
        auto out = std::make_unique<PrinterChoice>();
        choice = out.get();
        engine = std::make_unique<ReportEngine>(dialogs, std::move(out));
    }

    int lastJob() const { return queue->newestJob(); }

    static test::CupsQueue* queue;
    QAction popOcultar;
    PrinterChoice* choice = nullptr;
    std::unique_ptr<ReportEngine> engine;
    platform::PageContext page{dialogs, [] { return QStringLiteral("Quorvel"); }};
};

test::CupsQueue* CupsPrintTest::queue = nullptr;

TEST_F(CupsPrintTest, EveryReportReachesTheQueueWithItsPagesCopiesAndRange)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(QString::fromLatin1(test::CupsQueue::kPrinter)))
        << QPrinterInfo::availablePrinterNames().join(u',').toStdString();
    work.write(HistoryFilePath(QStringLiteral("ANA")), ToCp1252(test::SampleHistoryFile(QStringLiteral("ANA"), 40)));
    struct Case {
        const char* name;
        std::function<PrintOutcome()> print;
        int copies;
        int pages;      // in the queue's document
        int lastPage;   // the report's range
        std::vector<const char*> firstPage, lastPageTexts;
    };
    const std::vector<Case> cases = {
        {"report1", [&] { return PrintTweed(*engine, page, test::SampleTweedDiagnosed()); }, 2, 2, 2,
         {"Análise Cefalométrica de Tweed", "FMA (22° a 28°)", "ÍNDICE DE DIFICULDADE SUAVE: 18.8", "Página 1 de 2"},
         {"Diagnóstico Sugerido", "Desarmonia Esquelética", "X  4", "Página 2 de 2"}},
        {"report2", [&] { return PrintBolton(*engine, page, test::SampleBolton()); }, 1, 1, 1,
         {"Análise de Bolton", "Paciente:  BIA", "92.6 %", "Excesso mandibular de 1.5mm", "Página 1 de 1"}, {}},
        {"report3", [&] { return PrintHistory(*engine, page, QStringLiteral("ANA"), 160); }, 3, 3, 50,
         {"Histórico do Tratamento", "Paciente:  ANA", "Consulta 1:", "Página 1 de 3"}, {"Consulta 40:", "Página 3 de 3"}},
        {"report4",
         [&] {
             return PrintPlan(*engine, page, QStringLiteral("ANA"), QStringLiteral("Fase 1: alinhamento.\nFase 2: contenção."), 2,
                              [] { return true; });
         },
         1, 1, 50, {"Plano de Tratamento", "Fase 1: alinhamento.", "Fase 2: contenção.", "Página 1 de 1"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = lastJob();
        choice->copies = c.copies;
        ASSERT_EQ(c.print(), PrintOutcome::Ran);
        const int job = queue->waitForJob(before);
        ASSERT_GT(job, 0) << "no job reached the queue\n" << queue->log().toStdString();
        const QString pdf = queue->document(job);
        test::KeepReport(pdf, QString::fromLatin1(c.name) + QStringLiteral("-cups.pdf"));
        EXPECT_EQ(test::PdfPages(pdf), c.pages);
        const QString first = test::PdfText(pdf, 1).simplified();
        for (const char* s : c.firstPage)
            EXPECT_TRUE(first.contains(QString::fromUtf8(s).simplified())) << s;
        const QString last = test::PdfText(pdf, c.pages).simplified();
        for (const char* s : c.lastPageTexts)
            EXPECT_TRUE(last.contains(QString::fromUtf8(s).simplified())) << s;
        // What the queue was told: the job's title, the copies and the page range.
        const QString attributes = queue->attributes(job);
        EXPECT_TRUE(attributes.contains(QStringLiteral("title=Imprimindo...\n"))) << attributes.toStdString();
        EXPECT_TRUE(attributes.contains(QStringLiteral("copies=%1\n").arg(c.copies))) << attributes.toStdString();
        // The scheduler writes a range of one page as that page.
        const QString range = c.lastPage == 1 ? QStringLiteral("page-ranges=1 ") : QStringLiteral("page-ranges=1-%1 ").arg(c.lastPage);
        EXPECT_TRUE(attributes.contains(range)) << attributes.toStdString();
    }
    EXPECT_EQ(choice->setups, 4);
}

TEST_F(CupsPrintTest, StoppedQueueIsAFailureNotAPrintedReport)
{
    const QString stop = queue->admin(QStringLiteral("/usr/sbin/cupsdisable"), {QString::fromLatin1(test::CupsQueue::kPrinter)});
    ASSERT_TRUE(stop.isEmpty()) << stop.toStdString();
    const int before = lastJob();
    EXPECT_EQ(PrintBolton(*engine, page, test::SampleBolton()), PrintOutcome::Ran);
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, platform::NoticeKind::Error);
    EXPECT_EQ(box.caption, QStringLiteral("Análise Cefalométrica"));
    EXPECT_EQ(box.text, report::StoppedPrinterText(QString::fromLatin1(test::CupsQueue::kPrinter)));
    EXPECT_TRUE(popOcultar.isEnabled());
    // Nothing waits in the queue to come out later either.
    EXPECT_EQ(queue->waitForJob(before, 1500), 0);
    const QString start = queue->admin(QStringLiteral("/usr/sbin/cupsenable"), {QString::fromLatin1(test::CupsQueue::kPrinter)});
    ASSERT_TRUE(start.isEmpty()) << start.toStdString();
    EXPECT_EQ(queue->waitForJob(before, 3000), 0);
}

}  // namespace
}  // namespace qv
