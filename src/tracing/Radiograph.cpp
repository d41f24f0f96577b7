#include "tracing/Radiograph.h"

#include "platform/Modules.h"
#include "tracing/DicomReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>


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
    // Radiographs are large: allow a 16-bit 6000 x 6000 image and its conversion.
    QImageReader::setAllocationLimit(1024);
    // Only the reader of that format: left to choose, Qt loads every image plugin, the TIFF one and
    // its GPL-only JBIG library among them, even for a PNG.
    QImageReader reader(path, pictureFormat(path));
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
