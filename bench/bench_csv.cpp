// "Exportar todos (CSV)..." over 5,000 patients with four traced stages each (20,000 .tra files):
// from the files read to the spreadsheet's bytes.
#include "BenchMain.h"
#include "analysis/CephCsv.h"
#include "tracing/CephCsvFiles.h"
#include "analysis/TracingFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const char* const kFirst[] = {"ANA", "JOÃO", "MARIA", "JOSÉ", "CONCEIÇÃO", "PEDRO", "LUÍSA", "RAFAEL", "BEATRIZ", "ÍCARO"};
const char* const kLast[] = {"SILVA", "SOUZA", "OLIVEIRA", "SANTOS", "PEREIRA", "LIMA", "GONÇALVES", "ARAÚJO"};
constexpr int kPatients = 5000;

// Every landmark placed, a little apart from one stage to the next, calibrated.
QByteArray StageTracing(int stage)
{
    qv::TracingDocument doc;
    doc.image = QStringLiteral("radiografia.png");
    doc.calibration = {0.1, 0.1};
    for (int i = 0; i < qv::kLandmarkCount; ++i)
        doc.landmarks.set(qv::LandmarkAt(i), QPointF(100 + 37 * i % 700 + stage * 3, 80 + 53 * i % 500 + stage * 2));
    return qv::EncodeTracing(doc);
}

struct BigFolder {
    QTemporaryDir dir;
    QString folder;
    BigFolder()
    {
        folder = QDir(dir.path()).filePath(QStringLiteral("Análises"));
        QDir().mkpath(folder);
        std::array<QByteArray, 4> stages;
        for (int s = 0; s < 4; ++s)
            stages[size_t(s)] = StageTracing(s);
        const QDir d(folder);
        for (int p = 0; p < kPatients; ++p) {
            const QString name = QStringLiteral("%1 %2 %3")
                                     .arg(QString::fromUtf8(kFirst[p % 10]), QString::fromUtf8(kLast[(p / 10) % 8]))
                                     .arg(p);
            for (int s = 0; s < 4; ++s) {
                QFile f(d.filePath(name + u'-' + qv::CephStageWords()[s] + QStringLiteral(".tra")));
                f.open(QIODevice::WriteOnly);
                f.write(stages[size_t(s)]);
            }
        }
    }
};

void BM_CsvAllPatients(benchmark::State& state)
{
    static BigFolder big;
    qsizetype bytes = 0;
    for (auto _ : state) {
        const qv::CephCsvFiles files = qv::ReadCephCsvRows(qv::ShippedAnalyses(), big.folder);
        const QByteArray csv = qv::CephCsv(files.rows);
        if (files.rows.size() != size_t(kPatients) * 4 || !files.skipped.isEmpty())
            state.SkipWithError("not every stage read");
        bytes = csv.size();
        benchmark::DoNotOptimize(csv.data());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_CsvAllPatients)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return qv::bench::RunWidgetBenchmarks(argc, argv); }
