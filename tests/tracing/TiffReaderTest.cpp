// The program's TIFF reader against Qt's TIFF plugin (used only here, as the reference): every
// compression, predictor and layout tiffcp writes, for grey 8 and 16 bits and RGB; damaged and
// cut files are refused without reading past their end.

#include "records/TiffReader.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace qv;

namespace {

QImage sample(QImage::Format format)
{
    QImage img(97, 61, format);  // odd sizes leave partial strips and tiles
    QRandomGenerator rng(42);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            // Smooth ramps compress; random pixels keep every code path busy.
            const int v = (x * 37 + y * 11) % 256;
            const int grey = (x + y) % 7 == 0 ? int(rng.bounded(256)) : v;
            if (format == QImage::Format_Grayscale16)
                reinterpret_cast<quint16*>(img.scanLine(y))[x] = quint16(grey * 251 + x);
            else if (format == QImage::Format_Grayscale8)
                img.scanLine(y)[x] = uchar(grey);
            else
                img.setPixel(x, y, qRgb(grey, (v * 3) % 256, 255 - v));
        }
    return img;
}

// What the reader should give for the reference image Qt reads back.
std::vector<quint16> expected(const QImage& qt)
{
    std::vector<quint16> out;
    for (int y = 0; y < qt.height(); ++y)
        for (int x = 0; x < qt.width(); ++x) {
            if (qt.format() == QImage::Format_Grayscale16)
                out.push_back(reinterpret_cast<const quint16*>(qt.constScanLine(y))[x]);
            else if (qt.format() == QImage::Format_Grayscale8)
                out.push_back(qt.constScanLine(y)[x]);
            else {
                const QRgb c = qt.pixel(x, y);
                out.push_back(quint16((qRed(c) * 11 + qGreen(c) * 16 + qBlue(c) * 5) / 32));
            }
        }
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(TiffReader, EveryCompressionAndLayoutReadsAsQtReadsIt)
{
    const QString tiffcp = QStandardPaths::findExecutable(QStringLiteral("tiffcp"));
    if (tiffcp.isEmpty())
        GTEST_SKIP() << "tiffcp (Debian's libtiff-tools) is not installed: the variants cannot be written";
    QTemporaryDir dir;
    const QImage::Format formats[] = {QImage::Format_Grayscale8, QImage::Format_Grayscale16, QImage::Format_RGB888};
    const QStringList variants[] = {
        {QStringLiteral("-c"), QStringLiteral("none")},
        {QStringLiteral("-c"), QStringLiteral("lzw")},
        {QStringLiteral("-c"), QStringLiteral("lzw:2")},
        {QStringLiteral("-c"), QStringLiteral("zip")},
        {QStringLiteral("-c"), QStringLiteral("zip:2")},
        {QStringLiteral("-c"), QStringLiteral("packbits")},
        {QStringLiteral("-c"), QStringLiteral("lzw"), QStringLiteral("-r"), QStringLiteral("5")},
        {QStringLiteral("-c"), QStringLiteral("zip:2"), QStringLiteral("-t"), QStringLiteral("-w"), QStringLiteral("32"),
         QStringLiteral("-l"), QStringLiteral("16")},
        {QStringLiteral("-c"), QStringLiteral("none"), QStringLiteral("-B")},  // big-endian
        {QStringLiteral("-c"), QStringLiteral("lzw:2"), QStringLiteral("-B")},
    };
    int n = 0;
    for (QImage::Format format : formats) {
        const QString source = dir.filePath(QStringLiteral("source%1.tif").arg(int(format)));
        QImageWriter w(source, "tiff");
        ASSERT_TRUE(w.write(sample(format))) << w.errorString().toStdString();
        for (const QStringList& args : variants) {
            const QString out = dir.filePath(QStringLiteral("v%1.tif").arg(++n));
            ASSERT_EQ(QProcess::execute(tiffcp, QStringList(args) << source << out), 0) << args.join(u' ').toStdString();
            QImageReader ref(out, "tiff");
            const QImage qt = ref.read();
            ASSERT_FALSE(qt.isNull()) << ref.errorString().toStdString();
            const DecodedTiff d = DecodeTiff(readAll(out));
            ASSERT_TRUE(d.image) << args.join(u' ').toStdString() << ": " << d.error.toStdString();
            EXPECT_EQ(d.image->width, qt.width());
            EXPECT_EQ(d.image->height, qt.height());
            EXPECT_EQ(d.image->bits, format == QImage::Format_Grayscale16 ? 16 : 8);
            EXPECT_EQ(d.image->grey, expected(qt)) << args.join(u' ').toStdString() << " format " << int(format);
        }
    }
}

TEST(TiffReader, DamagedCutOrUnsupportedFilesAreRefusedInWords)
{
    if (!QImageWriter::supportedImageFormats().contains("tiff"))
        GTEST_SKIP() << "this Qt has no TIFF plugin to write the sample (Windows): the program reads TIFF itself";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.tif"));
    QImageWriter w(path, "tiff");
    w.setCompression(1);  // LZW
    ASSERT_TRUE(w.write(sample(QImage::Format_Grayscale8)));
    const QByteArray whole = readAll(path);
    ASSERT_TRUE(DecodeTiff(whole).image);

    // Cut anywhere: refused or read, never a crash or a read past the end (the sanitizers watch).
    for (qsizetype cut = 0; cut < whole.size(); cut += 7)
        (void)DecodeTiff(whole.left(cut));
    EXPECT_FALSE(DecodeTiff(whole.left(8)).image);
    // Flipped bytes anywhere likewise.
    QRandomGenerator rng(1);
    for (int round = 0; round < 500; ++round) {
        QByteArray bad = whole;
        for (int k = 0; k < 4; ++k)
            bad[rng.bounded(int(bad.size()))] = char(rng.bounded(256));
        (void)DecodeTiff(bad);
    }

    const struct {
        QByteArray bytes;
        const char* error;
    } cases[] = {
        {QByteArray("\x89PNG\r\n\x1a\n"), "não é um arquivo TIFF."},
        {QByteArray("II*\0\x08\0\0\0", 8), "o arquivo TIFF está danificado ou cortado."},
        {whole.left(whole.size() / 2), "o arquivo TIFF está danificado ou cortado."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeTiff(c.bytes).error, QString::fromUtf8(c.error));
    // A size beyond what the caller allows is refused before anything is allocated.
    EXPECT_EQ(DecodeTiff(whole, 97 * 60).error, QStringLiteral("a imagem TIFF tem um tamanho inválido (97 x 61)."));
}

// A little-endian grey 8-bit TIFF of one strip: Compression stored with the given type.
QByteArray tinyTiff(int width, int height, quint16 compressionType, quint16 compression, const QByteArray& strip)
{
    QByteArray out("II*\0", 4);
    const auto u16 = [&](quint32 v) { out.append(char(v & 0xff)).append(char(v >> 8 & 0xff)); };
    const auto u32 = [&](quint32 v) { u16(v & 0xffff); u16(v >> 16); };
    const quint32 entries = 7, stripAt = 8 + 2 + entries * 12 + 4;
    u32(8);
    u16(entries);
    const auto entry = [&](quint16 tag, quint16 type, quint32 value) {
        u16(tag);
        u16(type);
        u32(1);
        type == 4 ? u32(value) : (u16(value), u16(0));
    };
    entry(256, 3, quint32(width));
    entry(257, 3, quint32(height));
    entry(258, 3, 8);
    entry(259, compressionType, compression);
    entry(262, 3, 1);
    entry(273, 4, stripAt);
    entry(279, 4, quint32(strip.size()));
    u32(0);
    return out + strip;
}

QByteArray deflated(const QByteArray& raw)
{
    QByteArray z = qCompress(raw);
    return z.mid(4);  // qCompress puts the length before the zlib stream
}

// Found by fuzzing against Qt's reader: files the two read as different pictures are read as
// TIFF 6.0 says or refused in words, never shown otherwise.
TEST(TiffReader, FilesQtWouldShowOtherwiseAreReadAsTheStandardSaysOrRefused)
{
    const QByteArray grey(4 * 2, char(0x55));
    const char* const kDamaged = "o arquivo TIFF está danificado ou cortado.";
    const struct {
        const char* what;
        QByteArray file;
        const char* error;  // null: read, every pixel 0x55
    } cases[] = {
        {"PackBits, each row by itself", tinyTiff(4, 2, 3, 32773, QByteArray("\xfd\x55\xfd\x55", 4)), nullptr},
        {"PackBits, one run over both rows", tinyTiff(4, 2, 3, 32773, QByteArray("\xf9\x55", 2)),
         "a compressão PackBits deste TIFF passa do fim de uma linha, o que a norma TIFF não permite."},
        {"PackBits, a literal run over both rows", tinyTiff(4, 2, 3, 32773, QByteArray("\x05UUUUUU\xfe\x55", 9)),
         "a compressão PackBits deste TIFF passa do fim de uma linha, o que a norma TIFF não permite."},
        {"Deflate, whole", tinyTiff(4, 2, 3, 8, deflated(grey)), nullptr},
        {"Deflate, the strip cut short", tinyTiff(4, 2, 3, 8, deflated(grey).left(deflated(grey).size() - 6)), kDamaged},
        {"Deflate, a stream of one row for two", tinyTiff(4, 2, 3, 8, deflated(grey.left(4))), kDamaged},
        {"no compression, one row for two", tinyTiff(4, 2, 3, 1, grey.left(4)), kDamaged},
        {"Compression as a signed short", tinyTiff(4, 2, 8, 32773, QByteArray("\xfd\x55\xfd\x55", 4)),
         "o campo 259 deste TIFF está gravado num tipo (8) que a norma TIFF não prevê para ele."},
        {"Compression as a long", tinyTiff(4, 2, 4, 1, grey), nullptr},
    };
    for (const auto& c : cases) {
        const DecodedTiff d = DecodeTiff(c.file);
        if (c.error) {
            EXPECT_FALSE(d.image) << c.what;
            EXPECT_EQ(d.error, QString::fromUtf8(c.error)) << c.what;
            continue;
        }
        ASSERT_TRUE(d.image) << c.what << ": " << d.error.toStdString();
        EXPECT_EQ(d.image->grey, std::vector<quint16>(8, 0x55)) << c.what;
    }
}

}  // namespace
