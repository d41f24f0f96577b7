#include "analysis/ResultText.h"

#include "entry/RealEntry.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

QString levelWords(Deviation::Level level)
{
    switch (level) {
    case Deviation::Within:
        return QStringLiteral("dentro de 1 desvio-padrão");
    case Deviation::Beyond1:
        return QStringLiteral("fora de 1 desvio-padrão");
    case Deviation::Beyond2:
        return QStringLiteral("fora de 2 desvios-padrão");
    }
    return {};
}

QString withUnit(const QString& number, CephUnit unit)
{
    return unit == CephUnit::Degree ? number + UnitText(unit) : number + u' ' + UnitText(unit);
}

}  // namespace

std::optional<Deviation> DeviationOf(double value, const std::optional<CephNorm>& norm)
{
    if (!norm || !IsSaneNorm(*norm) || !std::isfinite(value))
        return std::nullopt;
    // As the clinician reads it: the value as shown (one decimal) against mean and deviation.
    const double shown = ParseReal(F1(value));
    const double off = std::abs(shown - norm->mean);
    constexpr double kSlack = 1e-9;  // 91.4 - 87.8 is 3.6 on paper, a hair more in binary
    const Deviation::Level level = off > 2 * norm->sd + kSlack ? Deviation::Beyond2
                                   : off > norm->sd + kSlack  ? Deviation::Beyond1
                                                              : Deviation::Within;
    return Deviation{(shown - norm->mean) / norm->sd, level};
}

QString DeviationText(const Deviation& d)
{
    // Two decimals: 84.1 against 82 ± 2 lies outside, and reads +1.05 rather than a puzzling +1.0.
    QString t = FormatReal(0, 2, d.sds);
    if (ParseReal(t) == 0)
        t = QStringLiteral("0.00");
    else if (!t.startsWith(u'-'))
        t.prepend(u'+');
    return t + QStringLiteral(" DP");
}

QString NormText(const std::optional<CephNorm>& norm)
{
    if (!norm)
        return {};
    return F1(norm->mean) + QStringLiteral(" ± ") + F1(norm->sd);
}

QString NormText(const std::optional<CephNorm>& norm, CephUnit unit)
{
    return norm ? withUnit(NormText(norm), unit) : QString();
}

QString CephValueText(double value, CephUnit unit) { return withUnit(F1(value), unit); }

QString ProposedMark() { return QStringLiteral(" (proposto)"); }

std::vector<Landmark> ProposedLandmarks(const std::vector<Landmark>& used, const LandmarkFlags& proposed)
{
    std::vector<Landmark> out;
    for (Landmark l : used)
        if (proposed.test(size_t(Index(l))))
            out.push_back(l);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}


QString ProposedPointsText(const std::vector<Landmark>& proposed)
{
    if (proposed.empty())
        return {};
    return (proposed.size() == 1 ? QStringLiteral("Medida com ponto apenas proposto: %1. Confirme-o para tirar esta marca.")
                                 : QStringLiteral("Medida com pontos apenas propostos: %1. Confirme-os para tirar esta marca."))
        .arg(LandmarkCodes(proposed));
}

QString ProposedNoteText(const std::vector<Landmark>& proposed)
{
    if (proposed.empty())
        return {};
    return (proposed.size() == 1
                ? QStringLiteral("%1: valor que usa um ponto apenas proposto pelo programa, ainda não confirmado pelo profissional: %2.")
                : QStringLiteral("%1: valor que usa pontos apenas propostos pelo programa, ainda não confirmados pelo profissional: %2."))
        .arg(ProposedMark().trimmed(), LandmarkCodes(proposed));
}

QString NotMeasuredText(const MeasureResult& r, const std::vector<Landmark>& missing)
{
    switch (r.status) {
    case MeasureResult::Missing:
        return QStringLiteral("falta ") + LandmarkCodes(missing);
    case MeasureResult::Uncalibrated:
        return QStringLiteral("sem calibração");
    case MeasureResult::Undefined:
        return QStringLiteral("indefinida");
    case MeasureResult::Value:
        break;
    }
    return {};
}

ResultText WordResult(const MeasureResult& r, CephUnit unit, const std::optional<CephNorm>& norm,
                      const std::vector<Landmark>& missing, const std::vector<Landmark>& proposed)
{
    ResultText t;
    t.norm = NormText(norm);
    t.normUnit = NormText(norm, unit);
    if (r.ok() && std::isfinite(r.value)) {
        t.value = CephValueText(r.value, unit);
        if (!proposed.empty()) {
            t.mark = ProposedMark();
            t.proposed = proposed;
        }
        t.spoken = t.marked();
        if (const auto d = DeviationOf(r.value, norm)) {
            t.deviation = DeviationText(*d);
            t.level = d->level;
            t.spoken += QStringLiteral(", ") + t.deviation + QStringLiteral(", ") + levelWords(d->level);
        }
        return t;
    }
    t.value = kNoValue;
    t.deviation = r.ok() ? QStringLiteral("indefinida") : NotMeasuredText(r, missing);
    t.spoken = QStringLiteral("sem valor, ") + t.deviation;
    return t;
}

}  // namespace qv
