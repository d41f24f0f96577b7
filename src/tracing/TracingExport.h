#pragma once
// The traced radiograph to PNG (at the image's own resolution) and to a one-page PDF with the
// measurements beside it. Both files are written whole or not at all; failures throw IoError.

#include "analysis/Landmarks.h"

#include <QImage>
#include <QString>

#include <utility>
#include <vector>

namespace qv {

// Points still only proposed are drawn as on screen: hollow, their names in italics.
QImage RenderTracedImage(const QImage& picture, const LandmarkSet& points, const Calibration& calibration,
                         const LandmarkFlags& proposed = {});

void ExportTracingPng(const QString& path, const QImage& picture, const LandmarkSet& points,
                      const Calibration& calibration, const LandmarkFlags& proposed = {});

struct PdfSheet {
    QString title;                                  // patient and stage
    QString calibration;                            // how millimetres were obtained
    std::vector<std::pair<QString, QString>> rows;  // caption, value
};
void ExportTracingPdf(const QString& path, const QImage& picture, const LandmarkSet& points,
                      const Calibration& calibration, const PdfSheet& sheet, const LandmarkFlags& proposed = {});

}  // namespace qv
