#include "support/SyntheticFiles.h"

#include "records/FileIo.h"
#include "records/IoError.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <cstring>

namespace qv::test {

std::optional<SyntheticTracing> WriteSyntheticTracing(const QString& folder, const QString& patient, const QString& stage,
                                                      std::uint32_t seed, const SyntheticOptions& options)
{
    const SyntheticCephalogram ceph = MakeCephalogram(seed, options);
    QImage image(ceph.width, ceph.height, QImage::Format_Grayscale16);
    if (image.isNull())
        return std::nullopt;
    for (int y = 0; y < ceph.height; ++y)
        std::memcpy(image.scanLine(y), ceph.pixels.data() + size_t(y) * size_t(ceph.width), size_t(ceph.width) * sizeof(quint16));

    const QDir dir(folder);
    SyntheticTracing t;
    t.tracingFile = QFileInfo(dir.filePath(TracingFileName(patient, stage))).absoluteFilePath();
    t.imageFile = t.tracingFile.chopped(4) + QStringLiteral(".png");
    if (!QDir().mkpath(QFileInfo(t.tracingFile).path()))
        return std::nullopt;
    // Light compression: a radiograph a second sooner, a few more megabytes.
    if (!image.save(t.imageFile, "PNG", 90))
        return std::nullopt;
    t.document.image = StoredImagePath(t.imageFile);
    t.document.calibration = ceph.calibration;
    t.document.landmarks = ceph.landmarks;
    try {
        ReplaceFileBytes(t.tracingFile, EncodeTracing(t.document));
    } catch (const IoError&) {
        return std::nullopt;
    }
    return t;
}

}  // namespace qv::test
