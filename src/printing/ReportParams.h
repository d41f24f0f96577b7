#pragma once
// The named text parameters of the four reports, built from the texts the pages show.
// Pure: the pages read their widgets into these structs; nothing here is computed anew.

#include "guide/PanelState.h"

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

// The Tweed page as the report reads it: texts of fields and result labels, by control name.
struct TweedReportTexts {
    QString twPaciente;
    QString Idade;
    bool GenMasc = false;
    bool inicial = true;  // stage radio buttons; none of the three checked means FINAL
    bool inter1 = false;
    bool inter2 = false;

    QString twfma, twfmia, twimpa, twploc, twsna, twsnb, twanbres, twaobo, twangz;
    QString twls, twqt, twafa, twafp, twafpafares, hornres;

    QString idfmares, idanbres, idangzres, idplocres, idsnbres, idifres, idsub1res;
    QString iddmares, iddcres, idmtmres, iddmmres, idspeeres, idcorrres, iddmpres, idsub2res;
    QString idtotres, idlabel;

    QString anaer, anaep, anadmres, anadcres, anamtmres, anantres;
    QString anmer, anmep, anmdmres, anmspee, anmcorr, anmedres;
    QString anper, anpep, anpdmres, anpcresres, anposres, andiscres;

    QString dcfmares, dcfmiares, dcimpares, dcdcres;
    bool dcnao = false;
    QString dcopcres;

    PanelState panel;  // the suggested-diagnosis panel ds
};

struct TweedReportPlan {
    ReportParamList params;  // in the order they are set
    int lastPage = 1;        // 2 when a diagnosis was generated
    // For the layout only: each alternative of the middle and skeletal suggestions by itself,
    // so the report can draw each beside its cross: discmed1, discmed2, desarm1 .. desarm5,
    // and "ou" in discmedou2, desarmou2 .. desarmou5 before each alternative after the first.
    ReportParamList alternatives;
};

// "INICIAL", "INTER1", "INTER2" or "FINAL".
QString StageWord(bool inicial, bool inter1, bool inter2);

// Parameters of report1; only the groups and crosses the panel shows are in the list.
TweedReportPlan BuildTweedReport(const TweedReportTexts& t);

// The Bolton page as the report reads it.
struct BoltonReportTexts {
    QString bpaciente;
    std::array<QString, 12> s;  // s01 .. s12
    std::array<QString, 12> i;  // i01 .. i12
    QString sup12res, sup6res, inf12res, inf6res;
    QString busca12, busca6, busca12res, busca6res, infobusca12res, infobusca6res;
    QString res12info, res6info, tab12res, tab6res, res12, res6;
    QString cinf12res, csup12res, cinf6res, csup6res, x10012res, x1006res;
    QString diag12info, diag12, diag6info, diag6;
};

// Parameters of report2.
ReportParamList BuildBoltonReport(const BoltonReportTexts& t);

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
