#pragma once
// Page texts of typical analyses, as the pages would hand them to the report builders.

#include "printing/ReportParams.h"

namespace qv::test {

// A concluded Tweed analysis of ANA at stage Inter 1, without a suggested diagnosis.
TweedReportTexts SampleTweed();
// The same with the fullest diagnosis the guide can give: the anterior "X  4" cross, two
// middle alternatives, the posterior cross and five skeletal alternatives (crosses 1 to 4).
TweedReportTexts SampleTweedDiagnosed();
// A completed Bolton analysis of BIA: what was typed and what the calculation showed.
struct BoltonSample {
    BoltonSheet sheet;
    BoltonResults results;
};
BoltonSample SampleBolton();
// Its report2 parameters.
ReportParamList SampleBoltonReport();
// A history file of `visits` blocks for the patient, as the page writes it (CR LF lines).
QString SampleHistoryFile(const QString& patient, int visits);

}  // namespace qv::test
