#include "shell/Art.h"

#include <QImage>
#include <QResource>
#include <QtEndian>

static void initArtResource() { Q_INIT_RESOURCE(art); }

namespace qv {

namespace {

// Layout written by quorvel_rawart: "QVRW", width, height, QImage::Format (little-endian 32-bit),
// then 4 bytes a pixel, row after row.
QImage rawPicture(const QString& name)
{
    const QResource resource(QStringLiteral(":/art/") + name + QStringLiteral(".raw"));
    const QByteArray data = resource.uncompressedData();
    constexpr qsizetype header = 16;
    if (data.size() < header || !data.startsWith("QVRW"))
        return {};
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const int width = int(qFromLittleEndian<quint32>(bytes + 4));
    const int height = int(qFromLittleEndian<quint32>(bytes + 8));
    const auto format = QImage::Format(qFromLittleEndian<quint32>(bytes + 12));
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) || width <= 0
        || height <= 0 || data.size() != header + qsizetype(width) * height * 4)
        return {};
    const QImage picture(bytes + header, width, height, width * 4, format);
    // Stored uncompressed, the pixels are the program's own read-only data and need no copy.
    return resource.compressionAlgorithm() == QResource::NoCompression ? picture : picture.copy();
}

}  // namespace

void InitArt()
{
    static const bool done = (initArtResource(), true);
    (void)done;
}

QImage ArtPicture(const QString& name)
{
    QImage picture = rawPicture(name);
    return picture.isNull() ? QImage(QStringLiteral(":/art/") + name + QStringLiteral(".png")) : picture;
}

}  // namespace qv
