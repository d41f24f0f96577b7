// The Tweed analysis file end to end on the program's windows: SALVAR of an analysis with its
// generated diagnosis, LIMPAR, then ABRIR of that file, which recalculates (counted in
// Stats.cef), restores the guide's answers, regenerates the diagnosis (counted again) and
// empties the guide. The boxes are answered at once.
#include "BenchMain.h"
#include "guide/GuideWindow.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "records/StatsFile.h"
#include "tweed/TweedPage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const std::pair<const char*, const char*> kPatient[] = {
    {"twfma", "25.0"},  {"twfmia", "66.0"},  {"twimpa", "95.0"},  {"twploc", "10.0"}, {"twsna", "82.0"},
    {"twsnb", "78.5"},  {"twaobo", "2.0"},   {"twangz", "75.0"},  {"twls", "15.0"},   {"twqt", "12.0"},
    {"twafa", "100.0"}, {"twafp", "66.0"},   {"anaer", "10.0"},   {"anaep", "7.5"},   {"anmer", "20.0"},
    {"anmep", "19.0"},  {"anmspee", "-1.5"}, {"anmcorr", "-2.0"}, {"anper", "12.0"},  {"anpep", "8.0"},
    {"Idade", "13"},    {"twPaciente", "ANA MARIA"}};

const char* const kAnswers[] = {"daapinh", "menor", "dmrel", "dpadq", "clsim", "horcl2", "sem", "aberta", "suave"};

const QString kFile = QStringLiteral("Análises/ANA MARIA-INTER2.twe");

// Yes to every question, the analysis file to every open-file dialog; any box but the
// expected ones is reported.
class AnsweringDialogs : public qv::platform::Dialogs {
public:
    int boxes = 0;

protected:
    void showMessage(qv::platform::NoticeKind, const QString&, const QString&) override { ++boxes; }
    qv::platform::Answer askYesNo(const QString&, const QString&) override { return qv::platform::Answer::Yes; }
    QString chooseFile(const qv::platform::OpenFileRequest&) override { return kFile; }
};

class NoShell : public qv::platform::Shell {
public:
    void Open(const QUrl&) override {}
};

// A page concluded with its diagnosis generated, and no file yet.
void prepare(qv::TweedPage& page, qv::GuideWindow& guide)
{
    QFile::remove(kFile);
    page.NewAnalysis();
    for (const auto& [name, value] : kPatient)
        page.findChild<QLineEdit*>(QLatin1String(name))->setText(QString::fromUtf8(value));
    page.findChild<QRadioButton*>(QStringLiteral("GenMasc"))->setChecked(true);
    page.findChild<QRadioButton*>(QStringLiteral("inter2"))->setChecked(true);
    page.tCalcularClick();  // Yes to the IMPA question
    page.tCalcularClick();  // the guide
    for (const char* a : kAnswers)
        guide.setAnswer(QLatin1String(a), true);
    guide.gdiagClick();
}

void BM_SaveAndReopenWithDiagnosis(benchmark::State& state, bool paint, bool inMemory)
{
    QTemporaryDir dir(inMemory && QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/bench_tweedfile-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/bench_tweedfile-XXXXXX"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    qv::WriteStats(qv::StatsRecord{});
    QDir().mkdir(QStringLiteral("Análises"));

    AnsweringDialogs dialogs;
    NoShell shell;
    qv::Windows windows(dialogs, shell);
    qv::MainWindow* form2 = windows.form2();
    qv::GuideWindow* form3 = windows.form3();
    form2->setActivePage(qv::MainWindow::Tweed);
    auto* page = static_cast<qv::TweedPage*>(form2->page(qv::MainWindow::Tweed));
    if (paint) {
        form2->show();
        QApplication::processEvents();
    }

    for (auto _ : state) {
        state.PauseTiming();
        prepare(*page, *form3);
        if (paint)
            QApplication::processEvents();  // the preparation's own repaint is not timed
        const int boxesBefore = dialogs.boxes;
        state.ResumeTiming();

        page->tsalvarClick();
        page->NewAnalysis();
        page->tabrirClick();
        if (paint)
            QApplication::processEvents();

        state.PauseTiming();
        // The success box and the guide's reminder; the panel must be filled again.
        if (dialogs.boxes - boxesBefore != 2 || page->state() != qv::TweedPage::State::Diagnosed) {
            state.SkipWithError("the file did not come back with its diagnosis");
            break;
        }
        state.ResumeTiming();
    }
    form2->hide();
    QDir::setCurrent(previous);
}
BENCHMARK_CAPTURE(BM_SaveAndReopenWithDiagnosis, handlers, false, false)
    ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_SaveAndReopenWithDiagnosis, with_repaint, true, false)
    ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_SaveAndReopenWithDiagnosis, with_repaint_in_memory, true, true)
    ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    return qv::bench::RunWidgetBenchmarks(argc, argv);
}
