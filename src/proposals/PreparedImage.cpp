#include "proposals/LandmarkLearner.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qv {

namespace {

// Which source pixels each target pixel covers, and by how much, along one axis: target pixel j
// spans [j, j + 1) * factor in source pixels.
struct Footprint {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Footprint> Footprints(int sourceSize, int targetSize, double factor)
{
    std::vector<Footprint> out(static_cast<size_t>(targetSize));
    for (int j = 0; j < targetSize; ++j) {
        const double from = j * factor, to = std::min((j + 1) * factor, double(sourceSize));
        Footprint& f = out[size_t(j)];
        f.first = std::clamp(int(std::floor(from)), 0, sourceSize - 1);
        const int last = std::clamp(int(std::ceil(to)) - 1, f.first, sourceSize - 1);
        double total = 0;
        for (int i = f.first; i <= last; ++i) {
            const double w = std::max(0.0, std::min(to, i + 1.0) - std::max(from, double(i)));
            f.weights.push_back(float(w));
            total += w;
        }
        if (total <= 0) {  // past the last source pixel: repeat it
            f.weights.assign(1, 1.0f);
            continue;
        }
        for (float& w : f.weights)
            w = float(w / total);
    }
    return out;
}

// The grey levels spread over the whole range, so radiographs of other exposures look alike.
void Equalise(std::vector<std::uint8_t>& pixels)
{
    std::array<std::size_t, 256> histogram{};
    for (std::uint8_t p : pixels)
        ++histogram[p];
    std::array<std::uint8_t, 256> map{};
    std::size_t below = 0;
    const double n = double(pixels.size());
    for (int v = 0; v < 256; ++v) {
        below += histogram[size_t(v)];
        map[size_t(v)] = std::uint8_t(std::lround(255.0 * double(below) / n));
    }
    for (std::uint8_t& p : pixels)
        p = map[p];
}

ScaledImage Scale(const std::vector<std::uint8_t>& grey, int width, int height, const Calibration& c, double spacing)
{
    ScaledImage out;
    out.mmPerPixel = spacing;
    out.width = std::max(1, int(std::lround(width * c.sx / spacing)));
    out.height = std::max(1, int(std::lround(height * c.sy / spacing)));
    const std::vector<Footprint> across = Footprints(width, out.width, spacing / c.sx);
    const std::vector<Footprint> down = Footprints(height, out.height, spacing / c.sy);
    // Along the rows first, then down the columns.
    std::vector<float> rows(size_t(height) * size_t(out.width));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = grey.data() + size_t(y) * size_t(width);
        float* target = rows.data() + size_t(y) * size_t(out.width);
        for (int x = 0; x < out.width; ++x) {
            const Footprint& f = across[size_t(x)];
            float sum = 0;
            for (size_t k = 0; k < f.weights.size(); ++k)
                sum += f.weights[k] * source[size_t(f.first) + k];
            target[x] = sum;
        }
    }
    out.pixels.resize(size_t(out.width) * size_t(out.height));
    std::vector<float> column(size_t(out.width));
    for (int y = 0; y < out.height; ++y) {
        const Footprint& f = down[size_t(y)];
        std::fill(column.begin(), column.end(), 0.0f);
        for (size_t k = 0; k < f.weights.size(); ++k) {
            const float* source = rows.data() + (size_t(f.first) + k) * size_t(out.width);
            for (int x = 0; x < out.width; ++x)
                column[size_t(x)] += f.weights[k] * source[x];
        }
        std::uint8_t* target = out.pixels.data() + size_t(y) * size_t(out.width);
        for (int x = 0; x < out.width; ++x)
            target[x] = std::uint8_t(std::clamp(std::lround(column[size_t(x)]), 0L, 255L));
    }
    Equalise(out.pixels);
    return out;
}

}  // namespace

PreparedRadiograph PrepareRadiograph(const GreyView& image, const Calibration& calibration)
{
    if (!calibration.known() || image.width <= 0 || image.height <= 0 || !image.pixels)
        return {};
    // The grey values as the file's display window shows them, bone bright.
    const double low = image.windowCentre - image.windowWidth / 2;
    const double width = std::max(image.windowWidth, 1e-9);
    std::array<std::uint8_t, 65536> lut{};
    for (int v = 0; v < 65536; ++v) {
        const double level = std::clamp((v - low) / width, 0.0, 1.0) * 255.0;
        const auto g = std::uint8_t(std::lround(level));
        lut[size_t(v)] = image.inverted ? std::uint8_t(255 - g) : g;
    }
    const size_t count = size_t(image.width) * size_t(image.height);
    std::vector<std::uint8_t> grey(count);
    for (size_t i = 0; i < count; ++i)
        grey[i] = lut[image.pixels[i]];
    PreparedRadiograph out;
    out.calibration = calibration;
    out.coarse = Scale(grey, image.width, image.height, calibration, kCoarseSpacingMm);
    out.fine = Scale(grey, image.width, image.height, calibration, kFineSpacingMm);
    return out;
}

}  // namespace qv
