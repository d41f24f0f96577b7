#include "support/SyntheticDrawing.h"

#include <algorithm>
#include <cmath>

namespace qv::test::synth {

namespace {

// Taylor series, ample for |r| <= pi/4.
double SinNear(double r)
{
    const double r2 = r * r;
    return r * (1 - r2 / 6 * (1 - r2 / 20 * (1 - r2 / 42 * (1 - r2 / 72 * (1 - r2 / 110 * (1 - r2 / 156 * (1 - r2 / 210)))))));
}

double CosNear(double r)
{
    const double r2 = r * r;
    return 1 - r2 / 2 * (1 - r2 / 12 * (1 - r2 / 30 * (1 - r2 / 56 * (1 - r2 / 90 * (1 - r2 / 132 * (1 - r2 / 182))))));
}

// x = r + quarter * pi/2 with |r| <= pi/4 and quarter in 0..3.
double Reduce(double x, int* quarter)
{
    const double k = std::floor(x / (kPi / 2) + 0.5);
    const long long q = static_cast<long long>(k) % 4;
    *quarter = int(q < 0 ? q + 4 : q);
    return x - k * (kPi / 2);
}

}  // namespace

double Length(V a) { return std::sqrt(Dot(a, a)); }

V Unit(V a)
{
    const double l = Length(a);
    return l > 0 ? (1 / l) * a : V{1, 0};
}

double Sin(double x)
{
    int q = 0;
    const double r = Reduce(x, &q);
    switch (q) {
    case 0: return SinNear(r);
    case 1: return CosNear(r);
    case 2: return -SinNear(r);
    default: return -CosNear(r);
    }
}

double Cos(double x)
{
    int q = 0;
    const double r = Reduce(x, &q);
    switch (q) {
    case 0: return CosNear(r);
    case 1: return -SinNear(r);
    case 2: return -CosNear(r);
    default: return SinNear(r);
    }
}

double Random::uniform()
{
    const std::uint64_t high = bits() >> 5;  // 27 bits
    const std::uint64_t low = bits() >> 6;   // 26 bits
    return double((high << 26) | low) * (1.0 / 9007199254740992.0);
}

double Random::normal(double mean, double deviation)
{
    double sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += uniform();
    return mean + deviation * std::clamp(sum - 6, -2.5, 2.5);
}

Path& Path::to(V p)
{
    const V a = m_points.back();
    const int n = std::max(1, int(std::ceil(Length(p - a) / m_step)));
    for (int k = 1; k < n; ++k)
        m_points.push_back(Lerp(a, p, double(k) / n));
    m_points.push_back(p);
    return *this;
}

Path& Path::append(const Polyline& points)
{
    m_points.insert(m_points.end(), points.begin(), points.end());
    return *this;
}

Path& Path::through(const std::vector<V>& points, std::vector<int>* at)
{
    Polyline p{m_points.back()};
    p.insert(p.end(), points.begin(), points.end());
    const size_t n = p.size();
    auto point = [&](long i) {  // the ends continued by reflection
        if (i < 0)
            return 2.0 * p[0] - p[1];
        if (i >= long(n))
            return 2.0 * p[n - 1] - p[n - 2];
        return p[size_t(i)];
    };
    auto knot = [](V a, V b) { return std::max(1e-6, std::sqrt(Length(b - a))); };
    for (size_t i = 0; i + 1 < n; ++i) {
        const V p0 = point(long(i) - 1), p1 = p[i], p2 = p[i + 1], p3 = point(long(i) + 2);
        const double t0 = 0, t1 = t0 + knot(p0, p1), t2 = t1 + knot(p1, p2), t3 = t2 + knot(p2, p3);
        const int steps = std::max(1, int(std::ceil(Length(p2 - p1) / m_step)));
        for (int k = 1; k < steps; ++k) {
            const double t = t1 + (t2 - t1) * k / steps;
            const V a1 = ((t1 - t) / (t1 - t0)) * p0 + ((t - t0) / (t1 - t0)) * p1;
            const V a2 = ((t2 - t) / (t2 - t1)) * p1 + ((t - t1) / (t2 - t1)) * p2;
            const V a3 = ((t3 - t) / (t3 - t2)) * p2 + ((t - t2) / (t3 - t2)) * p3;
            const V b1 = ((t2 - t) / (t2 - t0)) * a1 + ((t - t0) / (t2 - t0)) * a2;
            const V b2 = ((t3 - t) / (t3 - t1)) * a2 + ((t - t1) / (t3 - t1)) * a3;
            m_points.push_back(((t2 - t) / (t2 - t1)) * b1 + ((t - t1) / (t2 - t1)) * b2);
        }
        m_points.push_back(p2);
        if (at)
            at->push_back(mark());
    }
    return *this;
}

Path& Path::arc(V centre, double rx, double ry, double from, double to)
{
    const int n = std::max(2, int(std::ceil(std::abs(to - from) * std::max(rx, ry) / m_step)));
    this->to(centre + V{rx * Cos(from), ry * Sin(from)});
    for (int k = 1; k <= n; ++k) {
        const double a = from + (to - from) * k / n;
        m_points.push_back(centre + V{rx * Cos(a), ry * Sin(a)});
    }
    return *this;
}

Polyline Ellipse(V centre, double rx, double ry, double tilt, int count)
{
    Polyline p;
    p.reserve(size_t(count));
    for (int k = 0; k < count; ++k) {
        const double a = 2 * kPi * k / count;
        p.push_back(centre + Turn(V{rx * Cos(a), ry * Sin(a)}, tilt));
    }
    return p;
}

Polyline Slice(const Polyline& line, int from, int to)
{
    Polyline p;
    const int step = from <= to ? 1 : -1;
    for (int i = from;; i += step) {
        p.push_back(line[size_t(i)]);
        if (i == to)
            break;
    }
    return p;
}

Polyline Offset(const Polyline& line, double distance, bool closed)
{
    const size_t n = line.size();
    Polyline out(n);
    for (size_t i = 0; i < n; ++i) {
        const bool first = i == 0 && !closed, final = i + 1 == n && !closed;
        const V prev = line[first ? i : (i + n - 1) % n], here = line[i], next = line[final ? i : (i + 1) % n];
        const V a = TurnLeft(Unit(here - prev)), b = TurnLeft(Unit(next - here));
        const V normal = first ? b : final ? a : Unit(a + b);
        out[i] = here + (distance / std::max(0.5, Dot(normal, first ? b : a))) * normal;
    }
    return out;
}

double SignedArea(const Polyline& polygon)
{
    double sum = 0;
    for (size_t i = 0; i < polygon.size(); ++i)
        sum += Cross(polygon[i], polygon[(i + 1) % polygon.size()]);
    return sum / 2;
}

V Centroid(const Polyline& polygon)
{
    double area = 0, cx = 0, cy = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const V a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        const double c = Cross(a, b);
        area += c;
        cx += (a.x + b.x) * c;
        cy += (a.y + b.y) * c;
    }
    return {cx / (3 * area), cy / (3 * area)};
}

int Extreme(const Polyline& line, int from, int to, V direction)
{
    int best = from;
    const int step = from <= to ? 1 : -1;
    for (int i = from;; i += step) {
        if (Dot(line[size_t(i)], direction) > Dot(line[size_t(best)], direction))
            best = i;
        if (i == to)
            break;
    }
    return best;
}

int Deepest(const Polyline& line, int from, int to)
{
    const V a = line[size_t(from)], chord = Unit(line[size_t(to)] - a);
    const int step = from <= to ? 1 : -1;
    double sum = 0;
    for (int i = from; i != to; i += step)
        sum += Cross(chord, line[size_t(i)] - a);
    const double side = sum < 0 ? -1 : 1;
    int best = from;
    double depth = 0;
    for (int i = from; i != to; i += step) {
        const double d = side * Cross(chord, line[size_t(i)] - a);
        if (d > depth) {
            depth = d;
            best = i;
        }
    }
    return best;
}

int Inflection(const Polyline& line, int from, int to)
{
    const int step = from <= to ? 1 : -1;
    int previous = 0;
    for (int i = from + step; i != to; i += step) {
        const double turn = Cross(line[size_t(i)] - line[size_t(i - step)], line[size_t(i + step)] - line[size_t(i)]);
        const int sign = turn > 0 ? 1 : turn < 0 ? -1 : 0;
        if (sign && previous && sign != previous)
            return i;
        if (sign)
            previous = sign;
    }
    return (from + to) / 2;
}

V Meet(V a, V b, V c, V d)
{
    const double t = Cross(c - a, d - c) / Cross(b - a, d - c);
    return a + t * (b - a);
}

Polyline Arc(V centre, V from, V to, int count)
{
    Polyline arc;
    const double r = Length(from - centre);
    for (int i = 0; i <= count; ++i)
        arc.push_back(centre + r * Unit(Lerp(from - centre, to - centre, double(i) / count)));
    return arc;
}

bool Intersect(const Polyline& line, int from, int to, V a, V b, V* hit, int* index)
{
    const V d = b - a;
    const int step = from <= to ? 1 : -1;
    for (int i = from; i != to; i += step) {
        const V p = line[size_t(i)], q = line[size_t(i + step)];
        const double sp = Cross(d, p - a), sq = Cross(d, q - a);
        if ((sp <= 0 && sq > 0) || (sp >= 0 && sq < 0)) {
            *hit = p + (sp / (sp - sq)) * (q - p);
            if (index)
                *index = i;
            return true;
        }
    }
    return false;
}

std::vector<V> Crossings(const Polyline& line, V a, V b)
{
    std::vector<V> hits;
    for (int from = 0; from + 1 < int(line.size());) {
        V hit;
        int index = 0;
        if (!Intersect(line, from, int(line.size()) - 1, a, b, &hit, &index))
            break;
        hits.push_back(hit);
        from = index + 1;
    }
    return hits;
}

Canvas::Canvas(int width, int height) : m_width(width), m_height(height), m_values(size_t(width) * size_t(height), 0.0f) {}

void Canvas::fill(const Polyline& polygon, float density)
{
    struct Edge {
        int first, last;  // rows whose centre the edge crosses
        double x0, y0, slope;
    };
    std::vector<Edge> edges;
    for (size_t i = 0; i < polygon.size(); ++i) {
        V a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        if (a.y == b.y)
            continue;
        if (a.y > b.y)
            std::swap(a, b);
        const int first = std::max(0, int(std::ceil(a.y - 0.5)));
        const int last = std::min(m_height - 1, int(std::ceil(b.y - 0.5)) - 1);
        if (first <= last)
            edges.push_back({first, last, a.x, a.y, (b.x - a.x) / (b.y - a.y)});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.first < r.first; });
    std::vector<const Edge*> active;
    std::vector<double> xs;
    size_t next = 0;
    for (int row = edges.empty() ? m_height : edges.front().first; row < m_height; ++row) {
        while (next < edges.size() && edges[next].first == row)
            active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [row](const Edge* e) { return e->last < row; }),
                     active.end());
        if (active.empty()) {
            if (next == edges.size())
                break;
            continue;
        }
        const double yc = row + 0.5;
        xs.clear();
        for (const Edge* e : active)
            xs.push_back(e->x0 + (yc - e->y0) * e->slope);
        std::sort(xs.begin(), xs.end());
        float* line = m_values.data() + size_t(row) * size_t(m_width);
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            const double xa = std::clamp(xs[k], 0.0, double(m_width)), xb = std::clamp(xs[k + 1], 0.0, double(m_width));
            if (xb <= xa)
                continue;
            const int ia = int(xa), ib = int(xb);
            if (ia == ib) {
                line[ia] += float(density * (xb - xa));
                continue;
            }
            line[ia] += float(density * (ia + 1 - xa));
            for (int i = ia + 1; i < ib; ++i)
                line[i] += density;
            if (ib < m_width)
                line[ib] += float(density * (xb - ib));
        }
    }
}

void Canvas::stroke(const Polyline& line, double width, float density, bool closed)
{
    if (line.size() < 2)
        return;
    const double half = width / 2, reach = half + 1;
    double x0 = line[0].x, x1 = x0, y0 = line[0].y, y1 = y0;
    for (V p : line) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    const int left = std::max(0, int(std::floor(x0 - reach))), right = std::min(m_width - 1, int(std::ceil(x1 + reach)));
    const int top = std::max(0, int(std::floor(y0 - reach))), bottom = std::min(m_height - 1, int(std::ceil(y1 + reach)));
    if (left > right || top > bottom)
        return;
    const int w = right - left + 1, h = bottom - top + 1;
    std::vector<float> cover(size_t(w) * size_t(h), 0.0f);
    const size_t segments = closed ? line.size() : line.size() - 1;
    for (size_t s = 0; s < segments; ++s) {
        const V a = line[s], b = line[(s + 1) % line.size()], d = b - a;
        const double dd = std::max(1e-12, Dot(d, d));
        const int sx0 = std::max(left, int(std::floor(std::min(a.x, b.x) - reach)));
        const int sx1 = std::min(right, int(std::ceil(std::max(a.x, b.x) + reach)));
        const int sy0 = std::max(top, int(std::floor(std::min(a.y, b.y) - reach)));
        const int sy1 = std::min(bottom, int(std::ceil(std::max(a.y, b.y) + reach)));
        for (int y = sy0; y <= sy1; ++y) {
            float* c = cover.data() + size_t(y - top) * size_t(w) - left;
            for (int x = sx0; x <= sx1; ++x) {
                const V p{x + 0.5, y + 0.5};
                const double t = std::clamp(Dot(p - a, d) / dd, 0.0, 1.0);
                const double dist = Length(p - (a + t * d));
                const float k = float(std::clamp(half + 0.5 - dist, 0.0, 1.0));
                c[x] = std::max(c[x], k);
            }
        }
    }
    for (int y = 0; y < h; ++y) {
        float* out = m_values.data() + size_t(y + top) * size_t(m_width) + size_t(left);
        const float* c = cover.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x)
            out[x] += density * c[x];
    }
}

void Canvas::blur(int radius)
{
    if (radius < 1 || m_values.empty())
        return;
    const int W = m_width, H = m_height;
    const double scale = 1.0 / (2 * radius + 1);
    std::vector<float> row(static_cast<size_t>(W));
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < H; ++y) {
            float* v = m_values.data() + size_t(y) * size_t(W);
            std::copy(v, v + W, row.begin());
            double sum = 0;
            for (int k = -radius; k <= radius; ++k)
                sum += row[size_t(std::clamp(k, 0, W - 1))];
            for (int x = 0; x < W; ++x) {
                v[x] = float(sum * scale);
                sum += row[size_t(std::min(x + radius + 1, W - 1))] - row[size_t(std::max(x - radius, 0))];
            }
        }
    }
    std::vector<double> sum(static_cast<size_t>(W));
    std::vector<float> column(m_values.size());
    for (int pass = 0; pass < 2; ++pass) {
        column = m_values;
        auto rowAt = [&](int y) { return column.data() + size_t(std::clamp(y, 0, H - 1)) * size_t(W); };
        std::fill(sum.begin(), sum.end(), 0.0);
        for (int k = -radius; k <= radius; ++k) {
            const float* r = rowAt(k);
            for (int x = 0; x < W; ++x)
                sum[size_t(x)] += r[x];
        }
        for (int y = 0; y < H; ++y) {
            float* v = m_values.data() + size_t(y) * size_t(W);
            const float *in = rowAt(y + radius + 1), *out = rowAt(y - radius);
            for (int x = 0; x < W; ++x) {
                v[x] = float(sum[size_t(x)] * scale);
                sum[size_t(x)] += in[x] - out[x];
            }
        }
    }
}

}  // namespace qv::test::synth
