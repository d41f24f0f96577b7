#pragma once
// Lateral cephalograms drawn from a seed, for the tests and benchmarks of the landmark proposals
// (no real radiograph may be kept among the test files). A skull facing right: cranial vault and
// base with the sella turcica, orbit, ear canal, maxilla and palate, the teeth, the mandible, the
// cervical vertebrae, the airway and the soft-tissue profile; brighter where more bone lies.
// The landmarks sit on the features drawn for them. Each seed varies proportions, size (±10 %),
// rotation (±8°), position, contrast, background and noise, and gives the same pixels on every
// platform: the numbers come from mt19937's raw output through arithmetic of our own.

#include "analysis/Landmarks.h"

#include <QtGlobal>

#include <cstdint>
#include <span>
#include <vector>

namespace qv::test {

struct SyntheticOptions {
    double mmPerPixel = 0.1;
    double widthMm = 300;  // the frame; a smaller one may cut the skull but keeps the landmarks
    double heightMm = 250;
};

struct SyntheticCephalogram {
    int width = 0;
    int height = 0;
    std::vector<quint16> pixels;  // row by row from the top-left corner
    Calibration calibration;
    LandmarkSet landmarks;  // image pixels, origin at the top-left corner
};

SyntheticCephalogram MakeCephalogram(std::uint32_t seed, const SyntheticOptions& options = {});

// The landmarks every synthetic cephalogram has, in landmark order.
std::span<const Landmark> SyntheticLandmarks();

}  // namespace qv::test
