#pragma once
// Superimposition of one patient's tracings of different stages: each stage is moved (rotated and
// translated, never scaled) onto a base stage in millimetres, by a reference point and direction
// or by the best fit of chosen landmarks, and every landmark's displacement from the base is
// measured along the base's reference direction.

#include "analysis/Landmarks.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace qv {

enum class Registration {
    CranialBase,  // "S-N em S"
    BaNAtCF,      // "Ba-N em CF": CF is the foot of the perpendicular from Pt to Po-Or
    Maxilla,      // "ENA-ENP em ENA"
    Mandible,     // "Tg-Me em Me"
    BestFit,      // "Melhor ajuste" on the landmarks the clinician ticks
};
QString RegistrationName(Registration r);
// The landmarks a registration needs in every stage (none listed for the best fit: its own).
std::vector<Landmark> RegistrationLandmarks(Registration r);

struct StageTracing {
    QString stage;  // "INICIAL", "INTER1", ...
    LandmarkSet points;
    Calibration calibration;
};

// A rigid motion of the plane, in millimetres: p -> R(angle) p + t.
struct Rigid {
    double cos = 1, sin = 0, tx = 0, ty = 0;
    QPointF apply(QPointF p) const { return {cos * p.x() - sin * p.y() + tx, sin * p.x() + cos * p.y() + ty}; }
};

struct Displacement {
    Landmark landmark;
    double x = 0;      // along the base's reference direction, positive anterior
    double y = 0;      // across it, positive inferior
    double total = 0;  // length
};

struct StageSuperimposition {
    Rigid motion;  // from the stage's millimetres to the base's
    std::vector<Displacement> displacements;  // landmarks placed in both, in placing order
};

struct Superimposition {
    QString error;  // why it cannot be done, naming the stage; empty when done
    std::vector<StageSuperimposition> stages;  // one per stage given, the base's the identity
    QPointF axis;   // the base's reference direction (unit, in mm; S->N for the best fit)
    bool ok() const { return error.isEmpty(); }
};

// Stage points in millimetres (pixel times its spacing).
QPointF Millimetres(const StageTracing& t, Landmark l);

// `stages` holds 2 to 4 tracings; `base` indexes one of them; `fit` are the landmarks of the
// best fit (ignored by the other registrations).
Superimposition Superimpose(std::span<const StageTracing> stages, int base, Registration registration,
                            std::span<const Landmark> fit = {});

}  // namespace qv
