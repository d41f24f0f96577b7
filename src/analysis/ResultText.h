#pragma once
// The one way a measured result is worded, wherever it shows: the table beside the radiograph,
// the printed report, the spreadsheet and what a screen reader says. A value reads with its unit
// and one decimal; a norm as "82.0 ± 2.0"; the deviation in standard deviations of the value as
// shown; a measure without a value reads "—" and says why: the points it lacks ("falta Pog, Gn"),
// "sem calibração", or "indefinida" (its lines are parallel or its points coincide). A value that
// rests on a point the program proposed and the clinician has not confirmed yet carries the mark
// " (proposto)" wherever it shows, and says which points those are.

#include "analysis/AnalysisDefinition.h"
#include "analysis/TracingGeometry.h"

#include <QString>

#include <optional>
#include <vector>

namespace qv {

struct Deviation {
    enum Level { Within, Beyond1, Beyond2 };
    double sds = 0;  // (value - mean) / sd, from the value as shown (one decimal)
    Level level = Within;
};
std::optional<Deviation> DeviationOf(double value, const std::optional<CephNorm>& norm);
// "+1.05 DP", "-2.00 DP", "0.00 DP".
QString DeviationText(const Deviation& d);
// "82.0 ± 2.0"; empty without a norm.
QString NormText(const std::optional<CephNorm>& norm);
// "82.0 ± 2.0°", "4.0 ± 1.0 mm"; empty without a norm.
QString NormText(const std::optional<CephNorm>& norm, CephUnit unit);
// "84.1°", "4.0 mm", "63.5 %".
QString CephValueText(double value, CephUnit unit);
inline const QString kNoValue = QStringLiteral("—");

struct ResultText {
    QString value;      // "84.1°", or "—"
    QString norm;       // "82.0 ± 2.0", empty without a norm
    QString normUnit;   // "82.0 ± 2.0°"
    QString deviation;  // "+1.05 DP"; for a measure without a value, why ("falta Pog, Gn", "sem calibração")
    std::optional<Deviation::Level> level;  // empty when there is no deviation to show
    QString spoken;     // what a screen reader says of the value (with its mark)
    QString mark;       // ProposedMark() when the value rests on points still only proposed, else empty
    std::vector<Landmark> proposed;  // those points, in placing order; empty without a mark
    QString marked() const { return value + mark; }  // "84.1° (proposto)"
};

// `missing`: the landmarks the measure still lacks, in placing order; `proposed`: those of its
// landmarks still only proposed (see ProposedLandmarks), which mark a value and nothing else.
ResultText WordResult(const MeasureResult& r, CephUnit unit, const std::optional<CephNorm>& norm,
                      const std::vector<Landmark>& missing, const std::vector<Landmark>& proposed = {});

// " (proposto)": written right after a value that rests on a point still only proposed.
QString ProposedMark();
// Those of `used` (the landmarks a value rests on) flagged in `proposed`, in placing order.
std::vector<Landmark> ProposedLandmarks(const std::vector<Landmark>& used, const LandmarkFlags& proposed);
// Beside a marked value on screen: "Medida com pontos apenas propostos: S, N. Confirme-os para
// tirar esta marca."; empty for none.
QString ProposedPointsText(const std::vector<Landmark>& proposed);
// Under a printed table with marked values: "(proposto): valor que usa pontos apenas propostos pelo
// programa, ainda não confirmados pelo profissional: S, N."; empty for none.
QString ProposedNoteText(const std::vector<Landmark>& proposed);

// Why a measure has no value: "falta Pog, Gn", "sem calibração", "indefinida"; empty for a value.
QString NotMeasuredText(const MeasureResult& r, const std::vector<Landmark>& missing);

}  // namespace qv
