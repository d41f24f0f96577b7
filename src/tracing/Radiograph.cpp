#include "tracing/Radiograph.h"

#include "platform/Modules.h"
#include "tracing/DicomReader.h"
#include "records/TiffReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <new>

namespace qv {

namespace {

bool looksLikeDicom(const QString& path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("dcm"), Qt::CaseInsensitive) == 0)
        return true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(132);
    return head.size() == 132 && head.mid(128, 4) == "DICM";
}

// The format a picture's first bytes announce, else the one its name gives.
QByteArray pictureFormat(const QString& path)
{
    QFile f(path);
    const QByteArray head = f.open(QIODevice::ReadOnly) ? f.read(8) : QByteArray();
    const std::pair<QByteArrayView, const char*> marks[] = {
        {QByteArrayView("\x89PNG\r\n\x1a\n", 8), "png"}, {QByteArrayView("\xff\xd8\xff", 3), "jpeg"},
        {QByteArrayView("II*\0", 4), "tiff"},            {QByteArrayView("MM\0*", 4), "tiff"},
        {QByteArrayView("BM", 2), "bmp"},                 {QByteArrayView("GIF8", 4), "gif"}};
    for (const auto& [mark, format] : marks)
        if (head.startsWith(mark))
            return format;
    return QFileInfo(path).suffix().toLower().toLatin1();
}

bool isTiffName(const QByteArray& format) { return format == "tif" || format == "tiff"; }

// TIFF through the program's own reader: a 16-bit radiograph is shown across the values it
// holds, an 8-bit one as an ordinary picture.
LoadedRadiograph loadTiff(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("o arquivo não pôde ser lido (%1).").arg(f.errorString())};
    DecodedTiff d = DecodeTiff(f.readAll());
    if (!d.image)
        return {std::nullopt, d.error};
    const TiffImage& t = *d.image;
    Radiograph r;
    r.width = t.width;
    r.height = t.height;
    r.pixels = std::move(d.image->grey);
    if (t.bits == 8)
        for (quint16& v : r.pixels)
            v = quint16(v * 257);
    const auto [low, high] = std::minmax_element(r.pixels.begin(), r.pixels.end());
    r.maxValue = *high;
    r.inverted = t.minIsWhite;
    if (t.bits == 16) {
        r.windowCentre = (double(*low) + *high) / 2;
        r.windowWidth = std::max(1.0, double(*high) - *low + 1);
    } else {
        r.windowCentre = 65535 / 2.0;
        r.windowWidth = 65535;
    }
    return {std::move(r), {}};
}

}  // namespace

LoadedRadiograph LoadDicom(const QString& path)
{
    QString why;
    if (const DicomReader* reader = platform::ModuleOf<DicomReader>(QStringLiteral("quorvel-dicom"), &why))
        return reader->load(path);
    return {std::nullopt, QStringLiteral("o leitor de DICOM deste programa não pôde ser aberto (%1).").arg(why)};
}

LoadedRadiograph LoadRadiograph(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {std::nullopt, QStringLiteral("o arquivo não foi encontrado.")};
    if (looksLikeDicom(path))
        return LoadDicom(path);
    const QByteArray format = pictureFormat(path);
    // Never Qt's TIFF plugin: its TIFF library brings the GPL-only JBIG library into the process.
    if (isTiffName(format)) {
        try {
            return loadTiff(path);
        } catch (const std::bad_alloc&) {
            return {std::nullopt, QStringLiteral("não há memória para abrir esta imagem.")};
        }
    }
    // Radiographs are large: allow a 16-bit 6000 x 6000 image and its conversion.
    QImageReader::setAllocationLimit(1024);
    // Only the reader of that format: left to choose, Qt loads every image plugin, the TIFF one
    // among them, even for a PNG.
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return {std::nullopt, QStringLiteral("formato de imagem não reconhecido (%1).").arg(reader.errorString())};
    Radiograph r = RadiographFromImage(image);
    if (r.isNull())
        return {std::nullopt, QStringLiteral("não há memória para abrir uma imagem de %1 x %2 pixels.").arg(image.width()).arg(image.height())};
    return {std::move(r), {}};
}

}  // namespace qv
