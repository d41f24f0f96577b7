#pragma once
// Parameters of report6, "Análise Cefalométrica": one stage's traced radiograph (a PNG image in a
// "data:" address, as report5's chart) and, for each chosen analysis, its table of measure, value,
// norm and deviation. A value resting on points still only proposed carries the mark, and a line
// under its table names those points; a tracing that used proposals ends with how close they have
// come on the clinic's own tracings. Pure: the window renders the picture and hands in the measures.

#include "printing/ReportParams.h"
#include "analysis/CephMeasures.h"
#include "analysis/CephNorms.h"
#include "analysis/ProposalAccuracy.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace qv {

// The analyses named by their titles, as indices of the catalogue in its order; every analysis
// when none of the titles names one.
std::vector<int> CephAnalysesFromTitles(const AnalysisCatalogue& catalogue, const QStringList& titles);

// The clinic's norms from Normas.json in the working folder; the definitions' own when the file is
// missing or refused, and the report says which it printed (and why a file was refused).
struct ClinicNorms {
    CephNorms norms;
    QString source;  // "Normas do consultório (Normas.json)." …
};
ClinicNorms ClinicCephNorms(const AnalysisCatalogue& catalogue);

struct CephReportInput {
    QString patient;
    QString stage;        // "INICIAL" … "FINAL"
    QString calibration;  // how millimetres were obtained, as the window tells it
    QByteArray picturePng;
    LandmarkSet points;
    std::shared_ptr<const AnalysisCatalogue> catalogue;
    CephValues values;    // of that catalogue
    CephNorms norms;      // aligned to it
    QString normsSource;
    std::vector<int> analyses;  // the chosen ones, as indices of the catalogue
    LandmarkFlags proposed;     // the points still only proposed
    LandmarkFlags accepted;     // the proposals the clinician confirmed
    std::optional<ProposalAccuracy> accuracy;  // printed only when points came from proposals
};

struct CephReportPlan {
    ReportParamList params;
    int lastPage = 10;  // the picture and the tables; the pages it needs are made
};

// The report repeats a block per analysis and, in it, a row per measure ({*analises} ..
// {*medidas}); "analises" holds how many, "analises.2.titulo" the second's title,
// "analises.2.medidas.3.val" the value of its third measure (also .rot, .norma, .dp and .a / .r,
// set beyond one or two standard deviations). Only while points are still only proposed:
// ".prop", the mark beside a value resting on them, and "analises.2.propostos", the line under
// the table naming them. Only when points came from proposals and their accuracy is known:
// "precisao" (how many points), "precisao.1.ponto" and its .erro, .ate2, .ate4, .tracados, and
// "precisaonota", the line saying where the figures come from.
QString CephAnalysisParam(int chosen, const char* field);
QString CephRowParam(int chosen, int measure, const char* cell);
QString CephAccuracyParam(int row, const char* cell);

CephReportPlan BuildCephReport(const CephReportInput& input);

}  // namespace qv
