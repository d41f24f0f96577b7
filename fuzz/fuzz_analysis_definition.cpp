// Fuzzes an analysis definition (a clinic's "Análises Cefalométricas/*.json"): whatever its bytes,
// reading refuses them naming a line and a reason, or gives an analysis whose every measure, on
// any points and spacing, is a finite value or no value at all.

#include "FuzzCheck.h"
#include "analysis/AnalysisEval.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    const ReadDefinition read = ReadAnalysisDefinition(bytes, QStringLiteral("f.json"), false);
    if (!read.analysis) {
        fuzz::Check(read.error.startsWith(QStringLiteral("f.json, linha ")), "a refused definition names its line");
        return 0;
    }
    const AnalysisDefinition& a = *read.analysis;
    fuzz::Check(!a.measures.empty() && a.order.size() == a.measures.size(), "every measure is evaluated once");
    // Points from the input's own bytes: coinciding, aligned and far apart ones come up.
    LandmarkSet points;
    for (int i = 0; i < kLandmarkCount; ++i) {
        const int x = data[size_t(i * 2) % size], y = data[size_t(i * 2 + 1) % size];
        if (x % 7 != 0)
            points.set(LandmarkAt(i), QPointF((x % 16) * 25.0, (y % 16) * 25.0));
    }
    for (const Calibration& c : {Calibration{0.1, 0.1}, Calibration{0.0001, 100}, Calibration::none()})
        for (const MeasureResult& r : EvaluateAnalysis(a, points, c))
            fuzz::Check(!r.ok() || std::isfinite(r.value), "a measure is finite or has no value");
    ConstructedPoints(a, points, {0.1, 0.1});
    return 0;
}
