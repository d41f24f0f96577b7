#pragma once
// The tracing file: UTF-8 JSON that other tools can read,
//   {"format": "quorvel-tracing", "version": 1, "image": "<path as chosen>",
//    "mmPerPixel": [sx, sy] | null, "landmarks": {"S": [x, y], ...}}
// with image pixel coordinates; landmarks not placed are absent.

#include "tracing/Landmarks.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace qv {

struct TracingDocument {
    QString image;
    Calibration calibration;
    LandmarkSet landmarks;
    bool operator==(const TracingDocument&) const = default;
};

QByteArray EncodeTracing(const TracingDocument& doc);

struct DecodedTracing {
    std::optional<TracingDocument> document;
    QString error;  // why the bytes are not a tracing, when document is empty
};
DecodedTracing DecodeTracing(const QByteArray& bytes);

// "Análises/" + patient + "-" + stage + ".tra", beside the Tweed file of that stage.
QString TracingFileName(const QString& patient, const QString& stage);

}  // namespace qv
