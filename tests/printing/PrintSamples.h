#pragma once
// Page texts of typical analyses, as the pages would hand them to the report builders.

#include "printing/PrintActions.h"
#include "printing/ReportParams.h"

namespace qv::test {

// What the Tweed page hands to its report: the sheet, the results shown and the panel.
struct TweedReportSample {
    TweedSheet sheet;
    TweedResults results;
    PanelState panel;
};
inline TweedReportPlan BuildTweedReport(const TweedReportSample& t)
{
    return qv::BuildTweedReport(t.sheet, t.results, t.panel);
}
inline PrintOutcome PrintTweed(ReportEngine& engine, const platform::PageContext& page, const TweedReportSample& t)
{
    return qv::PrintTweed(engine, page, t.sheet, t.results, t.panel);
}

// A concluded Tweed analysis of ANA at stage Inter 1, without a suggested diagnosis.
TweedReportSample SampleTweed();
// The same with the fullest diagnosis the guide can give: the anterior "X  4" cross, two
// middle alternatives, the posterior cross and five skeletal alternatives (crosses 1 to 4).
TweedReportSample SampleTweedDiagnosed();
// A completed Bolton analysis of BIA: what was typed and what the calculation showed.
struct BoltonSample {
    BoltonSheet sheet;
    BoltonResults results;
};
BoltonSample SampleBolton();
inline PrintOutcome PrintBolton(ReportEngine& engine, const platform::PageContext& page, const BoltonSample& b)
{
    return qv::PrintBolton(engine, page, b.sheet, b.results);
}
// Its report2 parameters.
ReportParamList SampleBoltonReport();
// A history file of `visits` blocks for the patient, as the page writes it (CR LF lines).
QString SampleHistoryFile(const QString& patient, int visits);

}  // namespace qv::test
