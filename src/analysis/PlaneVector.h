#pragma once
// A vector of the radiograph's plane, in millimetres (pixels where there is no calibration): the
// arithmetic every landmark measure is made of.

#include <cmath>

namespace qv::plane {

struct Vec {
    double x = 0, y = 0;
    Vec operator+(Vec o) const { return {x + o.x, y + o.y}; }
    Vec operator-(Vec o) const { return {x - o.x, y - o.y}; }
    Vec operator*(double k) const { return {x * k, y * k}; }
};
inline double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
inline double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
inline double length(Vec a) { return std::hypot(a.x, a.y); }
// Below this length two points count as the same point.
inline constexpr double kTiny = 1e-9;

}  // namespace qv::plane
