#include "support/SyntheticCephalogram.h"

#include "support/SyntheticAnatomy.h"
#include "support/SyntheticDrawing.h"

#include <algorithm>
#include <cmath>

namespace qv::test {

namespace {

using namespace synth;

// The landmarks the drawing places: all of them.
constexpr auto kAll = [] {
    std::array<Landmark, kLandmarkCount> all{};
    for (int i = 0; i < kLandmarkCount; ++i)
        all[size_t(i)] = Landmark(i);
    return all;
}();

struct Look {
    double background, rampX, rampY, gain, knee, noise, blurMm;
};

Look DrawLook(Random& random)
{
    Look k;
    k.background = random.uniform(0.02, 0.14);
    k.rampX = random.uniform(-0.05, 0.05);
    k.rampY = random.uniform(-0.05, 0.05);
    k.gain = random.uniform(0.75, 1.1);
    k.knee = random.uniform(0.3, 0.9);
    k.noise = random.uniform(0.004, 0.018);
    k.blurMm = random.uniform(0.12, 0.25);
    return k;
}

}  // namespace

std::span<const Landmark> SyntheticLandmarks() { return kAll; }

SyntheticCephalogram MakeCephalogram(std::uint32_t seed, const SyntheticOptions& options)
{
    Random random(seed);
    const Head head = DrawHead(random);
    const Look look = DrawLook(random);

    // Size, turn and place the head so that every landmark lies well inside the frame.
    const double scale = random.uniform(0.9, 1.1);
    const double turn = Radians(random.uniform(-8, 8));
    const double spacing = options.mmPerPixel;
    const int width = std::max(1, int(std::lround(options.widthMm / spacing)));
    const int height = std::max(1, int(std::lround(options.heightMm / spacing)));
    const double frameW = width * spacing, frameH = height * spacing;
    V low{1e9, 1e9}, high{-1e9, -1e9};
    for (const auto& p : head.landmarks)
        if (p) {
            const V q = scale * Turn(*p, turn);
            low = {std::min(low.x, q.x), std::min(low.y, q.y)};
            high = {std::max(high.x, q.x), std::max(high.y, q.y)};
        }
    auto place = [&](double lowest, double highest, double frame, double share) {
        const double margin = std::min(12.0, frame / 20);
        const double from = margin - lowest, to = frame - margin - highest;
        const double centre = (from + to) / 2, half = std::max(0.0, (to - from) / 2) * share;
        return random.uniform(centre - half, centre + half);
    };
    const V origin{place(low.x, high.x, frameW, 0.7), place(low.y, high.y, frameH, 0.5)};
    auto toPixels = [&](V p) { return (1 / spacing) * (origin + scale * Turn(p, turn)); };

    Canvas canvas(width, height);
    const double pixelsPerMm = scale / spacing;
    for (const Layer& layer : head.layers) {
        Polyline px(layer.outline.size());
        std::transform(layer.outline.begin(), layer.outline.end(), px.begin(), toPixels);
        if (layer.strokeMm > 0)
            canvas.stroke(px, layer.strokeMm * pixelsPerMm, float(layer.density), layer.closed);
        else
            canvas.fill(px, float(layer.density));
    }
    canvas.blur(int(std::lround(look.blurMm / spacing / 2)));

    SyntheticCephalogram image;
    image.width = width;
    image.height = height;
    image.calibration = Calibration{spacing, spacing};
    image.pixels.resize(size_t(width) * size_t(height));
    const std::vector<float>& density = canvas.values();
    for (int y = 0; y < height; ++y) {
        const double ramp = look.background + look.rampY * (double(y) / height - 0.5);
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            const double d = std::max(0.0, double(density[i]));
            const std::uint32_t bits = random.bits();  // four bytes summed: about normal
            const double noise = (double((bits & 0xff) + ((bits >> 8) & 0xff) + ((bits >> 16) & 0xff) + (bits >> 24)) - 510) / 147.8;
            const double v = ramp + look.rampX * (double(x) / width - 0.5) + look.gain * d / (1 + look.knee * d)
                             + look.noise * noise;
            image.pixels[i] = quint16(std::lround(std::clamp(v, 0.0, 1.0) * 65535));
        }
    }
    for (int i = 0; i < kLandmarkCount; ++i)
        if (const auto& p = head.landmarks[size_t(i)]) {
            const V q = toPixels(*p);
            image.landmarks.set(LandmarkAt(i), QPointF(q.x, q.y));
        }
    return image;
}

}  // namespace qv::test
