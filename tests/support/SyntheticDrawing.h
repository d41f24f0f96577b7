#pragma once
// What the synthetic cephalograms are drawn with: a random source and trigonometry that give the
// same numbers with every compiler and C library (only mt19937's raw output, + - * / and sqrt),
// smooth outlines through control points, and an additive density canvas that fills polygons
// and strokes lines in pixel coordinates.

#include <cstdint>
#include <random>
#include <vector>

namespace qv::test::synth {

struct V {
    double x = 0, y = 0;
};
inline V operator+(V a, V b) { return {a.x + b.x, a.y + b.y}; }
inline V operator-(V a, V b) { return {a.x - b.x, a.y - b.y}; }
inline V operator*(double k, V a) { return {k * a.x, k * a.y}; }
inline double Dot(V a, V b) { return a.x * b.x + a.y * b.y; }
inline double Cross(V a, V b) { return a.x * b.y - a.y * b.x; }
double Length(V a);
V Unit(V a);
inline V Lerp(V a, V b, double t) { return a + t * (b - a); }
// Turned by 90 degrees: clockwise on the screen (y down), which takes "forward" (+x) to "down".
inline V TurnRight(V a) { return {-a.y, a.x}; }
inline V TurnLeft(V a) { return {a.y, -a.x}; }

constexpr double kPi = 3.14159265358979323846;
inline double Radians(double degrees) { return degrees * (kPi / 180); }
double Sin(double radians);
double Cos(double radians);
// The direction at this angle from +x, positive angles turning clockwise on the screen.
inline V Direction(double radians) { return {Cos(radians), Sin(radians)}; }
inline V Turn(V a, double radians)
{
    const double c = Cos(radians), s = Sin(radians);
    return {c * a.x - s * a.y, s * a.x + c * a.y};
}

class Random {
public:
    explicit Random(std::uint32_t seed) : m_engine(seed) {}
    std::uint32_t bits() { return std::uint32_t(m_engine()); }
    double uniform();  // [0, 1) with 53 random bits
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    // About normal (twelve uniform deviates summed), kept within 2.5 deviations of the mean.
    double normal(double mean, double deviation);

private:
    std::mt19937 m_engine;
};

using Polyline = std::vector<V>;

// An outline drawn piece by piece: straight lines, smooth curves through points (a centripetal
// Catmull-Rom spline, which passes through each point) and elliptic arcs. Where two pieces meet
// the outline may turn a corner.
class Path {
public:
    explicit Path(V start, double step = 0.25) : m_step(step) { m_points.push_back(start); }
    Path& to(V p);
    // `at`, when given, receives the index of each of the points in the outline.
    Path& through(const std::vector<V>& points, std::vector<int>* at = nullptr);
    Path& append(const Polyline& points);  // as they are
    // Elliptic arc around `centre` from one angle to another (radians, clockwise on the screen
    // when increasing), reached by a straight line from the current point.
    Path& arc(V centre, double rx, double ry, double from, double to);
    V last() const { return m_points.back(); }
    int mark() const { return int(m_points.size()) - 1; }  // index of the current point
    const Polyline& points() const { return m_points; }

private:
    double m_step;
    Polyline m_points;
};

Polyline Ellipse(V centre, double rx, double ry, double tilt = 0, int count = 96);
Polyline Slice(const Polyline& line, int from, int to);  // points from..to, both included
Polyline Offset(const Polyline& line, double distance, bool closed);  // to the left when walking it
double SignedArea(const Polyline& polygon);  // positive when clockwise on the screen
V Centroid(const Polyline& polygon);

// Along line[from..to]: the point farthest along `direction`, and the one deepest behind the
// chord from line[from] to line[to] (on the side the direction points away from).
int Extreme(const Polyline& line, int from, int to, V direction);
int Deepest(const Polyline& line, int from, int to);
// Where the turn of line[from..to] changes sign (the middle of the range if nowhere).
int Inflection(const Polyline& line, int from, int to);
V Meet(V a, V b, V c, V d);  // where the line a-b crosses the line c-d
// Arc of a circle from one of its points to another, the short way round.
Polyline Arc(V centre, V from, V to, int count);
// Where the line from a through b (extended both ways) first crosses line[from..to].
bool Intersect(const Polyline& line, int from, int to, V a, V b, V* hit, int* index = nullptr);
// Every crossing of that line with the whole open polyline, in its order.
std::vector<V> Crossings(const Polyline& line, V a, V b);

// Densities added over a frame of pixels; coordinates are pixels, a pixel i covering [i, i+1).
class Canvas {
public:
    Canvas(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Even-odd fill, covering partial pixels along each row.
    void fill(const Polyline& polygon, float density);
    // A line of the given width (pixels) whose overlaps count once.
    void stroke(const Polyline& line, double width, float density, bool closed);
    // Box blur of this radius, twice over, along rows and columns.
    void blur(int radius);
    std::vector<float>& values() { return m_values; }

private:
    int m_width, m_height;
    std::vector<float> m_values;
};

}  // namespace qv::test::synth
