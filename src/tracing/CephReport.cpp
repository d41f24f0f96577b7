#include "tracing/CephReport.h"

#include "entry/RealEntry.h"
#include "records/FileIo.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <algorithm>

namespace qv {

std::vector<int> CephAnalysesFromTitles(const AnalysisCatalogue& catalogue, const QStringList& titles)
{
    std::vector<int> chosen;
    for (size_t i = 0; i < catalogue.analyses.size(); ++i)
        if (titles.contains(catalogue.analyses[i].title))
            chosen.push_back(int(i));
    // A report without any table would print the picture alone: then every analysis.
    if (chosen.empty())
        for (size_t i = 0; i < catalogue.analyses.size(); ++i)
            chosen.push_back(int(i));
    return chosen;
}

ClinicNorms ClinicCephNorms(const AnalysisCatalogue& catalogue)
{
    const QString path = QString::fromLatin1(kNormsFileName);
    if (!QFileInfo::exists(path))
        return {CephNorms::defaults(catalogue), QStringLiteral("Normas padrão do programa.")};
    // A printed deviation must never rest on norms other than those the report names.
    const auto refused = [&](const QString& why) {
        return ClinicNorms{CephNorms::defaults(catalogue),
                           QStringLiteral("Normas padrão do programa: o arquivo %1 foi recusado (%2).").arg(path, why)};
    };
    try {
        const DecodedNorms decoded = DecodeNorms(ReadFileBytes(path), catalogue);
        if (!decoded.ok())
            return refused(decoded.error);
        return {decoded.norms, QStringLiteral("Normas do consultório (%1).").arg(path)};
    } catch (const IoError& e) {
        return refused(e.message());
    }
}

QString CephAnalysisParam(int chosen, const char* field)
{
    return QStringLiteral("analises.%1.%2").arg(chosen + 1).arg(QLatin1String(field));
}

QString CephRowParam(int chosen, int measure, const char* cell)
{
    return QStringLiteral("analises.%1.medidas.%2.%3").arg(chosen + 1).arg(measure + 1).arg(QLatin1String(cell));
}

CephReportPlan BuildCephReport(const CephReportInput& in)
{
    CephReportPlan plan;
    ReportParamList& p = plan.params;
    p.append({QStringLiteral("nome"), QStringLiteral("Paciente:  ") + in.patient});  // as the other reports' headers
    p.append({QStringLiteral("fase"), in.stage});
    p.append({QStringLiteral("calibracao"), in.calibration});
    p.append({QStringLiteral("normas"), in.normsSource});
    p.append({QStringLiteral("imagem"), in.picturePng.isEmpty() ? QString()
                                                                : QStringLiteral("data:image/png;base64,")
                                                                      + QString::fromLatin1(in.picturePng.toBase64())});
    p.append({QStringLiteral("analises"), QString::number(in.analyses.size())});
    // The tables flow over as many sheets as they need; a dozen analyses take a few.
    plan.lastPage = std::max(plan.lastPage, int(in.analyses.size()) + 2);
    for (size_t c = 0; c < in.analyses.size(); ++c) {
        const int a = in.analyses[c];
        const AnalysisDefinition& def = in.catalogue->analyses[size_t(a)];
        p.append({CephAnalysisParam(int(c), "titulo"), def.title});
        p.append({CephAnalysisParam(int(c), "medidas"), QString::number(def.measures.size())});
        for (size_t m = 0; m < def.measures.size(); ++m) {
            const CephKey k{a, int(m)};
            const ResultText t = WordResult(in.values[k], def.measures[m].unit, in.norms[k], MissingLandmarks(def.measures[m], in.points));
            const auto cell = [&](const char* name, const QString& text) { p.append({CephRowParam(int(c), int(m), name), text}); };
            cell("rot", def.measures[m].caption);
            cell("val", t.value);
            cell("norma", t.normUnit);
            cell("dp", t.deviation);
            cell("a", t.level == Deviation::Beyond1 ? QStringLiteral("1") : QString());
            cell("r", t.level == Deviation::Beyond2 ? QStringLiteral("1") : QString());
        }
    }
    return plan;
}

}  // namespace qv
