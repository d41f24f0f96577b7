// The Tweed calculation: the pure computation of every result of one CALCULAR, and a whole
// CALCULAR click on the real page (count in Stats.cef, labels written, panel emptied).
#include "BenchMain.h"
#include "platform/PageContext.h"
#include "records/Statistics.h"
#include "records/StatsFile.h"
#include "analysis/TweedAnalysis.h"
#include "tweed/TweedPage.h"

#include <QApplication>
#include <QDir>
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
    {"Idade", "13"},    {"twPaciente", "ANA"}};

qv::TweedInputs inputs()
{
    qv::TweedInputs in;
    in.twfma = "25.0";
    in.twfmia = "66.0";
    in.twimpa = "95.0";
    in.twploc = "10.0";
    in.twsna = "82.0";
    in.twsnb = "78.5";
    in.twaobo = "2.0";
    in.twangz = "75.0";
    in.twls = "15.0";
    in.twqt = "12.0";
    in.twafa = "116.4";
    in.twafp = "87.3";
    in.anaer = "10.0";
    in.anaep = "7.5";
    in.anmer = "20.0";
    in.anmep = "19.0";
    in.anmspee = "-1.5";
    in.anmcorr = "-2.0";
    in.anper = "12.0";
    in.anpep = "8.0";
    in.Idade = "13";
    in.twPaciente = "ANA";
    in.GenMasc = true;
    return in;
}

void BM_ComputeTweed(benchmark::State& state)
{
    const qv::TweedInputs in = inputs();
    for (auto _ : state) {
        const bool ok = qv::CheckTweedInputs(in) == qv::TweedRefusal::None;
        qv::TweedResults r = qv::ComputeTweed(in);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ComputeTweed);

// The count alone: read, change and atomically replace Stats.cef.
void BM_RecordStatistic(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stats.cef"));
    qv::WriteStats(qv::StatsRecord{}, path);
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::RecordStatistic('t', path));
}
BENCHMARK(BM_RecordStatistic)->Unit(benchmark::kMicrosecond);

// Answers every question by closing it, so the page stays in Editing and the click repeats.
class ClosingDialogs : public qv::platform::Dialogs {
protected:
    void showMessage(qv::platform::NoticeKind, const QString& text, const QString&) override
    {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
    }
    qv::platform::Answer askYesNo(const QString&, const QString&) override { return qv::platform::Answer::Closed; }
    QString chooseFile(const qv::platform::OpenFileRequest&) override { return {}; }
};

// With paint: the labels' repaint is drawn after each click, as the clinician sees it.
// In memory: the working folder on a RAM disk, so the count's flush to disk is left out and
// what remains is the page's own work.
void BM_CalcularClick(benchmark::State& state, bool paint, bool inMemory)
{
    QTemporaryDir dir(inMemory && QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/bench_tweed-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/bench_tweed-XXXXXX"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    qv::WriteStats(qv::StatsRecord{});

    ClosingDialogs dialogs;
    qv::platform::PageContext context(dialogs, [] { return QStringLiteral("Análise de Tweed"); });
    qv::TweedPage page(context);
    for (const auto& [name, value] : kPatient)
        page.findChild<QLineEdit*>(QLatin1String(name))->setText(QString::fromUtf8(value));
    page.findChild<QRadioButton*>(QStringLiteral("GenMasc"))->setChecked(true);
    page.resize(975, 660);
    page.show();
    QApplication::processEvents();

    for (auto _ : state) {
        page.tCalcularClick();
        if (paint)
            QApplication::processEvents();
    }
    QDir::setCurrent(previous);
}
BENCHMARK_CAPTURE(BM_CalcularClick, handler, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CalcularClick, with_repaint, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CalcularClick, with_repaint_in_memory, true, true)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    return qv::bench::RunWidgetBenchmarks(argc, argv);
}
