#pragma once
// A cephalometric analysis read from a definition file (UTF-8 JSON, see docs/analyses.md): its
// title, the landmarks it needs, the points it constructs and its measures in order, each with
// caption, unit, norm and a small expression over the geometry of the landmarks in millimetres.
// Reading checks everything a measure will need, so evaluating one never meets a name it does not
// know: a file naming an unknown landmark or operation, one whose measures or points refer to each
// other in a loop, or one that is malformed is refused with its line and the reason.

#include "analysis/Landmarks.h"
#include "records/TracingMeasure.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace qv {

enum class CephUnit { Degree, Millimetre, Percent };
QString UnitText(CephUnit u);  // "°", "mm", "%"

struct CephNorm {
    double mean = 0;
    double sd = 0;
    bool operator==(const CephNorm&) const = default;
};
// Whether a norm is sane to keep and divide by: finite, the mean within what any cephalometric
// measure can be, the standard deviation from 0.001 to 1000.
bool IsSaneNorm(const CephNorm& n);

// A point an expression uses: a landmark of the catalogue, or one the analysis constructs.
struct PointRef {
    int index = 0;  // < kLandmarkCount: that landmark; beyond: constructed point index - kLandmarkCount
    bool constructed() const { return index >= kLandmarkCount; }
};

enum class PointOp {
    Foot,          // the foot of the perpendicular from p[0] to the line p[1]-p[2]
    Intersection,  // the crossing of the lines p[0]-p[1] and p[2]-p[3]
    Midpoint,      // halfway between p[0] and p[1]
    RamusCentre,   // Xi, from R1, R2, R3, R4 on Frankfort (Po-Or) and its perpendicular
};

struct ConstructedPoint {
    QString name;
    PointOp op = PointOp::Midpoint;
    std::array<PointRef, 4> p{};
};

enum class ExprOp {
    Number,       // a constant
    Tweed,        // one of the Tweed tracing's own twelve measures
    Measure,      // an earlier result of the same analysis (by caption)
    Angle,        // angle between vectors p0->p1 and p2->p3, 0..180
    AngleAt,      // angle at p0 between p1 and p2
    AcuteAngle,   // acute angle between the lines p0-p1 and p2-p3
    Distance,     // signed distance from p0 to the line p1-p2, positive on the side N lies from S
    Length,       // |p0 - p1|
    AlongFh,      // (p0 - p1) along Po->Or, positive anterior
    Ratio,        // args[0] / args[1] x 100
    Sum,          // args added
    Difference,   // args[0] - args[1]
    Supplement,   // 180 - args[0]
    Negate,       // -args[0]
    WithSignOf,   // |args[0]| carried with the sign of args[1] (negative only when args[1] < 0)
};

struct Expr {
    ExprOp op = ExprOp::Number;
    double number = 0;
    qv::Measure tweed = qv::Measure::FMA;
    int measure = -1;             // ExprOp::Measure: the index of the measure referred to
    std::array<PointRef, 4> p{};
    std::vector<int> args;        // indices of sub-expressions in the analysis's list
};

struct MeasureDefinition {
    QString caption;
    CephUnit unit = CephUnit::Degree;
    std::optional<CephNorm> norm;
    int root = 0;                     // its expression in the analysis's list
    std::vector<Landmark> landmarks;  // every landmark its value rests on, in placing order
};

struct AnalysisDefinition {
    QString title;
    QString file;                    // the file it was read from, as named in messages
    bool shipped = true;             // false: the clinic's own
    std::vector<Landmark> landmarks;  // what it asks to be placed, in placing order
    std::vector<ConstructedPoint> constructed;  // each after those it is built from
    std::vector<Expr> exprs;
    std::vector<MeasureDefinition> measures;  // in the order shown
    std::vector<int> order;                   // measure indices so each comes after those it uses
};

struct ReadDefinition {
    std::optional<AnalysisDefinition> analysis;
    QString error;  // "Arquivo.json, linha 12: why", empty when read
};
ReadDefinition ReadAnalysisDefinition(const QByteArray& utf8, const QString& fileName, bool shipped);

}  // namespace qv
