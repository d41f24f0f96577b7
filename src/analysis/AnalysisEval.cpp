#include "analysis/AnalysisEval.h"

#include "analysis/PlaneVector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qv {

namespace {

using L = Landmark;

using plane::Vec;
using plane::cross;
using plane::dot;
using plane::kTiny;
using plane::length;

using Value = std::optional<double>;
using Point = std::optional<Vec>;

Value angle(Vec a, Vec b)
{
    if (length(a) < kTiny || length(b) < kTiny)
        return std::nullopt;
    return std::atan2(std::abs(cross(a, b)), dot(a, b)) * 180.0 / std::numbers::pi;
}

class Evaluator {
public:
    Evaluator(const AnalysisDefinition& a, const LandmarkSet& points, const Calibration& c)
        : m_a(a), m_points(points), m_sx(c.known() ? c.sx : 1.0), m_sy(c.known() ? c.sy : 1.0)
    {
        for (const ConstructedPoint& p : a.constructed)
            m_built.push_back(construct(p));
    }

    Vec mm(L l) const { return {m_points.at(l).x() * m_sx, m_points.at(l).y() * m_sy}; }
    QPointF pixel(Vec v) const { return {v.x / m_sx, v.y / m_sy}; }
    const std::vector<Point>& built() const { return m_built; }

    Point at(PointRef r) const
    {
        if (!r.constructed())
            return m_points.has(L(r.index)) ? Point(mm(L(r.index))) : std::nullopt;
        return m_built[size_t(r.index - kLandmarkCount)];
    }

    AnalysisResults measure(const Calibration& c, const Measurements& tweed)
    {
        m_tweed = &tweed;
        AnalysisResults out(m_a.measures.size());
        m_done = &out;
        for (int i : m_a.order) {
            const MeasureDefinition& m = m_a.measures[size_t(i)];
            MeasureResult& r = out[size_t(i)];
            if (!MissingLandmarks(m, m_points).empty()) {
                r.status = MeasureResult::Missing;
            } else if (m.unit == CephUnit::Millimetre && !c.known()) {
                r.status = MeasureResult::Uncalibrated;
            } else {
                const Value v = eval(m.root);
                r = v && std::isfinite(*v) ? MeasureResult{MeasureResult::Value, *v} : MeasureResult{MeasureResult::Undefined, 0};
            }
        }
        return out;
    }

private:
    // Which way anterior lies along x: the side of N from S; none for a vertical S-N.
    Value anterior() const
    {
        if (!m_points.has(L::S) || !m_points.has(L::N))
            return std::nullopt;
        const double dx = mm(L::N).x - mm(L::S).x;
        if (std::abs(dx) < kTiny)
            return std::nullopt;
        return dx > 0 ? 1.0 : -1.0;
    }

    // Signed distance from p to the line a-b, positive on the anterior side; none for a line with
    // no anterior side (a point, or level).
    Value dist(Vec p, Vec a, Vec b) const
    {
        const Vec d = b - a;
        const double n = length(d);
        const Value ant = anterior();
        if (n < kTiny || !ant || std::abs(d.y) < kTiny)
            return std::nullopt;
        Vec normal{-d.y / n, d.x / n};
        if (normal.x * *ant < 0)
            normal = {-normal.x, -normal.y};
        return dot(p - a, normal);
    }

    // Frankfort, Po->Or, as a unit vector.
    Point frankfort() const
    {
        if (!m_points.has(L::Po) || !m_points.has(L::Or))
            return std::nullopt;
        const Vec fh = mm(L::Or) - mm(L::Po);
        const double n = length(fh);
        if (n < kTiny)
            return std::nullopt;
        return Vec{fh.x / n, fh.y / n};
    }

    Point construct(const ConstructedPoint& c) const
    {
        Point p[4];
        const int used = c.op == PointOp::Intersection ? 4 : c.op == PointOp::Foot ? 3 : c.op == PointOp::Midpoint ? 2 : 0;
        for (int i = 0; i < used; ++i) {
            p[i] = at(c.p[size_t(i)]);
            if (!p[i])
                return std::nullopt;
        }
        switch (c.op) {
        case PointOp::Midpoint:
            return (*p[0] + *p[1]) * 0.5;
        case PointOp::Foot: {
            const Vec d = *p[2] - *p[1];
            const double n = length(d);
            if (n < kTiny)
                return std::nullopt;
            const Vec u{d.x / n, d.y / n};
            return *p[1] + u * dot(*p[0] - *p[1], u);
        }
        case PointOp::Intersection: {
            const Vec d1 = *p[1] - *p[0], d2 = *p[3] - *p[2];
            const double n1 = length(d1), n2 = length(d2);
            if (n1 < kTiny || n2 < kTiny)
                return std::nullopt;
            const double den = cross(d1, d2);
            // Lines closer than a billionth of a radian to parallel cross too far away to mean anything.
            if (std::abs(den) <= 1e-9 * n1 * n2)
                return std::nullopt;
            return *p[0] + d1 * (cross(*p[2] - *p[0], d2) / den);
        }
        case PointOp::RamusCentre: {
            // The centre of the rectangle on Frankfort and its perpendicular through R1, R2, R3, R4.
            const Point u = frankfort();
            for (L l : {L::R1, L::R2, L::R3, L::R4})
                if (!m_points.has(l))
                    return std::nullopt;
            if (!u || std::abs(u->x) < kTiny)
                return std::nullopt;  // Frankfort upright leaves no "inferior" to measure along
            Vec v{-u->y, u->x};
            if (v.y < 0)
                v = {-v.x, -v.y};  // pointing down the image, toward the chin, whichever way the face looks
            const Vec o = mm(L::Po);
            const double along = (dot(mm(L::R1) - o, *u) + dot(mm(L::R2) - o, *u)) / 2;
            const double down = (dot(mm(L::R3) - o, v) + dot(mm(L::R4) - o, v)) / 2;
            return o + *u * along + v * down;
        }
        }
        return std::nullopt;
    }

    Value eval(int index) const
    {
        const Expr& e = m_a.exprs[size_t(index)];
        Point p[4];
        for (int i = 0; i < 4; ++i)
            p[i] = at(e.p[size_t(i)]);
        const auto all = [&](int n) {
            for (int i = 0; i < n; ++i)
                if (!p[i])
                    return false;
            return true;
        };
        const auto arg = [&](size_t i) { return eval(e.args[i]); };
        switch (e.op) {
        case ExprOp::Number:
            return e.number;
        case ExprOp::Tweed: {
            const MeasureResult& r = (*m_tweed)[e.tweed];
            return r.ok() ? Value(r.value + 0.0) : std::nullopt;  // + 0.0: a -0 reads as 0
        }
        case ExprOp::Measure: {
            const MeasureResult& r = (*m_done)[size_t(e.measure)];
            return r.ok() ? Value(r.value) : std::nullopt;
        }
        case ExprOp::Angle:
            return all(4) ? angle(*p[1] - *p[0], *p[3] - *p[2]) : std::nullopt;
        case ExprOp::AngleAt:
            return all(3) ? angle(*p[1] - *p[0], *p[2] - *p[0]) : std::nullopt;
        case ExprOp::AcuteAngle: {
            const Value a = all(4) ? angle(*p[1] - *p[0], *p[3] - *p[2]) : std::nullopt;
            return a ? Value(std::min(*a, 180.0 - *a)) : std::nullopt;
        }
        case ExprOp::Distance:
            return all(3) ? dist(*p[0], *p[1], *p[2]) : std::nullopt;
        case ExprOp::Length:
            return all(2) ? Value(length(*p[0] - *p[1])) : std::nullopt;
        case ExprOp::AlongFh: {
            if (!all(2) || !m_points.has(L::Po) || !m_points.has(L::Or))
                return std::nullopt;
            const Vec fh = mm(L::Or) - mm(L::Po);
            const double n = length(fh);
            return n < kTiny ? std::nullopt : Value(dot(*p[0] - *p[1], fh) / n);
        }
        case ExprOp::Ratio: {
            const Value num = arg(0), den = arg(1);
            if (!num || !den || std::abs(*den) < kTiny)
                return std::nullopt;
            return *num / *den * 100.0;
        }
        case ExprOp::Sum:
        case ExprOp::Difference: {
            double total = 0;
            for (size_t i = 0; i < e.args.size(); ++i) {
                const Value v = arg(i);
                if (!v)
                    return std::nullopt;
                total += (e.op == ExprOp::Difference && i == 1) ? -*v : *v;
            }
            return total;
        }
        case ExprOp::Supplement: {
            const Value v = arg(0);
            return v ? Value(180.0 - *v) : std::nullopt;
        }
        case ExprOp::Negate: {
            const Value v = arg(0);
            return v ? Value(-*v) : std::nullopt;
        }
        case ExprOp::WithSignOf: {
            const Value v = arg(0), s = arg(1);
            if (!v || !s)
                return std::nullopt;
            return *s < 0 ? -std::abs(*v) : std::abs(*v);
        }
        }
        return std::nullopt;
    }

    const AnalysisDefinition& m_a;
    const LandmarkSet& m_points;
    double m_sx = 1, m_sy = 1;
    std::vector<Point> m_built;
    const Measurements* m_tweed = nullptr;
    const AnalysisResults* m_done = nullptr;
};

}  // namespace

AnalysisResults EvaluateAnalysis(const AnalysisDefinition& a, const LandmarkSet& points, const Calibration& calibration,
                                 const Measurements& tweed)
{
    return Evaluator(a, points, calibration).measure(calibration, tweed);
}

AnalysisResults EvaluateAnalysis(const AnalysisDefinition& a, const LandmarkSet& points, const Calibration& calibration)
{
    return EvaluateAnalysis(a, points, calibration, MeasureTracing(points, calibration));
}

std::vector<std::optional<QPointF>> ConstructedPoints(const AnalysisDefinition& a, const LandmarkSet& points,
                                                      const Calibration& calibration)
{
    const Evaluator e(a, points, calibration);
    std::vector<std::optional<QPointF>> out;
    for (const Point& p : e.built())
        out.push_back(p ? std::optional<QPointF>(e.pixel(*p)) : std::nullopt);
    return out;
}

std::optional<QPointF> RamusCentre(const LandmarkSet& points, const Calibration& calibration)
{
    // The one constructed point of a definition of its own, so Xi is drawn where it is measured.
    static const AnalysisDefinition xi = [] {
        AnalysisDefinition a;
        a.constructed.push_back({QStringLiteral("Xi"), PointOp::RamusCentre, {}});
        return a;
    }();
    return ConstructedPoints(xi, points, calibration).front();
}

std::vector<Landmark> MissingLandmarks(const MeasureDefinition& m, const LandmarkSet& points)
{
    std::vector<Landmark> missing;
    for (Landmark l : m.landmarks)
        if (!points.has(l))
            missing.push_back(l);
    return missing;
}

}  // namespace qv
