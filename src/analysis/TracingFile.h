#pragma once
// The tracing file: UTF-8 JSON that other tools can read,
//   {"format": "quorvel-tracing", "version": 1, "image": "<path as chosen>",
//    "mmPerPixel": [sx, sy] | null, "landmarks": {"S": [x, y], ...},
//    "proposed": ["S", ...], "acceptedProposals": ["N", ...]}
// with image pixel coordinates; landmarks not placed are absent. "proposed" lists the points the
// program proposed that the clinician has not confirmed yet, "acceptedProposals" those confirmed
// where they were proposed; both are left out when empty, and an older program ignores them.

#include "analysis/Landmarks.h"

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <QString>

#include <optional>

namespace qv {

struct TracingDocument {
    QString image;
    Calibration calibration;
    LandmarkSet landmarks;
    LandmarkFlags proposed, accepted;  // of the points placed
    bool operator==(const TracingDocument&) const = default;
};

QByteArray EncodeTracing(const TracingDocument& doc);

struct DecodedTracing {
    std::optional<TracingDocument> document;
    QString error;  // why the bytes are not a tracing, when document is empty
};
DecodedTracing DecodeTracing(const QByteArray& bytes);

// Where the points of a tracing may lie over an image of this size: up to one image size beyond
// each edge (a corner of the Tweed triangle may fall off the radiograph, nothing much further).
QRectF PlausibleArea(QSizeF image);
// A tracing whose image is gone opens on a blank canvas of at most this many pixels a side; its
// points must lie within that many pixels of the origin.
inline constexpr int kBlankCanvasLimit = 6000;
QRectF BlankCanvasArea();
// The first point outside the area (or not finite), if any.
std::optional<Landmark> LandmarkOutside(const LandmarkSet& points, const QRectF& area);
// The blank canvas for points that lie within BlankCanvasArea(): holds them with a margin,
// at least 1000 x 800, at most kBlankCanvasLimit a side.
QSize BlankCanvasSize(const LandmarkSet& points);

// The radiograph's path as a tracing stores it: relative to Análises/ when the image lies inside
// that folder (so a restored copy of the folder finds it), otherwise absolute; as given when the
// file is gone.
QString StoredImagePath(const QString& imageFile);
// The file a stored path names: a relative path is looked for in Análises/, then (older files)
// in the working folder and beside the tracing; an absolute path that is gone falls back to
// Análises/ + its file name, where a restore on another computer puts outside radiographs.
QString ResolveImagePath(const QString& stored, const QString& tracingPath);

// "Análises/" + patient + "-" + stage + ".tra", beside the Tweed file of that stage.
QString TracingFileName(const QString& patient, const QString& stage);

}  // namespace qv
