#include "analysis/Superimposition.h"

#include <QStringList>

#include <cmath>

namespace qv {

namespace {

using L = Landmark;
constexpr double kTiny = 1e-9;

double dot(QPointF a, QPointF b) { return a.x() * b.x() + a.y() * b.y(); }
double cross(QPointF a, QPointF b) { return a.x() * b.y() - a.y() * b.x(); }
double length(QPointF a) { return std::hypot(a.x(), a.y()); }

// The rigid motion taking point p with direction d onto point q with direction e.
std::optional<Rigid> align(QPointF p, QPointF d, QPointF q, QPointF e)
{
    const double nd = length(d), ne = length(e);
    if (nd < kTiny || ne < kTiny)
        return std::nullopt;
    Rigid r;
    r.cos = dot(d, e) / (nd * ne);
    r.sin = cross(d, e) / (nd * ne);
    const QPointF rp = r.apply(p);
    r.tx = q.x() - rp.x();
    r.ty = q.y() - rp.y();
    return r;
}

struct Frame {
    QPointF point, direction;
};

std::optional<Frame> frame(const StageTracing& t, Registration r)
{
    const auto mm = [&](L l) { return Millimetres(t, l); };
    switch (r) {
    case Registration::CranialBase:
        return Frame{mm(L::S), mm(L::N) - mm(L::S)};
    case Registration::BaNAtCF: {
        const QPointF fh = mm(L::Or) - mm(L::Po);
        const double n = length(fh);
        if (n < kTiny)
            return std::nullopt;
        const QPointF u = fh / n;
        const QPointF cf = mm(L::Po) + u * dot(mm(L::Pt) - mm(L::Po), u);
        return Frame{cf, mm(L::N) - mm(L::Ba)};
    }
    case Registration::Maxilla:
        return Frame{mm(L::ENA), mm(L::ENA) - mm(L::ENP)};
    case Registration::Mandible:
        return Frame{mm(L::Me), mm(L::Me) - mm(L::Tg)};
    case Registration::BestFit:
        break;
    }
    return std::nullopt;
}

// The rotation and translation (no scaling) that bring `from` closest to `to` in the least-squares
// sense: centroids onto each other, then the angle whose tangent is the summed cross over the
// summed dot of the centred pairs.
std::optional<Rigid> bestFit(const std::vector<QPointF>& from, const std::vector<QPointF>& to)
{
    if (from.size() < 2)
        return std::nullopt;
    QPointF cf, ct;
    for (size_t i = 0; i < from.size(); ++i) {
        cf += from[i];
        ct += to[i];
    }
    cf /= double(from.size());
    ct /= double(to.size());
    double sdot = 0, scross = 0;
    for (size_t i = 0; i < from.size(); ++i) {
        sdot += dot(from[i] - cf, to[i] - ct);
        scross += cross(from[i] - cf, to[i] - ct);
    }
    const double n = std::hypot(sdot, scross);
    if (n < kTiny)
        return std::nullopt;  // every chosen point at the centroid: no direction to fit
    Rigid r;
    r.cos = sdot / n;
    r.sin = scross / n;
    const QPointF rc = r.apply(cf);
    r.tx = ct.x() - rc.x();
    r.ty = ct.y() - rc.y();
    return r;
}

}  // namespace

QString RegistrationName(Registration r)
{
    switch (r) {
    case Registration::CranialBase:
        return QStringLiteral("S-N em S");
    case Registration::BaNAtCF:
        return QStringLiteral("Ba-N em CF");
    case Registration::Maxilla:
        return QStringLiteral("ENA-ENP em ENA");
    case Registration::Mandible:
        return QStringLiteral("Tg-Me em Me");
    case Registration::BestFit:
        return QStringLiteral("Melhor ajuste");
    }
    return {};
}

std::vector<Landmark> RegistrationLandmarks(Registration r)
{
    switch (r) {
    case Registration::CranialBase:
        return {L::S, L::N};
    case Registration::BaNAtCF:
        return {L::N, L::Po, L::Or, L::Ba, L::Pt};
    case Registration::Maxilla:
        return {L::ENA, L::ENP};
    case Registration::Mandible:
        return {L::Tg, L::Me};
    case Registration::BestFit:
        break;
    }
    return {};
}

QPointF Millimetres(const StageTracing& t, Landmark l)
{
    const QPointF p = t.points.at(l);
    return {p.x() * t.calibration.sx, p.y() * t.calibration.sy};
}

Superimposition Superimpose(std::span<const StageTracing> stages, int base, Registration registration,
                            std::span<const Landmark> fit)
{
    Superimposition out;
    if (stages.size() < 2 || stages.size() > 4 || base < 0 || base >= int(stages.size())) {
        out.error = QStringLiteral("Escolha de 2 a 4 fases e uma delas como base.");
        return out;
    }
    std::vector<L> needed = registration == Registration::BestFit ? std::vector<L>(fit.begin(), fit.end())
                                                                  : RegistrationLandmarks(registration);
    if (registration == Registration::BestFit && needed.size() < 2) {
        out.error = QStringLiteral("Marque ao menos dois pontos para o melhor ajuste.");
        return out;
    }
    for (const StageTracing& t : stages) {
        if (!t.calibration.known()) {
            out.error = QStringLiteral("%1: sem calibração.").arg(t.stage);
            return out;
        }
        std::vector<L> missing;
        for (L l : needed)
            if (!t.points.has(l))
                missing.push_back(l);
        if (!missing.empty()) {
            out.error = QStringLiteral("%1: faltam os pontos %2.").arg(t.stage, LandmarkCodes(missing));
            return out;
        }
    }

    const StageTracing& b = stages[size_t(base)];
    std::optional<Frame> baseFrame = frame(b, registration);
    QPointF axis = registration == Registration::BestFit ? Millimetres(b, L::N) - Millimetres(b, L::S)
                                                         : (baseFrame ? baseFrame->direction : QPointF());
    if (registration == Registration::BestFit && !(b.points.has(L::S) && b.points.has(L::N)))
        axis = {};
    if (length(axis) < kTiny) {
        out.error = registration == Registration::BestFit
                        ? QStringLiteral("%1: S e N dão a direção das medidas e faltam ou coincidem.").arg(b.stage)
                        : QStringLiteral("%1: os pontos de referência coincidem.").arg(b.stage);
        return out;
    }
    out.axis = axis / length(axis);
    // Across the axis, the way that points down the image (inferior).
    QPointF across(-out.axis.y(), out.axis.x());
    if (across.y() < 0)
        across = -across;

    for (const StageTracing& t : stages) {
        std::optional<Rigid> motion;
        if (registration == Registration::BestFit) {
            std::vector<QPointF> from, to;
            for (L l : needed) {
                from.push_back(Millimetres(t, l));
                to.push_back(Millimetres(b, l));
            }
            motion = bestFit(from, to);
        } else if (const auto f = frame(t, registration); f && baseFrame) {
            motion = align(f->point, f->direction, baseFrame->point, baseFrame->direction);
        }
        if (!motion) {
            out.error = QStringLiteral("%1: os pontos de referência coincidem.").arg(t.stage);
            out.stages.clear();
            return out;
        }
        StageSuperimposition s{*motion, {}};
        for (int i = 0; i < kLandmarkCount; ++i) {
            const L l = LandmarkAt(i);
            if (!t.points.has(l) || !b.points.has(l))
                continue;
            const QPointF d = motion->apply(Millimetres(t, l)) - Millimetres(b, l);
            s.displacements.push_back({l, dot(d, out.axis), dot(d, across), length(d)});
        }
        out.stages.push_back(std::move(s));
    }
    return out;
}

}  // namespace qv
