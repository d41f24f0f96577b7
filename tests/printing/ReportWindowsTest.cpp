// The engine's windows: setup (copies, destinations, printer and page setup), the preview at
// 100 %, and the run through them to a PDF file or the preview.

#include "PdfProbe.h"
#include "PrintSamples.h"

#include "platform/Modules.h"
#include "printing/ReportDocument.h"
#include "printing/ReportEngine.h"
#include "printing/ReportWindows.h"
#include "records/TweedFile.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>

namespace qv {
namespace {

using report::ReportSetupDialog;

class WindowsTest : public test::WorkFolderTest {
protected:
    void SetUp() override { project = report::LoadReportProject(ReportEngine::ProjectFile()); }

    report::ParamMap params(const ReportParamList& list)
    {
        report::ParamMap m;
        for (const ReportParam& p : list)
            m.insert(p.name, p.text);
        return m;
    }

    report::ReportProject project;
};

TEST_F(WindowsTest, SetupWindowOffersCopiesDestinationsAndSetups)
{
    QPrinter printer;
    ReportSetupDialog setup(printer, 2);
    EXPECT_EQ(setup.windowTitle(), QStringLiteral("Análise Cefalométrica"));
    auto* copies = setup.findChild<QSpinBox*>(QStringLiteral("copias"));
    ASSERT_TRUE(copies);
    EXPECT_EQ(copies->minimum(), 1);
    EXPECT_EQ(copies->value(), 1);
    auto* preview = setup.findChild<QRadioButton*>(QStringLiteral("destPreview"));
    auto* toPrinter = setup.findChild<QRadioButton*>(QStringLiteral("destPrinter"));
    auto* toPdf = setup.findChild<QRadioButton*>(QStringLiteral("destPdf"));
    ASSERT_TRUE(preview && toPrinter && toPdf);
    EXPECT_TRUE(preview->isChecked());
    EXPECT_EQ(setup.destination(), ReportSetupDialog::Preview);
    EXPECT_TRUE(setup.findChild<QPushButton*>(QStringLiteral("pageSetup"))->isEnabled());
    EXPECT_EQ(setup.findChild<QLabel*>(QStringLiteral("printRange"))->text(), QStringLiteral("Páginas 1 a 2"));

    auto* printerSetup = setup.findChild<QPushButton*>(QStringLiteral("printerSetup"));
    auto* printerName = setup.findChild<QLabel*>(QStringLiteral("printerName"));
    ASSERT_TRUE(printerSetup && printerName);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        EXPECT_FALSE(setup.printersAvailable());
        EXPECT_FALSE(toPrinter->isEnabled());
        EXPECT_FALSE(printerSetup->isEnabled());
        EXPECT_EQ(printerName->text(), report::NoPrinterText());
        EXPECT_TRUE(printerName->text().contains(QStringLiteral("Nenhuma impressora")));
    } else {
        EXPECT_TRUE(toPrinter->isEnabled());
        EXPECT_FALSE(printerName->text().isEmpty());
    }
}

TEST_F(WindowsTest, PdfDestinationNeedsAFileAndTakesNoCopies)
{
    QPrinter printer;
    ReportSetupDialog setup(printer, 1);
    setup.setDestination(ReportSetupDialog::PdfFile);
    EXPECT_FALSE(setup.findChild<QSpinBox*>(QStringLiteral("copias"))->isEnabled());
    EXPECT_EQ(setup.findChild<QLabel*>(QStringLiteral("printRange"))->text(), QStringLiteral("Página 1"));
    setup.setPdfPath(QStringLiteral("  "));
    setup.accept();
    EXPECT_NE(setup.result(), QDialog::Accepted);
    setup.setPdfPath(work.file(QStringLiteral("a.pdf")));
    setup.accept();
    EXPECT_EQ(setup.result(), QDialog::Accepted);
}

TEST_F(WindowsTest, PreviewOpensAtActualSizeWithThePagesOfTheRange)
{
    for (const auto& [texts, pages] : {std::pair{test::SampleTweed(), 1}, std::pair{test::SampleTweedDiagnosed(), 2}}) {
        const TweedReportPlan plan = BuildTweedReport(texts);
        const report::ReportDocument doc(project, project.reports[QStringLiteral("report1")], params(plan.params), plan.lastPage);
        QPrinter printer;
        printer.setPageLayout(doc.pageLayout());
        std::unique_ptr<QPrintPreviewDialog> preview(report::MakePreviewDialog(printer, doc, dialogs, nullptr));
        EXPECT_EQ(preview->windowTitle(), QStringLiteral("Análise Cefalométrica"));
        auto* widget = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_TRUE(widget);
        widget->updatePreview();
        EXPECT_EQ(widget->zoomMode(), QPrintPreviewWidget::CustomZoom);
        EXPECT_DOUBLE_EQ(widget->zoomFactor(), 1.0);
        EXPECT_EQ(widget->pageCount(), pages);
        // Neither fit button claims the zoom.
        for (QAction* a : preview->findChildren<QAction*>())
            if (a->objectName().startsWith(QLatin1String("fit"))) {
                EXPECT_FALSE(a->isChecked()) << a->objectName().toStdString();
            }
    }
}

// The windows' run with the clinician's choices scripted.
class ScriptedOutput : public report::QtReportOutput {
public:
    std::function<int(ReportSetupDialog&)> onSetup;
    std::function<void(QPrintPreviewDialog&)> onPreview;
    int previews = 0;

protected:
    int runSetup(ReportSetupDialog& setup) override { return onSetup(setup); }
    void runPreview(QPrintPreviewDialog& preview) override
    {
        ++previews;
        if (onPreview)
            onPreview(preview);
    }
};

TEST_F(WindowsTest, RunThroughTheWindowsToAPdfFileHonoursTheRange)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    auto out = std::make_unique<ScriptedOutput>();
    ScriptedOutput* script = out.get();
    ReportEngine engine(dialogs, std::move(out));
    const QString path = work.file(QStringLiteral("escolhido.pdf"));
    script->onSetup = [&](ReportSetupDialog& setup) {
        EXPECT_EQ(setup.printer().docName(), QStringLiteral("Imprimindo..."));
        EXPECT_EQ(setup.printer().printRange(), QPrinter::PageRange);
        EXPECT_EQ(setup.printer().fromPage(), 1);
        EXPECT_EQ(setup.printer().toPage(), 2);
        setup.setDestination(ReportSetupDialog::PdfFile);
        setup.setPdfPath(path);
        return int(QDialog::Accepted);
    };
    engine.SetReportParams(BuildTweedReport(test::SampleTweedDiagnosed()).params);
    engine.SetLastPage(2);
    ASSERT_TRUE(engine.RunReport(QStringLiteral("report1")));
    EXPECT_EQ(test::PdfPages(path), 2);
    EXPECT_TRUE(test::PdfText(path, 2).contains(QStringLiteral("Diagnóstico Sugerido")));

    // The same parameters with the range cut to page 1.
    QFile::remove(path);
    engine.SetLastPage(1);
    script->onSetup = [&](ReportSetupDialog& setup) {
        EXPECT_EQ(setup.printer().toPage(), 1);
        setup.setDestination(ReportSetupDialog::PdfFile);
        setup.setPdfPath(path);
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(engine.RunReport(QStringLiteral("report1")));
    EXPECT_EQ(test::PdfPages(path), 1);
    EXPECT_EQ(script->previews, 0);
}

TEST_F(WindowsTest, APdfFileIsWrittenForItsOwnerOnlyAndReplacesAnotherOnlyWhenAllowed)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    struct Case {
        const char* what;
        bool exists;
        std::optional<platform::Answer> answer;  // to "já existe. Deseja substituí-lo?"
        bool written;
    };
    const Case cases[] = {
        {"a new file", false, std::nullopt, true},
        {"another patient's report, replaced", true, platform::Answer::Yes, true},
        {"another patient's report, kept", true, platform::Answer::No, false},
    };
    const QString path = work.file(QStringLiteral("Análises/Análise de Tweed.pdf"));
    const QByteArray other = "%PDF- another patient's report";
    for (const Case& c : cases) {
        QFile::remove(path);
        if (c.exists) {
            work.write(QStringLiteral("Análises/Análise de Tweed.pdf"), other);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
        }
        if (c.answer)
            dialogs.answers.push_back(*c.answer);
        auto out = std::make_unique<ScriptedOutput>();
        out->onSetup = [&](ReportSetupDialog& setup) {
            setup.setDestination(ReportSetupDialog::PdfFile);
            setup.setPdfPath(path);
            return int(QDialog::Accepted);
        };
        ReportEngine engine(dialogs, std::move(out));
        engine.SetReportParams(BuildTweedReport(test::SampleTweedDiagnosed()).params);
        engine.SetLastPage(2);
        ASSERT_TRUE(engine.RunReport(QStringLiteral("report1"))) << c.what;
        if (c.answer) {
            const test::Box question = dialogs.take();
            EXPECT_EQ(question.type, test::Box::Question) << c.what;
            EXPECT_TRUE(question.text.contains(QStringLiteral("já existe"))) << c.what;
        }
        EXPECT_TRUE(dialogs.pending().empty()) << c.what << qPrintable(dialogs.describePending());
        if (!c.written) {
            EXPECT_EQ(work.read(QStringLiteral("Análises/Análise de Tweed.pdf")), other) << c.what;
            continue;
        }
        EXPECT_EQ(test::PdfPages(path), 2) << c.what;
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << c.what;
        if (test::kPosixPermissions)
            EXPECT_EQ(st.st_mode & 0777, 0600u) << c.what;
        EXPECT_EQ(QDir(work.file(QStringLiteral("Análises"))).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("Análise de Tweed.pdf")})
            << c.what;
    }
}

TEST(ProposedPdfName, HoldsThePatientAndTheStageAsTheExportsDo)
{
    const struct {
        const char *nome, *fase, *title, *name;
    } cases[] = {
        {"Paciente:  MARIA  -  INICIAL", nullptr, "Análise Cefalométrica de Tweed", "MARIA-INICIAL - Análise Cefalométrica de Tweed.pdf"},
        {"Paciente:  MARIA", "INTER1", "Análise Cefalométrica", "MARIA-INTER1 - Análise Cefalométrica.pdf"},
        {"Paciente:  JOSÉ DA SILVA", nullptr, "Evolução", "JOSÉ DA SILVA - Evolução.pdf"},
        {"Paciente:  A/B: \"C\"?", "FINAL", "Plano", "A_B_ _C__-FINAL - Plano.pdf"},
        {"Paciente:  ", nullptr, "Análise de Bolton", "Análise de Bolton.pdf"},  // no patient: the title
        {nullptr, nullptr, "Relatório", "Relatório.pdf"},
    };
    for (const auto& c : cases) {
        report::ParamMap p;
        if (c.nome)
            p.insert(QStringLiteral("nome"), QString::fromUtf8(c.nome));
        if (c.fase)
            p.insert(QStringLiteral("fase"), QString::fromUtf8(c.fase));
        EXPECT_EQ(report::ProposedPdfName(p, QString::fromUtf8(c.title)), QString::fromUtf8(c.name)) << c.nome;
    }
}

TEST_F(WindowsTest, ThePdfFileProposedNamesThePatientAndTheStage)
{
    auto out = std::make_unique<ScriptedOutput>();
    QString proposed;
    out->onSetup = [&](ReportSetupDialog& setup) {
        proposed = setup.pdfPath();
        return int(QDialog::Rejected);
    };
    ReportEngine engine(dialogs, std::move(out));
    const TweedSheet sample = test::SampleTweedDiagnosed().sheet;
    engine.SetReportParams(BuildTweedReport(test::SampleTweedDiagnosed()).params);
    ASSERT_TRUE(engine.RunReport(QStringLiteral("report1")));
    EXPECT_EQ(proposed, QDir::current().absoluteFilePath(QStringLiteral("Análises/") + sample.twPaciente + u'-' +
                                                          StageText(sample.stage) + QStringLiteral(" - Análise Cefalométrica de Tweed.pdf")));
}

TEST_F(WindowsTest, PreviewChoiceShowsThePreviewAndCancelOutputsNothing)
{
    auto out = std::make_unique<ScriptedOutput>();
    ScriptedOutput* script = out.get();
    ReportEngine engine(dialogs, std::move(out));
    engine.SetReportParams(test::SampleBoltonReport());
    int shown = -1;
    script->onSetup = [](ReportSetupDialog& setup) {
        EXPECT_EQ(setup.destination(), ReportSetupDialog::Preview);
        return int(QDialog::Accepted);
    };
    script->onPreview = [&](QPrintPreviewDialog& preview) {
        auto* widget = preview.findChild<QPrintPreviewWidget*>();
        widget->updatePreview();
        shown = widget->pageCount();
        EXPECT_DOUBLE_EQ(widget->zoomFactor(), 1.0);
    };
    ASSERT_TRUE(engine.RunReport(QStringLiteral("report2")));
    EXPECT_EQ(script->previews, 1);
    EXPECT_EQ(shown, 1);

    script->onSetup = [](ReportSetupDialog&) { return int(QDialog::Rejected); };
    ASSERT_TRUE(engine.RunReport(QStringLiteral("report2")));
    EXPECT_EQ(script->previews, 1);
}

TEST_F(WindowsTest, TheEnginesOwnOutputOpensThePrintWindows)
{
    // No output given: the program's, the print windows themselves, whatever module folders
    // exist (none are needed to print).
    platform::ForgetAddedModuleFolders();
    ReportEngine engine(dialogs);
    engine.SetReportParams(test::SampleBoltonReport());
    QString title;
    bool sawPdfChoice = false;
    QTimer::singleShot(0, [&] {
        auto* setup = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(setup);
        title = setup->windowTitle();
        sawPdfChoice = setup->findChild<QRadioButton*>(QStringLiteral("destPdf")) != nullptr;
        setup->reject();
    });
    ASSERT_TRUE(engine.RunReport(QStringLiteral("report2")));
    EXPECT_EQ(title, QStringLiteral("Análise Cefalométrica"));
    EXPECT_TRUE(sawPdfChoice);
    EXPECT_TRUE(dialogs.pending().empty()) << dialogs.describePending().toStdString();  // cancelled: no box
    platform::AddModuleFolder(QStringLiteral(QUORVEL_MODULE_DIR));
}

TEST(StatusLines, PageNumberReplacesTheMark)
{
    EXPECT_EQ(report::StatusLine(report::GeneratingStatus(), 3), QStringLiteral("Gerando página 3"));
    EXPECT_EQ(report::StatusLine(report::PrintingStatus(), 12), QStringLiteral("Imprimindo página 12"));
    EXPECT_EQ(report::JobTitle(), QStringLiteral("Imprimindo..."));
}

}  // namespace
}  // namespace qv
