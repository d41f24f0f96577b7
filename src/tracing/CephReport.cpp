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

QString CephAccuracyParam(int row, const char* cell)
{
    return QStringLiteral("precisao.%1.%2").arg(row + 1).arg(QLatin1String(cell));
}

namespace {

LandmarkFlags placed(const LandmarkSet& points)
{
    LandmarkFlags f;
    for (int i = 0; i < kLandmarkCount; ++i)
        f.set(size_t(i), points.has(LandmarkAt(i)));
    return f;
}

QString percent(double share) { return F0(share * 100) + QStringLiteral(" %"); }

// Per point of this tracing that came from a proposal, in placing order: how far the proposals
// of that point fell from the clinician's own on the tracings the model did not learn from.
void addAccuracy(ReportParamList& p, const LandmarkFlags& fromProposals, const ProposalAccuracy& accuracy)
{
    int row = 0;
    for (int i = 0; i < kLandmarkCount; ++i) {
        if (!fromProposals.test(size_t(i)))
            continue;
        const Landmark l = LandmarkAt(i);
        const LandmarkAccuracy* a = accuracy.find(l);
        const bool known = a && a->tracings > 0;
        const auto cell = [&](const char* name, const QString& text) { p.append({CephAccuracyParam(row, name), text}); };
        cell("ponto", QString::fromUtf8(Info(l).name));
        cell("erro", known ? F1(a->meanErrorMm) + QStringLiteral(" mm") : kNoValue);
        cell("ate2", known ? percent(a->within2mm) : kNoValue);
        cell("ate4", known ? percent(a->within4mm) : kNoValue);
        cell("tracados", QString::number(known ? a->tracings : 0));
        ++row;
    }
    p.append({QStringLiteral("precisao"), QString::number(row)});
    p.append({QStringLiteral("precisaonota"),
              QStringLiteral("Os números vêm dos %1 traçados do próprio consultório: cada ponto proposto comparado "
                             "com o marcado pelo profissional num traçado que o modelo não usou para aprender (os "
                             "traçados divididos em %2 partes, cada parte deixada de fora uma vez).")
                  .arg(accuracy.tracings)
                  .arg(accuracy.folds)});
}

}  // namespace

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
        std::vector<Landmark> unconfirmed;  // those the marked values of this table rest on
        for (size_t m = 0; m < def.measures.size(); ++m) {
            const CephKey k{a, int(m)};
            const MeasureDefinition& measure = def.measures[m];
            const ResultText t = WordResult(in.values[k], measure.unit, in.norms[k], MissingLandmarks(measure, in.points),
                                            ProposedLandmarks(measure.landmarks, in.proposed));
            const auto cell = [&](const char* name, const QString& text) { p.append({CephRowParam(int(c), int(m), name), text}); };
            cell("rot", measure.caption);
            cell("val", t.value);
            cell("norma", t.normUnit);
            cell("dp", t.deviation);
            cell("a", t.level == Deviation::Beyond1 ? QStringLiteral("1") : QString());
            cell("r", t.level == Deviation::Beyond2 ? QStringLiteral("1") : QString());
            if (!t.mark.isEmpty()) {
                cell("prop", t.mark);
                unconfirmed.insert(unconfirmed.end(), t.proposed.begin(), t.proposed.end());
            }
        }
        if (!unconfirmed.empty())
            p.append({CephAnalysisParam(int(c), "propostos"), ProposedNoteText(ProposedLandmarks(unconfirmed, in.proposed))});
    }
    // A tracing none of whose points came from a proposal prints as it always has.
    const LandmarkFlags fromProposals = (in.proposed | in.accepted) & placed(in.points);
    if (fromProposals.any() && in.accuracy)
        addAccuracy(p, fromProposals, *in.accuracy);
    return plan;
}

}  // namespace qv
