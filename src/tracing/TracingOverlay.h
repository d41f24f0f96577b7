#pragma once
// The lines, landmarks and labels drawn over a radiograph, on screen and in the exports.

#include "analysis/Landmarks.h"

#include <QPointF>
#include <QRectF>
#include <QTransform>

#include <optional>
#include <vector>

class QPainter;

namespace qv {

struct OverlayStyle {
    double scale = 1;                   // pen widths and lettering (1 on screen)
    std::optional<Landmark> highlight;  // the point being dragged or awaited
    bool labels = true;
    LandmarkFlags proposed;  // drawn hollow, their names in italics, until the clinician confirms them
    QRectF bounds;  // where the drawing shows (device); lettering is kept inside it
};

// toDevice maps image pixels to the painter's device.
void DrawTracing(QPainter& p, const QTransform& toDevice, const LandmarkSet& points, const Calibration& calibration,
                 const OverlayStyle& style);

// The calibration ruler: its two clicked marks and the segment between them.
void DrawRuler(QPainter& p, const QTransform& toDevice, const std::vector<QPointF>& marks, double scale);

}  // namespace qv
