#pragma once
// The twelve Tweed measurements from the landmarks of a tracing. Points are first taken to
// millimetres (pixel times the spacing of its axis), so angles stay true on images whose pixels
// are not square; without a calibration the angles use square pixels and the distances stay
// unmeasured.

#include "analysis/Landmarks.h"
#include "records/TracingMeasure.h"

#include <QPointF>

#include <array>
#include <optional>
#include <vector>

namespace qv {

struct MeasureResult {
    enum Status {
        Missing,       // a landmark it needs is not placed
        Undefined,     // its lines are parallel or its points coincide
        Uncalibrated,  // a distance without millimetres per pixel
        Value,
    };
    Status status = Missing;
    double value = 0;
    bool ok() const { return status == Value; }
};

struct Measurements {
    std::array<MeasureResult, kMeasureCount> results{};
    const MeasureResult& operator[](Measure m) const { return results[size_t(m)]; }
    MeasureResult& operator[](Measure m) { return results[size_t(m)]; }
};

// Landmarks a measurement is computed from.
const std::vector<Landmark>& RequiredLandmarks(Measure m);
// Whether it is a distance in millimetres (else an angle in degrees).
bool IsDistance(Measure m);

Measurements MeasureTracing(const LandmarkSet& points, const Calibration& calibration);

// The constructed points of the drawing, in image pixels; absent where they do not exist.
struct TracingConstruction {
    std::optional<QPointF> tweedF;    // Frankfort x incisor axis
    std::optional<QPointF> tweedM;    // mandibular plane x incisor axis
    std::optional<QPointF> tweedP;    // Frankfort x mandibular plane
    std::optional<QPointF> footA;     // A projected on the occlusal plane
    std::optional<QPointF> footB;     // B projected on the occlusal plane
    std::optional<QPointF> gonion;    // ramus tangent x mandibular plane
    std::optional<QPointF> footMe;    // Me projected on the palatal plane
    std::optional<QPointF> profileLip;  // the lip the profile line touches
    std::optional<QPointF> profileTop;  // the profile line where it meets Frankfort
    std::optional<QPointF> qtPoint;   // the line N-B level with Pog' along Frankfort
};

TracingConstruction ConstructTracing(const LandmarkSet& points, const Calibration& calibration);

}  // namespace qv
