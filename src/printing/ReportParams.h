#pragma once
// The named text parameters of the four reports, built from the texts the pages show.
// Pure: the pages read their widgets into these structs; nothing here is computed anew.

#include "records/BoltonSheet.h"
#include "analysis/PanelState.h"
#include "records/TweedModel.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace qv {

struct ReportParam {
    QString name;
    QString text;
    bool operator==(const ReportParam&) const = default;
};
using ReportParamList = QList<ReportParam>;

// Separator between a caption and its value on every printed line.
inline constexpr char16_t kReportSeparator[] = u":  ";

// Between two alternative suggestions: four line breaks, "ou", two line breaks.
QString DiagnosisJoint();

struct TweedReportPlan {
    ReportParamList params;  // in the order they are set
    int lastPage = 1;        // 2 when a diagnosis was generated
    // For the layout only: each alternative of the middle and skeletal suggestions by itself,
    // so the report can draw each beside its cross: discmed1, discmed2, desarm1 .. desarm5,
    // and "ou" in discmedou2, desarmou2 .. desarmou5 before each alternative after the first.
    ReportParamList alternatives;
};

// Parameters of report1 from the sheet, the results shown and the suggested-diagnosis panel;
// only the groups and crosses the panel shows are in the list. Every line with a caption reads
// caption + ":  " + value + unit, captions and units from the Tweed field table.
TweedReportPlan BuildTweedReport(const TweedSheet& sheet, const TweedResults& results, const PanelState& panel);

// Parameters of report2: the typed fields through the Bolton field table, then the results
// of the page's last calculation.
ReportParamList BuildBoltonReport(const BoltonSheet& sheet, const BoltonResults& results);

// memo1 of report3: `count` lines of the history file after its first (the name) line, each
// followed by CR LF; a line asked for beyond the end of the file is empty.
QString HistoryMemo(const QStringList& fileLines, int count);

// Lines of a text file as they are read one by one: CR LF, CR or LF ends a line, and a last
// line without an ending still counts.
QStringList SplitFileLines(const QString& text);

// Parameters of report3 (history): nome and memo1.
ReportParamList BuildHistoryReport(const QString& plpaciente, const QString& memo1);

// memo1 of report4: the plan's text with its line breaks as CR LF and nothing added at the end.
QString PlanMemo(const QString& outline);

// Parameters of report4 (plan): nome and memo1.
ReportParamList BuildPlanReport(const QString& popaciente, const QString& outline);

}  // namespace qv
