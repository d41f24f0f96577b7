#pragma once
// The measures of every analysis on one tracing. The analyses are definitions (see
// AnalysisDefinition.h and docs/analyses.md); a measure is named by its place in a catalogue: the
// analysis's index and the measure's index within it.

#include "analysis/AnalysisCatalogue.h"
#include "analysis/AnalysisEval.h"

#include <QString>

#include <compare>
#include <optional>
#include <vector>

namespace qv {

struct CephKey {
    int analysis = 0;
    int measure = 0;
    auto operator<=>(const CephKey&) const = default;
};

// Every key of a catalogue, analysis by analysis, measures in their order.
std::vector<CephKey> AllMeasures(const AnalysisCatalogue& catalogue);
std::optional<CephKey> FindMeasure(const AnalysisCatalogue& catalogue, const QString& title, const QString& caption);
const MeasureDefinition& MeasureOf(const AnalysisCatalogue& catalogue, CephKey k);

struct CephValues {
    std::vector<AnalysisResults> results;  // per analysis of the catalogue measured
    // A key the catalogue did not have reads as Missing.
    const MeasureResult& operator[](CephKey k) const;
    MeasureResult& operator[](CephKey k);
};

// Every measure of every analysis of the catalogue; the Tweed tracing's twelve are measured once
// for all of them.
CephValues MeasureCephalometrics(const AnalysisCatalogue& catalogue, const LandmarkSet& points, const Calibration& calibration);
// Of the shipped analyses.
CephValues MeasureCephalometrics(const LandmarkSet& points, const Calibration& calibration);

}  // namespace qv
