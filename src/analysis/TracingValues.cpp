#include "analysis/TracingValues.h"

#include "records/TweedModel.h"

#include <QStringList>

namespace qv {

const std::array<TracingField, kMeasureCount>& TracingFields()
{
    using F = RealFamily;
    static const std::array<TracingField, kMeasureCount> table = {{
        {Measure::FMA, &TracingValues::fma, "twfma", "FMA (22° a 28°)", F::Positive},
        {Measure::FMIA, &TracingValues::fmia, "twfmia", "FMIA (65° a 68°)", F::Positive},
        {Measure::IMPA, &TracingValues::impa, "twimpa", "IMPA (88° a 94°)", F::Positive},
        {Measure::PlOcl, &TracingValues::plOcl, "twploc", "Pl. ocl. - Hf (8° a 12°)", F::Positive},
        {Measure::SNA, &TracingValues::sna, "twsna", "SNA ( 80° a 84°)", F::Positive},
        {Measure::SNB, &TracingValues::snb, "twsnb", "SNB (78° a 82°)", F::Positive},
        {Measure::AoBo, &TracingValues::aoBo, "twaobo", "AO - BO ( 0 a 4 mm)", F::Signed},
        {Measure::AngZ, &TracingValues::angZ, "twangz", "Ang. Z ( 70° a 80°)", F::Positive},
        {Measure::LS, &TracingValues::ls, "twls", "LS", F::Signed},
        {Measure::QT, &TracingValues::qt, "twqt", "QT", F::Signed},
        {Measure::AFA, &TracingValues::afa, "twafa", "AFA", F::Positive},
        {Measure::AFP, &TracingValues::afp, "twafp", "AFP", F::Positive},
    }};
    return table;
}

const TracingField& FieldOf(Measure m) { return TracingFields()[size_t(m)]; }

TracingValues MakeTracingValues(const Measurements& m)
{
    TracingValues v;
    for (const TracingField& f : TracingFields()) {
        const MeasureResult& r = m[f.measure];
        if (r.ok())
            v.*(f.member) = NormaliseRealText(FormatReal(0, 1, r.value), f.family);
    }
    if (m[Measure::FMIA].ok())
        v.fmia = NormaliseRealText(FormatReal(0, 1, 180.0 - ParseReal(v.fma) - ParseReal(v.impa)), RealFamily::Positive);
    return v;
}

QStringList DropOverlongValues(TracingValues& v)
{
    QStringList dropped;
    for (const TracingField& f : TracingFields()) {
        QString& text = v.*(f.member);
        if (text.size() > TweedFieldOf(f.tweedField).capacity) {
            dropped << ShortCaption(f);
            text.clear();
        }
    }
    return dropped;
}

QString ShortCaption(const TracingField& f) { return QString::fromUtf8(f.caption).section(QStringLiteral(" ("), 0, 0); }

QString StatusText(const MeasureResult& r, Measure m, const LandmarkSet& points)
{
    switch (r.status) {
    case MeasureResult::Value:
        return {};
    case MeasureResult::Uncalibrated:
        return QStringLiteral("sem calibração");
    case MeasureResult::Undefined:
        return QStringLiteral("linhas paralelas");
    case MeasureResult::Missing:
        break;
    }
    QStringList missing;
    for (Landmark l : RequiredLandmarks(m))
        if (!points.has(l))
            missing << LandmarkCode(l);
    return QStringLiteral("falta ") + missing.join(QStringLiteral(", "));
}

}  // namespace qv
