// Report rendering to PDF: the Tweed report with the fullest diagnosis, and a 50-page history.
// With --preview-history the program instead opens the preview of a 50-page history offscreen,
// draws its pages and closes it (run it under /usr/bin/time -v for the peak memory).

#include "BenchMain.h"
#include "platform/Dialogs.h"
#include "printing/ReportEngine.h"
#include "printing/ReportWindows.h"

#include "../tests/printing/PrintSamples.cpp"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>


namespace {

// A working folder holding the report project, made current.
class Folder {
public:
    Folder()
    {
        QFile::copy(QStringLiteral(QUORVEL_DATA_DIR "/Análises.rav"), m_dir.filePath(QStringLiteral("Análises.rav")));
        QDir::setCurrent(m_dir.path());
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

qv::platform::QtDialogs& boxes()
{
    static qv::platform::QtDialogs d;
    return d;
}

// A history long enough for more than 50 pages.
QString longHistoryMemo()
{
    const QStringList lines = qv::SplitFileLines(qv::test::SampleHistoryFile(QStringLiteral("ANA"), 700));
    return qv::HistoryMemo(lines, int(lines.size()) - 1);
}

void BM_TweedReportWithDiagnosisToPdf(benchmark::State& state)
{
    Folder folder;
    const qv::TweedReportPlan plan = qv::test::BuildTweedReport(qv::test::SampleTweedDiagnosed());
    const QString path = folder.file(QStringLiteral("tweed.pdf"));
    for (auto _ : state) {
        // A fresh engine: the first print of a session also reads the project.
        auto out = std::make_unique<qv::report::PdfFileOutput>(path);
        auto* raw = out.get();
        qv::ReportEngine engine(boxes(), std::move(out));
        engine.SetReportParams(plan.params);
        engine.SetReportParams(plan.alternatives);
        engine.SetLastPage(plan.lastPage);
        engine.RunReport(QStringLiteral("report1"));
        if (raw->pagesWritten() != 2)
            state.SkipWithError("report1 did not give two pages");
    }
}
BENCHMARK(BM_TweedReportWithDiagnosisToPdf)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_FiftyPageHistoryToPdf(benchmark::State& state)
{
    Folder folder;
    const QString memo = longHistoryMemo();
    const QString path = folder.file(QStringLiteral("history.pdf"));
    auto out = std::make_unique<qv::report::PdfFileOutput>(path);
    auto* raw = out.get();
    qv::ReportEngine engine(boxes(), std::move(out));
    engine.SetReportParams(qv::BuildHistoryReport(QStringLiteral("ANA"), memo));
    engine.SetLastPage(50);
    for (auto _ : state) {
        engine.RunReport(QStringLiteral("report3"));
        if (raw->pagesWritten() != 50)
            state.SkipWithError("the history did not give 50 pages");
    }
}
BENCHMARK(BM_FiftyPageHistoryToPdf)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

int previewHistory()
{
    Folder folder;
    const qv::report::ReportProject project = qv::report::LoadReportProject(qv::ReportEngine::ProjectFile());
    qv::report::ParamMap params;
    for (const qv::ReportParam& p : qv::BuildHistoryReport(QStringLiteral("ANA"), longHistoryMemo()))
        params.insert(p.name, p.text);
    const qv::report::ReportDocument doc(project, project.reports[QStringLiteral("report3")], params, 50);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(doc.pageLayout());
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, 50);
    std::unique_ptr<QPrintPreviewDialog> preview(qv::report::MakePreviewDialog(printer, doc, boxes(), nullptr));
    preview->show();
    QApplication::processEvents();
    const int pages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
    preview->close();
    std::printf("preview pages: %d\n", pages);
    return pages == 50 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    return qv::bench::RunWidgetBenchmarks(argc, argv, {"--preview-history", false, [](const QString&) { return previewHistory(); }});
}
