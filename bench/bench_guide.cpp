// Diagnosis generation: from the Tweed page's texts and the guide's answers to the panel contents.

#include "analysis/DiagnosisGeneration.h"

#include <benchmark/benchmark.h>

namespace {

qv::GuideInputs Inputs(const char* a, const char* m, const char* p, const char* anb)
{
    return {QString::fromLatin1(a), QString::fromLatin1(m), QString::fromLatin1(p), QString::fromLatin1(anb)};
}

// No skeletal disharmony: the three areas only.
void BM_GenerateAreasOnly(benchmark::State& state)
{
    qv::GuideAnswers answers;
    answers.daapinh = answers.menor = answers.dmapinh = answers.dpadq = true;
    const qv::GuideInputs inputs = Inputs("-5.0", "-4.0", "-4.9", "2.0");
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::GenerateDiagnosis(inputs, answers));
}
BENCHMARK(BM_GenerateAreasOnly);

// The fullest panel: both middle suggestions and all five skeletal slots.
void BM_GenerateFullPanel(benchmark::State& state)
{
    qv::GuideAnswers answers;
    answers.daapinh = answers.maior = answers.dmrel = answers.dpinadeq = true;
    answers.clsim = true;
    answers.clnao = false;
    answers.horcl2 = answers.sem = answers.aberta = answers.suave = answers.desarm = answers.dessevera = true;
    const qv::GuideInputs inputs = Inputs("-15.0", "-4.0", "-6.0", "3.0");
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::GenerateDiagnosis(inputs, answers));
}
BENCHMARK(BM_GenerateFullPanel);

}  // namespace

BENCHMARK_MAIN();
