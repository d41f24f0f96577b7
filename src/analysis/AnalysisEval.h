#pragma once
// Measures a tracing by the analyses' definitions: every point in millimetres (pixel times the
// spacing of its axis), so angles stay true on pixels that are not square. Without a calibration
// the angles and ratios use square pixels and the distances wait for one; a measure whose points
// are not all placed is Missing, one whose lines are parallel or whose points coincide Undefined.
// Nothing comes out infinite or nan.

#include "analysis/AnalysisDefinition.h"
#include "analysis/TracingGeometry.h"

#include <QPointF>

#include <optional>
#include <vector>

namespace qv {

// The results of one analysis, in the order of its measures.
using AnalysisResults = std::vector<MeasureResult>;

// `tweed` is MeasureTracing of the same points, computed once for every analysis.
AnalysisResults EvaluateAnalysis(const AnalysisDefinition& a, const LandmarkSet& points, const Calibration& calibration,
                                 const Measurements& tweed);
AnalysisResults EvaluateAnalysis(const AnalysisDefinition& a, const LandmarkSet& points, const Calibration& calibration);

// The analysis's constructed points in image pixels (for drawing), absent where they do not exist.
std::vector<std::optional<QPointF>> ConstructedPoints(const AnalysisDefinition& a, const LandmarkSet& points,
                                                      const Calibration& calibration);

// Xi, the centre of the ramus (see ConstructedPoint), in image pixels; none until Po, Or and R1 to
// R4 are placed, or when Frankfort is upright.
std::optional<QPointF> RamusCentre(const LandmarkSet& points, const Calibration& calibration);

// Those of a measure's landmarks not placed yet, in placing order.
std::vector<Landmark> MissingLandmarks(const MeasureDefinition& m, const LandmarkSet& points);

}  // namespace qv
