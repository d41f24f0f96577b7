#include "analysis/CephMeasures.h"

namespace qv {

std::vector<CephKey> AllMeasures(const AnalysisCatalogue& catalogue)
{
    std::vector<CephKey> keys;
    for (size_t a = 0; a < catalogue.analyses.size(); ++a)
        for (size_t m = 0; m < catalogue.analyses[a].measures.size(); ++m)
            keys.push_back({int(a), int(m)});
    return keys;
}

std::optional<CephKey> FindMeasure(const AnalysisCatalogue& catalogue, const QString& title, const QString& caption)
{
    const int a = catalogue.indexOf(title);
    if (a < 0)
        return std::nullopt;
    const auto& measures = catalogue.analyses[size_t(a)].measures;
    for (size_t m = 0; m < measures.size(); ++m)
        if (measures[m].caption == caption)
            return CephKey{a, int(m)};
    return std::nullopt;
}

const MeasureDefinition& MeasureOf(const AnalysisCatalogue& catalogue, CephKey k)
{
    return catalogue.analyses.at(size_t(k.analysis)).measures.at(size_t(k.measure));
}

const MeasureResult& CephValues::operator[](CephKey k) const
{
    static const MeasureResult missing;
    if (k.analysis < 0 || size_t(k.analysis) >= results.size() || k.measure < 0 ||
        size_t(k.measure) >= results[size_t(k.analysis)].size())
        return missing;
    return results[size_t(k.analysis)][size_t(k.measure)];
}

MeasureResult& CephValues::operator[](CephKey k)
{
    if (size_t(k.analysis) >= results.size())
        results.resize(size_t(k.analysis) + 1);
    auto& r = results[size_t(k.analysis)];
    if (size_t(k.measure) >= r.size())
        r.resize(size_t(k.measure) + 1);
    return r[size_t(k.measure)];
}

CephValues MeasureCephalometrics(const AnalysisCatalogue& catalogue, const LandmarkSet& points, const Calibration& calibration)
{
    const Measurements tweed = MeasureTracing(points, calibration);
    CephValues out;
    out.results.reserve(catalogue.analyses.size());
    for (const AnalysisDefinition& a : catalogue.analyses)
        out.results.push_back(EvaluateAnalysis(a, points, calibration, tweed));
    return out;
}

CephValues MeasureCephalometrics(const LandmarkSet& points, const Calibration& calibration)
{
    return MeasureCephalometrics(ShippedAnalyses(), points, calibration);
}

}  // namespace qv
