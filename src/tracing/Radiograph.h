#pragma once
// A radiograph as the tracing window shows it: one grey channel of up to 16 bits, the display
// window its file suggests, and the pixel spacing a DICOM file carries.

#include "analysis/Landmarks.h"
#include "proposals/LandmarkLearner.h"

#include <QImage>
#include <QString>

#include <optional>
#include <vector>

namespace qv {

struct Radiograph {
    int width = 0;
    int height = 0;
    std::vector<quint16> pixels;  // row by row from the top-left corner
    quint16 maxValue = 0;         // largest value present
    // Display window in pixel values: what the file asks for, else the full range present.
    double windowCentre = 0;
    double windowWidth = 1;
    bool inverted = false;  // MONOCHROME1: the lowest value is white
    Calibration calibration;
    QString spacingSource;  // "PixelSpacing", "ImagerPixelSpacing" or empty

    bool isNull() const { return width <= 0 || height <= 0; }
    quint16 at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

struct LoadedRadiograph {
    std::optional<Radiograph> image;
    QString error;  // why it could not be read, in the clinician's words
};

// DICOM (by its "DICM" mark or the .dcm suffix), else any image Qt's plugins read.
LoadedRadiograph LoadRadiograph(const QString& path);
LoadedRadiograph LoadDicom(const QString& path);
Radiograph RadiographFromImage(const QImage& image);

// The grey values and display window as the landmark proposals read them.
inline GreyView GreyOf(const Radiograph& r)
{
    return {r.width, r.height, r.pixels.data(), r.windowCentre, r.windowWidth, r.inverted};
}

// A blank canvas holding every given point, for a tracing whose image is gone.
Radiograph BlankRadiograph(const LandmarkSet& points);

// How the grey values are shown: the window around centre, and the clinician's inversion.
struct DisplayLevels {
    double centre = 0;
    double width = 1;
    bool invert = false;
};
DisplayLevels DefaultLevels(const Radiograph& r);
// Brightness and contrast in -100 .. 100 moving and narrowing the file's window.
DisplayLevels AdjustedLevels(const Radiograph& r, int brightness, int contrast, bool invert);

// The picture on screen (RGB32, ready to paint), through a look-up table of the levels.
QImage RenderRadiograph(const Radiograph& r, const DisplayLevels& levels);

}  // namespace qv
