#pragma once
// The measurements of the chosen analyses beside the radiograph, grouped by analysis: measure,
// value, the clinic's norm and how far the value lies from it. A value beyond one standard
// deviation is amber, beyond two red, and its deviation is written beside it so that neither the
// eye nor a screen reader depends on the colour. A value resting on points still only proposed
// reads "84.1° (proposto)", and its tooltip names those points.

#include "analysis/CephMeasures.h"
#include "analysis/ResultText.h"
#include "analysis/CephNorms.h"

#include <QString>

#include <memory>
#include <vector>

class QTableWidget;

namespace qv {

// The texts of one measure's row, as every place that shows a result words it.
using CephRowTexts = ResultText;
// `proposed`: the points still only proposed.
CephRowTexts CephRow(CephKey k, const AnalysisCatalogue& catalogue, const CephValues& values, const CephNorms& norms,
                     const LandmarkSet& points, const LandmarkFlags& proposed = {});

class CephTable {
public:
    QTableWidget* build();  // "cefalometria"
    // Rebuilds the rows: one heading per analysis (indices into the catalogue), then its measures.
    void setAnalyses(std::shared_ptr<const AnalysisCatalogue> catalogue, const std::vector<int>& analyses);
    // Fills the rows; only the cells whose text changed are touched (this runs on every step of a drag).
    void show(const CephValues& values, const CephNorms& norms, const LandmarkSet& points, const LandmarkFlags& proposed = {});
    // The row a measure is shown on, -1 when its analysis is not chosen.
    int rowOf(CephKey k) const;

    QTableWidget* table = nullptr;

private:
    std::shared_ptr<const AnalysisCatalogue> m_catalogue;
    std::vector<CephKey> m_keys;  // per row: the measure, or {analysis, -1} for a heading
};

}  // namespace qv
