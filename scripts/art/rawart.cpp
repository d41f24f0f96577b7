// Converts the pictures the program shows first (the splash and the window icon) into raw pixels,
// compiled in beside the PNGs, so the first window is painted without decoding a PNG:
//   quorvel_rawart <output folder> <picture.png>...    writes <output folder>/<picture>.raw
// Layout: "QVRW", then width, height and QImage::Format as little-endian 32-bit integers, then
// the rows top to bottom, 4 bytes a pixel. An opaque picture is stored as RGB32, any other as
// premultiplied ARGB32 (what a pixmap holds either way).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

#include <cstdio>

namespace {

bool opaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) != 255)
                return false;
    }
    return true;
}

QByteArray raw(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QImage::Format format = opaque(image) ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    image = image.convertToFormat(format);
    QByteArray out("QVRW");
    for (quint32 v : {quint32(image.width()), quint32(image.height()), quint32(format)}) {
        char le[4];
        qToLittleEndian(v, le);
        out.append(le, 4);
    }
    for (int y = 0; y < image.height(); ++y)
        out.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: quorvel_rawart <output folder> <picture.png>...\n");
        return 64;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "quorvel_rawart: cannot create %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const QString source = QString::fromLocal8Bit(argv[i]);
        const QImage image(source);
        QFile target(out.filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".raw")));
        if (image.isNull() || !target.open(QIODevice::WriteOnly) || target.write(raw(image)) < 0 || !target.flush()) {
            std::fprintf(stderr, "quorvel_rawart: cannot convert %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
