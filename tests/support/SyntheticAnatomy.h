#pragma once
// The synthetic skull in millimetres, in the head's own frame: x forward along the Frankfort
// plane, y down, the sella at the origin. Outlines with the densities they add (bone, enamel;
// air and cavities subtract), and the landmarks found on those outlines.

#include "analysis/Landmarks.h"
#include "support/SyntheticDrawing.h"

#include <array>
#include <optional>
#include <vector>

namespace qv::test::synth {

struct Layer {
    Polyline outline;
    double density = 0;
    double strokeMm = 0;  // 0: the outline is filled; else a line this wide
    bool closed = true;
};

struct Head {
    std::vector<Layer> layers;
    std::array<std::optional<V>, kLandmarkCount> landmarks;
};

// Proportions drawn from `random`.
Head DrawHead(Random& random);

}  // namespace qv::test::synth
