#pragma once
// Landmarks of a hand-made face for the geometry tests: points in millimetres, the face looking
// right (anterior = +x, y down), stored as pixels of a given spacing; a mirrored face looks left.

#include "analysis/Landmarks.h"

#include <QPointF>

#include <initializer_list>
#include <numbers>

namespace qv::test {

inline double deg(double radians) { return radians * 180.0 / std::numbers::pi; }

struct Pt {
    Landmark l;
    double x, y;  // millimetres
};

// `base` first (the points every case of a test shares), then the case's own.
inline LandmarkSet PlaceFace(std::initializer_list<Pt> base, std::initializer_list<Pt> pts, double sx, double sy,
                             bool mirror)
{
    LandmarkSet set;
    const auto put = [&](Pt p) { set.set(p.l, QPointF((mirror ? 1000 - p.x : p.x) / sx, p.y / sy)); };
    for (const Pt& p : base)
        put(p);
    for (const Pt& p : pts)
        put(p);
    return set;
}

}  // namespace qv::test
