#pragma once
// The program's own reader of the TIFF files radiographs come in: the first image of a baseline
// TIFF, grey or RGB, 8 or 16 bits a sample, in strips or tiles, uncompressed, PackBits, LZW or
// Deflate (with or without the horizontal predictor). Reading it here keeps out of the process
// the system's TIFF library and the GPL-only JBIG library it brings along.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace qv {

struct TiffImage {
    int width = 0;
    int height = 0;
    int bits = 8;             // per sample in the file: 8 or 16
    bool minIsWhite = false;  // the lowest value is white
    std::vector<quint16> grey;  // row by row from the top-left corner, in the file's range
};

struct DecodedTiff {
    std::optional<TiffImage> image;
    QString error;  // why not, in the clinician's words
};

bool LooksLikeTiff(const QByteArray& head);
// `maxPixels` bounds what a hostile file can make the reader allocate.
DecodedTiff DecodeTiff(const QByteArray& bytes, qint64 maxPixels = 64LL * 1024 * 1024);

}  // namespace qv
