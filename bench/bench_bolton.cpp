// The Bolton calculation as CALCULAR runs it (checks, sums, Bolton.cef read from disk, look-ups,
// excesses, texts), and one Bolton file record encoded and decoded.
#include "analysis/BoltonCalc.h"
#include "records/BoltonFile.h"
#include "analysis/BoltonTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

qv::BoltonSheet sampleInputs()
{
    const char* upper[12] = {"10.0", "6.5", "7.0", "7.5", "6.5", "8.5", "8.5", "6.5", "7.5", "7.0", "6.5", "10.0"};
    const char* lower[12] = {"11.0", "7.0", "7.0", "7.0", "6.0", "5.5", "5.5", "6.0", "7.0", "7.0", "7.0", "11.0"};
    qv::BoltonSheet in;
    in.bpaciente = QStringLiteral("MARIA DA SILVA");
    for (size_t k = 0; k < 12; ++k) {
        in.s[k] = QString::fromLatin1(upper[k]);
        in.i[k] = QString::fromLatin1(lower[k]);
    }
    in.termole = in.termold = QStringLiteral("11.0");
    in.segmole = in.segmold = QStringLiteral("10.5");
    return in;
}

}  // namespace

static void BM_BoltonCalculationWithTableFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("Bolton.cef"));
    QFile::copy(QDir(QStringLiteral(QUORVEL_DATA_DIR)).filePath(QStringLiteral("Bolton.cef")), table);
    const qv::BoltonSheet in = sampleInputs();
    for (auto _ : state) {
        QString refusal = qv::BoltonRefusal(in);
        const bool molars = qv::MolarsFilled(in);
        qv::BoltonResults r = qv::ComputeBoltonSums(in);
        qv::CompleteBolton(r, qv::ReadBoltonTables(table));
        benchmark::DoNotOptimize(refusal);
        benchmark::DoNotOptimize(molars);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BoltonCalculationWithTableFile);

static void BM_BoltonCalculationTableInMemory(benchmark::State& state)
{
    const qv::BoltonTable table =
        qv::ReadBoltonTables(QDir(QStringLiteral(QUORVEL_DATA_DIR)).filePath(QStringLiteral("Bolton.cef")));
    const qv::BoltonSheet in = sampleInputs();
    for (auto _ : state) {
        qv::BoltonResults r = qv::ComputeBolton(in, table);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BoltonCalculationTableInMemory);

static void BM_BoltonFileRecordEncodeDecode(benchmark::State& state)
{
    qv::BoltonSheet sheet = sampleInputs();
    sheet.bpaciente = QStringLiteral("JOSÉ DA CONCEIÇÃO");
    for (auto _ : state) {
        const QByteArray bytes = qv::EncodeBoltonSheet(sheet);
        qv::BoltonSheet back = qv::DecodeBoltonSheet(bytes);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_BoltonFileRecordEncodeDecode);

BENCHMARK_MAIN();
