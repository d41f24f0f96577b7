// The radiograph's pixels: from a picture, a blank canvas, and what the screen shows of them.
// Apart from the file readers (and their modules) so the fuzz targets can link it alone.

#include "tracing/Radiograph.h"
#include "analysis/TracingFile.h"

#include <algorithm>
#include <cmath>

namespace qv {

Radiograph RadiographFromImage(const QImage& image)
{
    const QImage grey = image.format() == QImage::Format_Grayscale16 ? image
                                                                       : image.convertToFormat(QImage::Format_Grayscale16);
    Radiograph r;
    if (grey.isNull())  // the conversion could not be allocated
        return r;
    r.width = grey.width();
    r.height = grey.height();
    r.pixels.resize(size_t(r.width) * size_t(r.height));
    quint16 top = 0;
    for (int y = 0; y < r.height; ++y) {
        const auto* line = reinterpret_cast<const quint16*>(grey.constScanLine(y));
        quint16* out = r.pixels.data() + size_t(y) * size_t(r.width);
        std::copy(line, line + r.width, out);
        top = std::max(top, *std::max_element(line, line + r.width));
    }
    r.maxValue = top;
    // Ordinary pictures are shown as they are.
    r.windowCentre = 65535 / 2.0;
    r.windowWidth = 65535;
    return r;
}

Radiograph BlankRadiograph(const LandmarkSet& points)
{
    const QSize size = BlankCanvasSize(points);
    Radiograph r;
    r.width = size.width();
    r.height = size.height();
    r.pixels.assign(size_t(r.width) * size_t(r.height), 12000);
    r.maxValue = 12000;
    r.windowCentre = 65535 / 2.0;
    r.windowWidth = 65535;
    return r;
}

DisplayLevels DefaultLevels(const Radiograph& r) { return {r.windowCentre, r.windowWidth, false}; }

DisplayLevels AdjustedLevels(const Radiograph& r, int brightness, int contrast, bool invert)
{
    DisplayLevels l = DefaultLevels(r);
    // Brighter moves the window down by up to half its width; more contrast halves it every 50 steps.
    l.centre -= brightness / 100.0 * l.width / 2;
    l.width = std::max(1.0, l.width * std::pow(2.0, -contrast / 50.0));
    l.invert = invert;
    return l;
}

QImage RenderRadiograph(const Radiograph& r, const DisplayLevels& levels)
{
    if (r.isNull() || r.pixels.size() < size_t(r.width) * size_t(r.height))
        return QImage();
    QImage out(r.width, r.height, QImage::Format_RGB32);
    // Nothing is drawn into a picture that could not be allocated: the caller gets a null one.
    if (out.isNull())
        return out;
    // One entry per value present: a linear ramp across the window, clipped at both ends.
    std::vector<QRgb> lut(size_t(r.maxValue) + 1);
    const double low = levels.centre - levels.width / 2;
    const bool flip = r.inverted != levels.invert;
    for (size_t v = 0; v < lut.size(); ++v) {
        const double t = std::clamp((double(v) - low) / levels.width, 0.0, 1.0);
        int g = int(std::lround(t * 255));
        if (flip)
            g = 255 - g;
        lut[v] = qRgb(g, g, g);
    }
    for (int y = 0; y < r.height; ++y) {
        const quint16* in = r.pixels.data() + size_t(y) * size_t(r.width);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < r.width; ++x)
            line[x] = lut[in[x]];
    }
    return out;
}

}  // namespace qv
