#pragma once
// The measurements of the chosen analyses beside the radiograph, grouped by analysis: measure,
// value, the clinic's norm and how far the value lies from it. A value beyond one standard
// deviation is amber, beyond two red, and its deviation is written beside it so that neither the
// eye nor a screen reader depends on the colour.

#include "analysis/CephMeasures.h"
#include "analysis/CephNorms.h"

#include <QString>

#include <vector>

class QTableWidget;

namespace qv {

// The texts of one measure's row; `level` is empty when the value has no deviation to show.
struct CephRowTexts {
    QString value;      // "84.1°", "4.0 mm", "63.5 %" or "—"
    QString norm;       // "82.0 ± 2.0", empty without a norm
    QString deviation;  // "+1.05 DP", or why there is no value ("falta Pog, Gn", "sem calibração")
    std::optional<Deviation::Level> level;
    QString spoken;     // what a screen reader says for the value
};
CephRowTexts CephRow(Ceph m, const CephValues& values, const CephNorms& norms, const LandmarkSet& points);

// What a measured value reads as, with its unit: "84.1°", "4.0 mm", "63.5 %".
QString CephValueText(Ceph m, double value);

class CephTable {
public:
    QTableWidget* build();  // "cefalometria"
    // Rebuilds the rows: one heading per analysis, then its measures.
    void setAnalyses(const std::vector<CephAnalysis>& analyses);
    // Fills the rows; only the cells whose text changed are touched (this runs on every step of a drag).
    void show(const CephValues& values, const CephNorms& norms, const LandmarkSet& points);
    // The row a measure is shown on, -1 when its analysis is not chosen.
    int rowOf(Ceph m) const;

    QTableWidget* table = nullptr;

private:
    std::vector<int> m_keys;  // per row: the measure, or -1 - analysis for a heading
};

}  // namespace qv
