#pragma once
// Parameters of report5, the evolution of a patient's treatment: the table's texts by row and
// stage column, and the chart as a PNG image carried in an "data:" address, which the report's
// HTML shows with <img src="{grafico}">.

#include "analysis/Evolution.h"
#include "printing/ReportParams.h"

#include <QByteArray>

namespace qv {

struct EvolutionReportPlan {
    ReportParamList params;
    int lastPage = 2;  // the table, then the chart
};

// "l07rot", "l07f1" … "l07f4", "l07var": parameter names of the table's row (1-based) cells.
QString EvolutionCellParam(int row, const char* cell);

EvolutionReportPlan BuildEvolutionReport(const Evolution& evolution, const QByteArray& chartPng);

// The name a patient's evolution is offered to be saved under, so that each patient's report
// has its own file: "ANA-EVOLUÇÃO.pdf".
QString EvolutionPdfName(const QString& patient);
// The path chosen in the save dialog, with ".pdf" added when it has another ending.
QString WithPdfSuffix(const QString& path);

}  // namespace qv
