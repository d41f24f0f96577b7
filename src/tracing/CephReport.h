#pragma once
// Parameters of report6, "Análise Cefalométrica": one stage's traced radiograph (a PNG image in a
// "data:" address, as report5's chart) and, for each chosen analysis, its table of measure, value,
// norm and deviation. Pure: the window renders the picture and hands in the measures.

#include "printing/ReportParams.h"
#include "analysis/CephMeasures.h"
#include "analysis/CephNorms.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace qv {

// The analyses named by their titles, in the order of the analyses; every analysis when none of
// the titles names one.
std::vector<CephAnalysis> CephAnalysesFromTitles(const QStringList& titles);

// The clinic's norms from Normas.json in the working folder; the shipped ones when the file is
// missing or refused, and the report says which it printed (and why a file was refused).
struct ClinicNorms {
    CephNorms norms;
    QString source;  // "Normas do consultório (Normas.json)." …
};
ClinicNorms ClinicCephNorms();

struct CephReportInput {
    QString patient;
    QString stage;        // "INICIAL" … "FINAL"
    QString calibration;  // how millimetres were obtained, as the window tells it
    QByteArray picturePng;
    LandmarkSet points;
    CephValues values;
    CephNorms norms;
    QString normsSource;
    std::vector<CephAnalysis> analyses;
};

struct CephReportPlan {
    ReportParamList params;
    int lastPage = 10;  // the picture and up to eight tables; the pages it needs are made
};

// "a3": the section of an analysis (its title, empty when not chosen); "m07rot", "m07val",
// "m07norma", "m07dp", "m07a" (beyond 1 SD), "m07r" (beyond 2 SD): a measure's row (1-based,
// in the order of Ceph).
QString CephSectionParam(CephAnalysis a);
QString CephRowParam(Ceph m, const char* cell);

// "25.0°", "4.2 mm", "63.5 %".
QString CephValueText(double value, CephUnit unit);
// What the deviation column says of a measure that has no value: the points it lacks, "sem
// calibração", or that its lines do not meet.
QString CephNotMeasuredText(Ceph m, const MeasureResult& r, const LandmarkSet& points);

CephReportPlan BuildCephReport(const CephReportInput& input);

}  // namespace qv
