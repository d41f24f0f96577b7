// The Bolton page as the clinician drives it: CALCULAR (count in Stats.cef, Bolton.cef read,
// 26 labels written, fields locked) followed by VOLTAR, and SALVAR, "&Novo", ABRIR of that file
// (which recalculates). The boxes are answered at once.
#include "BenchMain.h"
#include "bolton/BoltonPage.h"
#include "platform/Dialogs.h"
#include "platform/PageContext.h"
#include "records/StatsFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const char* const kUpper[12] = {"10.0", "6.5", "7.0", "7.5", "6.5", "8.5", "8.5", "6.5", "7.5", "7.0", "6.5", "10.0"};
const char* const kLower[12] = {"11.0", "7.0", "7.0", "7.0", "6.0", "5.5", "5.5", "6.0", "7.0", "7.0", "7.0", "11.0"};
const QString kFile = QStringLiteral("Análises/MARIA DA SILVA.bol");

// The analysis file to every open-file dialog; the boxes shown are counted.
class AnsweringDialogs : public qv::platform::Dialogs {
public:
    int boxes = 0;

protected:
    void showMessage(qv::platform::NoticeKind, const QString&, const QString&) override { ++boxes; }
    qv::platform::Answer askYesNo(const QString&, const QString&) override { return qv::platform::Answer::Yes; }
    QString chooseFile(const qv::platform::OpenFileRequest&) override { return kFile; }
};

void fill(qv::BoltonPage& page)
{
    const auto set = [&](const QString& name, const QString& text) { page.findChild<QLineEdit*>(name)->setText(text); };
    set(QStringLiteral("bpaciente"), QStringLiteral("MARIA DA SILVA"));
    for (int k = 1; k <= 12; ++k) {
        const QString n = QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
        set(QStringLiteral("s") + n, QString::fromLatin1(kUpper[k - 1]));
        set(QStringLiteral("i") + n, QString::fromLatin1(kLower[k - 1]));
    }
    for (const char* molar : {"termole", "segmole", "segmold", "termold"})
        set(QString::fromLatin1(molar), QStringLiteral("10.5"));
}

// A working folder with the data files, current while the benchmark runs.
class WorkFolder {
public:
    WorkFolder() : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
        qv::WriteStats(qv::StatsRecord{});
        QFile::copy(QDir(QStringLiteral(QUORVEL_DATA_DIR)).filePath(QStringLiteral("Bolton.cef")), QStringLiteral("Bolton.cef"));
        QDir().mkdir(QStringLiteral("Análises"));
    }
    ~WorkFolder() { QDir::setCurrent(m_previous); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

void BM_CalcularClick(benchmark::State& state, bool paint)
{
    WorkFolder folder;
    AnsweringDialogs dialogs;
    qv::platform::PageContext context(dialogs, [] { return QStringLiteral("Análise de Bolton"); });
    qv::BoltonPage page(context);
    fill(page);
    auto* calcular = page.findChild<QPushButton*>(QStringLiteral("bCalcular"));
    if (paint) {
        page.resize(975, 660);
        page.show();
        QApplication::processEvents();
    }
    for (auto _ : state) {
        calcular->click();
        if (paint)
            QApplication::processEvents();
        state.PauseTiming();
        if (calcular->isEnabled() || dialogs.boxes != 0) {
            state.SkipWithError("the calculation did not go through");
            break;
        }
        page.blimparClick();  // VOLTAR
        if (paint)
            QApplication::processEvents();
        state.ResumeTiming();
    }
    page.hide();
}
BENCHMARK_CAPTURE(BM_CalcularClick, handler, false)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_CalcularClick, with_repaint, true)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SaveAndReopen(benchmark::State& state)
{
    WorkFolder folder;
    AnsweringDialogs dialogs;
    qv::platform::PageContext context(dialogs, [] { return QStringLiteral("Análise de Bolton"); });
    qv::BoltonPage page(context);
    auto* calcular = page.findChild<QPushButton*>(QStringLiteral("bCalcular"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(kFile);
        page.NewAnalysis();
        fill(page);
        calcular->click();
        const int boxesBefore = dialogs.boxes;
        state.ResumeTiming();

        page.bsalvarClick();
        page.NewAnalysis();
        page.babrirClick();

        state.PauseTiming();
        // The success box only; the file comes back calculated.
        if (dialogs.boxes - boxesBefore != 1 || calcular->isEnabled()) {
            state.SkipWithError("the file did not come back calculated");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveAndReopen)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    return qv::bench::RunWidgetBenchmarks(argc, argv);
}
