#include "tracing/CephReport.h"

#include "entry/RealEntry.h"
#include "records/FileIo.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <algorithm>

namespace qv {

std::vector<CephAnalysis> CephAnalysesFromTitles(const QStringList& titles)
{
    std::vector<CephAnalysis> chosen;
    for (int i = 0; i < kCephAnalysisCount; ++i)
        if (titles.contains(Title(CephAnalysis(i))))
            chosen.push_back(CephAnalysis(i));
    // A report without any table would print the picture alone: then every analysis.
    if (chosen.empty())
        for (int i = 0; i < kCephAnalysisCount; ++i)
            chosen.push_back(CephAnalysis(i));
    return chosen;
}

ClinicNorms ClinicCephNorms()
{
    const QString path = QString::fromLatin1(kNormsFileName);
    if (!QFileInfo::exists(path))
        return {CephNorms::defaults(), QStringLiteral("Normas padrão do programa.")};
    // A printed deviation must never rest on norms other than those the report names.
    const auto refused = [&](const QString& why) {
        return ClinicNorms{CephNorms::defaults(),
                           QStringLiteral("Normas padrão do programa: o arquivo %1 foi recusado (%2).").arg(path, why)};
    };
    try {
        const DecodedNorms decoded = DecodeNorms(ReadFileBytes(path));
        if (!decoded.ok())
            return refused(decoded.error);
        return {decoded.norms, QStringLiteral("Normas do consultório (%1).").arg(path)};
    } catch (const IoError& e) {
        return refused(e.message());
    }
}

QString CephSectionParam(CephAnalysis a) { return QStringLiteral("a%1").arg(int(a) + 1); }

QString CephRowParam(Ceph m, const char* cell)
{
    return QStringLiteral("m%1%2").arg(int(m) + 1, 2, 10, QLatin1Char('0')).arg(QLatin1String(cell));
}

QString CephValueText(double value, CephUnit unit)
{
    return unit == CephUnit::Degree ? F1(value) + UnitText(unit) : F1(value) + u' ' + UnitText(unit);
}

QString CephNotMeasuredText(Ceph m, const MeasureResult& r, const LandmarkSet& points)
{
    switch (r.status) {
    case MeasureResult::Missing: {
        QStringList codes;
        for (Landmark l : MissingLandmarks(m, points))
            codes << LandmarkCode(l);
        return (codes.size() == 1 ? QStringLiteral("falta ") : QStringLiteral("faltam ")) + codes.join(QStringLiteral(", "));
    }
    case MeasureResult::Uncalibrated:
        return QStringLiteral("sem calibração");
    case MeasureResult::Undefined:
        return QStringLiteral("linhas paralelas ou pontos coincidentes");
    case MeasureResult::Value:
        break;
    }
    return {};
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
    for (int i = 0; i < kCephAnalysisCount; ++i) {
        const CephAnalysis a = CephAnalysis(i);
        const bool chosen = std::find(in.analyses.begin(), in.analyses.end(), a) != in.analyses.end();
        p.append({CephSectionParam(a), chosen ? Title(a) : QString()});
    }
    // Every row is set, chosen or not, so no text of an earlier print is left in a parameter.
    for (int i = 0; i < kCephCount; ++i) {
        const Ceph m = Ceph(i);
        const CephUnit unit = Info(m).unit;
        const MeasureResult& r = in.values[m];
        const std::optional<CephNorm>& norm = in.norms[m];
        QString value = QStringLiteral("—"), deviation, amber, red;
        if (r.ok()) {
            value = CephValueText(r.value, unit);
            if (const auto d = DeviationOf(r.value, norm)) {
                deviation = DeviationText(*d);
                if (d->level == Deviation::Beyond1)
                    amber = QStringLiteral("1");
                else if (d->level == Deviation::Beyond2)
                    red = QStringLiteral("1");
            }
        } else {
            deviation = CephNotMeasuredText(m, r, in.points);
        }
        p.append({CephRowParam(m, "rot"), Caption(m)});
        p.append({CephRowParam(m, "val"), value});
        p.append({CephRowParam(m, "norma"), norm ? NormText(norm) + (unit == CephUnit::Degree ? UnitText(unit)
                                                                                            : u' ' + UnitText(unit))
                                                 : QString()});
        p.append({CephRowParam(m, "dp"), deviation});
        p.append({CephRowParam(m, "a"), amber});
        p.append({CephRowParam(m, "r"), red});
    }
    return plan;
}

}  // namespace qv
