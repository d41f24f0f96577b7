#pragma once
// What the pages' IMPRIMIR buttons do: refuse what cannot be printed, set the report's
// parameters and print range, and run the report when the project is installed. The pages
// read their widgets into the structs of ReportParams.h and call these.

#include "printing/ReportParams.h"

#include <functional>

namespace qv::platform {
class PageContext;
}

namespace qv {

class ReportEngine;

enum class PrintOutcome {
    Refused,         // a warning told why nothing can be printed
    ProjectMissing,  // ".\Análises.rav" is not there: error box, nothing run
    Failed,          // a file could not be read, the plan not saved, or the project not loaded
    Ran,             // the report ran (the engine reports its own failures)
};

// The texts for missing components: the start-up's, when a data file is missing (also the
// plan's print when the report project is missing), and the feature's (reports 1 to 3).
QString MissingComponentsText();
QString MissingFeatureText();

// timprimirClick: report1, pages 1 to 1, or 1 to 2 with a suggested diagnosis.
PrintOutcome PrintTweed(ReportEngine& engine, const platform::PageContext& page, const TweedSheet& sheet,
                        const TweedResults& results, const PanelState& panel);

// bimprimirClick: report2, pages 1 to 1.
PrintOutcome PrintBolton(ReportEngine& engine, const platform::PageContext& page, const BoltonSheet& sheet,
                         const BoltonResults& results);

// plimprimirClick: report3 from the history file of the patient, as many lines as the field
// `historico` shows (historicoLines), pages 1 to 50.
PrintOutcome PrintHistory(ReportEngine& engine, const platform::PageContext& page, const QString& plpaciente,
                          int historicoLines);

// poimprimirclick: saves the plan first (posalvarclick, which answers whether it saved), then
// report4 from the page's text, pages 1 to 50. outlineLines: the lines the field `outline` shows.
PrintOutcome PrintPlan(ReportEngine& engine, const platform::PageContext& page, const QString& popaciente,
                       const QString& outline, int outlineLines, const std::function<bool()>& posalvarclick);

// The evolution of a patient's Tweed stages: report5 with the given parameters and range.
PrintOutcome PrintEvolution(ReportEngine& engine, const platform::PageContext& page, const ReportParamList& params,
                            int lastPage);

// The cephalometric analyses of one stage's tracing: report6 with the given parameters and range.
PrintOutcome PrintCephalometric(ReportEngine& engine, const platform::PageContext& page, const ReportParamList& params,
                                int lastPage);

// The history file of a patient, relative to the working folder.
QString HistoryFilePath(const QString& plpaciente);

}  // namespace qv
