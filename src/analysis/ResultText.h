#pragma once
// The one way a measured result is worded, wherever it shows: the table beside the radiograph,
// the printed report, the spreadsheet and what a screen reader says. A value reads with its unit
// and one decimal; a norm as "82.0 ± 2.0"; the deviation in standard deviations of the value as
// shown; a measure without a value reads "—" and says why: the points it lacks ("falta Pog, Gn"),
// "sem calibração", or "indefinida" (its lines are parallel or its points coincide).

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
    QString spoken;     // what a screen reader says of the value
};

// `missing`: the landmarks the measure still lacks, in placing order.
ResultText WordResult(const MeasureResult& r, CephUnit unit, const std::optional<CephNorm>& norm,
                      const std::vector<Landmark>& missing);

// Why a measure has no value: "falta Pog, Gn", "sem calibração", "indefinida"; empty for a value.
QString NotMeasuredText(const MeasureResult& r, const std::vector<Landmark>& missing);

}  // namespace qv
