#include "analysis/TracingGeometry.h"

#include "analysis/PlaneVector.h"

#include <cmath>
#include <numbers>

namespace qv {

namespace {

using L = Landmark;

using plane::Vec;
using plane::cross;
using plane::dot;
using plane::kTiny;
const auto norm = plane::length;

std::optional<Vec> unit(Vec a)
{
    const double n = norm(a);
    if (n < kTiny)
        return std::nullopt;
    return Vec{a.x / n, a.y / n};
}

// Angle between two vectors in [0, 180] degrees; none for a null vector.
std::optional<double> angle(Vec a, Vec b)
{
    if (norm(a) < kTiny || norm(b) < kTiny)
        return std::nullopt;
    return std::atan2(std::abs(cross(a, b)), dot(a, b)) * 180.0 / std::numbers::pi;
}

// The crossing of the lines p1-p2 and q1-q2; none when they are parallel or either is a point.
std::optional<Vec> intersect(Vec p1, Vec p2, Vec q1, Vec q2)
{
    const Vec d1 = p2 - p1;
    const Vec d2 = q2 - q1;
    const double n1 = norm(d1), n2 = norm(d2);
    if (n1 < kTiny || n2 < kTiny)
        return std::nullopt;
    const double den = cross(d1, d2);
    // Lines closer than a billionth of a radian to parallel cross too far away to mean anything.
    if (std::abs(den) <= 1e-9 * n1 * n2)
        return std::nullopt;
    const double t = cross(q1 - p1, d2) / den;
    return p1 + d1 * t;
}

std::optional<Vec> foot(Vec p, Vec a, Vec b)
{
    const auto u = unit(b - a);
    if (!u)
        return std::nullopt;
    return a + *u * dot(p - a, *u);
}

// Everything measured and constructed from one set of points.
class Tracer {
public:
    Tracer(const LandmarkSet& points, const Calibration& c) : m_points(points)
    {
        m_calibrated = c.known();
        m_sx = m_calibrated ? c.sx : 1.0;
        m_sy = m_calibrated ? c.sy : 1.0;
    }

    bool has(std::initializer_list<L> ls) const
    {
        for (L l : ls)
            if (!m_points.has(l))
                return false;
        return true;
    }
    Vec mm(L l) const
    {
        const QPointF p = m_points.at(l);
        return {p.x() * m_sx, p.y() * m_sy};
    }
    QPointF pixel(Vec v) const { return {v.x / m_sx, v.y / m_sy}; }
    std::optional<QPointF> pixel(std::optional<Vec> v) const
    {
        return v ? std::optional<QPointF>(pixel(*v)) : std::nullopt;
    }

    struct Triangle {
        std::optional<Vec> f, m, p;
    };
    Triangle triangle() const
    {
        Triangle t;
        if (has({L::Po, L::Or, L::Tg, L::Me}))
            t.p = intersect(mm(L::Po), mm(L::Or), mm(L::Tg), mm(L::Me));
        if (has({L::Po, L::Or, L::Ii, L::Ai}))
            t.f = intersect(mm(L::Po), mm(L::Or), mm(L::Ii), mm(L::Ai));
        if (has({L::Tg, L::Me, L::Ii, L::Ai}))
            t.m = intersect(mm(L::Tg), mm(L::Me), mm(L::Ii), mm(L::Ai));
        return t;
    }

    Measurements measure() const
    {
        Measurements out;
        // A value that overflowed (points absurdly far apart) is no measure: "—", never inf or nan.
        auto set = [&](Measure m, std::optional<double> v) {
            out[m] = v && std::isfinite(*v) ? MeasureResult{MeasureResult::Value, *v} : MeasureResult{MeasureResult::Undefined, 0};
        };
        auto ready = [&](Measure m) {
            for (L l : RequiredLandmarks(m))
                if (!m_points.has(l))
                    return false;
            if (IsDistance(m) && !m_calibrated) {
                out[m].status = MeasureResult::Uncalibrated;
                return false;
            }
            return true;
        };

        if (ready(Measure::FMA)) {
            const Triangle t = triangle();
            std::optional<double> fma, impa;
            if (t.f && t.m && t.p) {
                fma = angle(*t.f - *t.p, *t.m - *t.p);
                impa = angle(*t.f - *t.m, *t.p - *t.m);
            }
            // Three lines through one point leave no triangle.
            if (fma && impa && *fma > 0 && *impa > 0 && *fma + *impa < 180) {
                set(Measure::FMA, fma);
                set(Measure::IMPA, impa);
                set(Measure::FMIA, 180.0 - *fma - *impa);
            } else {
                set(Measure::FMA, {});
                set(Measure::IMPA, {});
                set(Measure::FMIA, {});
            }
        }
        if (ready(Measure::PlOcl)) {
            const auto a = angle(mm(L::OclA) - mm(L::OclP), mm(L::Or) - mm(L::Po));
            set(Measure::PlOcl, a ? std::optional<double>(std::min(*a, 180.0 - *a)) : std::nullopt);
        }
        if (ready(Measure::SNA))
            set(Measure::SNA, angle(mm(L::S) - mm(L::N), mm(L::A) - mm(L::N)));
        if (ready(Measure::SNB))
            set(Measure::SNB, angle(mm(L::S) - mm(L::N), mm(L::B) - mm(L::N)));
        if (ready(Measure::AoBo)) {
            const auto u = unit(mm(L::OclA) - mm(L::OclP));
            set(Measure::AoBo, u ? std::optional<double>(dot(mm(L::A) - mm(L::B), *u)) : std::nullopt);
        }
        if (ready(Measure::AngZ)) {
            const Vec fh = mm(L::Po) - mm(L::Or);
            const auto up = angle(fh, mm(L::PogSoft) - mm(L::Ls));
            const auto low = angle(fh, mm(L::PogSoft) - mm(L::Li));
            set(Measure::AngZ, up && low ? std::optional<double>(std::min(*up, *low)) : std::nullopt);
        }
        if (ready(Measure::LS)) {
            const auto u = unit(mm(L::Or) - mm(L::Po));
            set(Measure::LS, u ? std::optional<double>(dot(mm(L::Ls) - mm(L::Is), *u)) : std::nullopt);
        }
        if (ready(Measure::QT)) {
            const auto x = qtPoint();
            const auto u = unit(mm(L::Or) - mm(L::Po));
            set(Measure::QT, x && u ? std::optional<double>(dot(mm(L::PogSoft) - *x, *u)) : std::nullopt);
        }
        if (ready(Measure::AFA)) {
            const Vec d = mm(L::ENP) - mm(L::ENA);
            const double n = norm(d);
            set(Measure::AFA, n < kTiny ? std::nullopt
                                        : std::optional<double>(std::abs(cross(mm(L::Me) - mm(L::ENA), d)) / n));
        }
        if (ready(Measure::AFP)) {
            const auto g = intersect(mm(L::Ar), mm(L::Rp), mm(L::Tg), mm(L::Me));
            set(Measure::AFP, g ? std::optional<double>(norm(*g - mm(L::Ar))) : std::nullopt);
        }
        return out;
    }

    std::optional<Vec> qtPoint() const
    {
        if (!has({L::Po, L::Or, L::PogSoft, L::N, L::B}))
            return std::nullopt;
        const Vec pog = mm(L::PogSoft);
        return intersect(pog, pog + (mm(L::Or) - mm(L::Po)), mm(L::N), mm(L::B));
    }

    TracingConstruction construct() const
    {
        TracingConstruction c;
        const Triangle t = triangle();
        c.tweedF = pixel(t.f);
        c.tweedM = pixel(t.m);
        c.tweedP = pixel(t.p);
        if (has({L::OclP, L::OclA, L::A}))
            c.footA = pixel(foot(mm(L::A), mm(L::OclP), mm(L::OclA)));
        if (has({L::OclP, L::OclA, L::B}))
            c.footB = pixel(foot(mm(L::B), mm(L::OclP), mm(L::OclA)));
        if (has({L::Ar, L::Rp, L::Tg, L::Me}))
            c.gonion = pixel(intersect(mm(L::Ar), mm(L::Rp), mm(L::Tg), mm(L::Me)));
        if (has({L::ENA, L::ENP, L::Me}))
            c.footMe = pixel(foot(mm(L::Me), mm(L::ENA), mm(L::ENP)));
        if (has({L::Po, L::Or, L::Ls, L::Li, L::PogSoft})) {
            const Vec fh = mm(L::Po) - mm(L::Or);
            const auto up = angle(fh, mm(L::PogSoft) - mm(L::Ls));
            const auto low = angle(fh, mm(L::PogSoft) - mm(L::Li));
            if (up && low) {
                const L lip = *up <= *low ? L::Ls : L::Li;
                c.profileLip = m_points.at(lip);
                c.profileTop = pixel(intersect(mm(L::PogSoft), mm(lip), mm(L::Po), mm(L::Or)));
            }
        }
        c.qtPoint = pixel(qtPoint());
        return c;
    }

private:
    const LandmarkSet& m_points;
    bool m_calibrated = false;
    double m_sx = 1, m_sy = 1;
};

}  // namespace

const std::vector<Landmark>& RequiredLandmarks(Measure m)
{
    static const std::array<std::vector<Landmark>, kMeasureCount> table = {{
        {L::Po, L::Or, L::Tg, L::Me, L::Ii, L::Ai},  // FMA
        {L::Po, L::Or, L::Tg, L::Me, L::Ii, L::Ai},  // FMIA
        {L::Po, L::Or, L::Tg, L::Me, L::Ii, L::Ai},  // IMPA
        {L::Po, L::Or, L::OclP, L::OclA},            // Pl. ocl. - Hf
        {L::S, L::N, L::A},                          // SNA
        {L::S, L::N, L::B},                          // SNB
        {L::A, L::B, L::OclP, L::OclA},              // AO - BO
        {L::Po, L::Or, L::Ls, L::Li, L::PogSoft},    // Ang. Z
        {L::Po, L::Or, L::Is, L::Ls},                // LS
        {L::Po, L::Or, L::N, L::B, L::PogSoft},      // QT
        {L::ENA, L::ENP, L::Me},                     // AFA
        {L::Ar, L::Rp, L::Tg, L::Me},                // AFP
    }};
    return table[size_t(m)];
}

bool IsDistance(Measure m)
{
    return m == Measure::AoBo || m == Measure::LS || m == Measure::QT || m == Measure::AFA || m == Measure::AFP;
}

Measurements MeasureTracing(const LandmarkSet& points, const Calibration& calibration)
{
    return Tracer(points, calibration).measure();
}

TracingConstruction ConstructTracing(const LandmarkSet& points, const Calibration& calibration)
{
    return Tracer(points, calibration).construct();
}

}  // namespace qv
