// ParseReal + FormatReal of a typical field.
#include "entry/RealEntry.h"

#include <benchmark/benchmark.h>

static void BM_ParseFormatField(benchmark::State& state)
{
    const QString text = QStringLiteral("24.35");
    for (auto _ : state) {
        QString out = qv::FormatReal(0, 1, qv::ParseReal(text));
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ParseFormatField);

static void BM_ChainedSum(benchmark::State& state)
{
    const QString a = QStringLiteral("-3.5"), b = QStringLiteral("2.25"), c = QStringLiteral("-0.75");
    for (auto _ : state) {
        QString out = qv::F1(qv::ParseReal(a) + qv::ParseReal(b) + qv::ParseReal(c));
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ChainedSum);

BENCHMARK_MAIN();
