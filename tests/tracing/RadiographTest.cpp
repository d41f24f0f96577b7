// Radiographs as the tracing window reads them: DICOM files the test writes with DCMTK
// (spacing, photometric interpretation, bit depths, the file's window) and ordinary pictures.

#include "tracing/Radiograph.h"

#include "support/WorkFolder.h"
#include "tracing/DicomSamples.h"
#include "analysis/TracingFile.h"
#include "tracing/TracingOverlay.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <climits>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class RadiographTest : public WorkFolderTest {
protected:
    Radiograph load(const DicomSample& sample, const QString& name = QStringLiteral("r.dcm"))
    {
        EXPECT_TRUE(WriteDicom(work.file(name), sample));
        LoadedRadiograph r = LoadRadiograph(work.file(name));
        EXPECT_TRUE(r.image.has_value()) << r.error.toStdString();
        return r.image ? *r.image : Radiograph{};
    }
    static int grey(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)); }
};

TEST_F(RadiographTest, SpacingRowFirstThenImagerElseNone)
{
    struct Case {
        const char* pixel;
        const char* imager;
        Calibration expected;
        const char* source;
    };
    const Case cases[] = {
        {"0.2\\0.1", nullptr, {0.1, 0.2}, "PixelSpacing"},
        {nullptr, "0.15\\0.12", {0.12, 0.15}, "ImagerPixelSpacing"},
        {"0.1\\0.1", "0.3\\0.3", {0.1, 0.1}, "PixelSpacing"},
        {"0\\0.1", "0.3\\0.25", {0.25, 0.3}, "ImagerPixelSpacing"},  // a zero spacing is no spacing
        {"0.1", nullptr, {}, ""},                                    // one value is not a pair
        {nullptr, nullptr, {}, ""},
    };
    for (const Case& c : cases) {
        DicomSample s;
        s.pixelSpacing = c.pixel;
        s.imagerSpacing = c.imager;
        const Radiograph r = load(s);
        EXPECT_EQ(r.calibration, c.expected) << (c.pixel ? c.pixel : "-") << " " << (c.imager ? c.imager : "-");
        EXPECT_EQ(r.spacingSource, QString::fromLatin1(c.source));
    }
}

TEST_F(RadiographTest, MonochromeOneShowsLowValuesWhite)
{
    for (const char* photometric : {"MONOCHROME2", "MONOCHROME1"}) {
        DicomSample s;
        s.width = 3;
        s.height = 1;
        s.photometric = photometric;
        s.values = {0, 2000, 4000};
        const Radiograph r = load(s);
        const bool one = QByteArray(photometric) == "MONOCHROME1";
        EXPECT_EQ(r.inverted, one);
        QImage shown = RenderRadiograph(r, DefaultLevels(r));
        EXPECT_EQ(grey(shown, 0, 0), one ? 255 : 0) << photometric;
        EXPECT_EQ(grey(shown, 1, 0), one ? 127 : 128) << photometric;
        EXPECT_EQ(grey(shown, 2, 0), one ? 0 : 255) << photometric;
        // The clinician's inversion turns it back.
        shown = RenderRadiograph(r, AdjustedLevels(r, 0, 0, true));
        EXPECT_EQ(grey(shown, 0, 0), one ? 0 : 255) << photometric;
    }
}

TEST_F(RadiographTest, BitDepthsKeepEveryValue)
{
    struct Case {
        int allocated, stored;
        bool signedPixels;
        std::vector<int> values;
        std::vector<int> expected;  // values as held, lowest at 0
    };
    const Case cases[] = {
        {8, 8, false, {0, 17, 255, 128}, {0, 17, 255, 128}},
        {16, 12, false, {5, 4095, 100, 2048}, {0, 4090, 95, 2043}},
        {16, 16, false, {0, 65535, 300, 1}, {0, 65535, 300, 1}},
        {16, 16, true, {-1000, 1000, 0, -999}, {0, 2000, 1000, 1}},
    };
    for (const Case& c : cases) {
        DicomSample s;
        s.width = 2;
        s.height = 2;
        s.bitsAllocated = c.allocated;
        s.bitsStored = c.stored;
        s.signedPixels = c.signedPixels;
        s.values = c.values;
        const Radiograph r = load(s);
        ASSERT_EQ(r.width, 2);
        ASSERT_EQ(r.height, 2);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(r.at(i % 2, i / 2), c.expected[size_t(i)]) << c.allocated << "/" << c.stored << " " << i;
        const QImage shown = RenderRadiograph(r, DefaultLevels(r));
        EXPECT_EQ(shown.size(), QSize(2, 2));
    }
}

TEST_F(RadiographTest, WindowFromTheFileInRescaledValues)
{
    DicomSample s;
    s.width = 5;
    s.height = 1;
    s.values = {1000, 1900, 2000, 2100, 3000};
    s.windowCentre = "1000";   // in rescaled values: stored 2000
    s.windowWidth = "200";
    s.rescaleIntercept = "-1000";
    const Radiograph r = load(s);
    const QImage shown = RenderRadiograph(r, DefaultLevels(r));
    const int expected[] = {0, 0, 128, 255, 255};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(grey(shown, x, 0), expected[x]) << x;
    // More contrast narrows the window; more brightness lifts the middle.
    EXPECT_EQ(grey(RenderRadiograph(r, AdjustedLevels(r, 0, 50, false)), 1, 0), 0);
    EXPECT_GT(grey(RenderRadiograph(r, AdjustedLevels(r, 50, 0, false)), 2, 0), 128);
}

TEST_F(RadiographTest, DamagedOrMissingFilesSayWhy)
{
    work.write(QStringLiteral("fake.dcm"), "not a dicom file at all");
    LoadedRadiograph r = LoadRadiograph(work.file(QStringLiteral("fake.dcm")));
    EXPECT_FALSE(r.image.has_value());
    EXPECT_TRUE(r.error.contains(QStringLiteral("DICOM"))) << r.error.toStdString();

    r = LoadRadiograph(work.file(QStringLiteral("nada.png")));
    EXPECT_FALSE(r.image.has_value());
    EXPECT_EQ(r.error, QStringLiteral("o arquivo não foi encontrado."));

    work.write(QStringLiteral("junk.png"), "\x89PNG junk");
    r = LoadRadiograph(work.file(QStringLiteral("junk.png")));
    EXPECT_FALSE(r.image.has_value());
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("formato de imagem não reconhecido"))) << r.error.toStdString();
}

TEST_F(RadiographTest, DicomWithoutSuffixIsKnownByItsMark)
{
    DicomSample s;
    s.values = {1, 2, 3};
    s.pixelSpacing = "0.1\\0.1";
    const Radiograph r = load(s, QStringLiteral("IM0001"));
    EXPECT_EQ(r.width, 4);
    EXPECT_TRUE(r.calibration.known());
}

TEST_F(RadiographTest, PicturesOfEveryFormatAreGreyWithoutSpacing)
{
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixel(1, 0, qRgb(255, 255, 255));
    picture.setPixel(2, 1, qRgb(128, 128, 128));
    for (const char* format : {"png", "bmp", "jpg", "tif"}) {
        if (!QImageWriter::supportedImageFormats().contains(format))
            continue;  // this Qt writes no TIFF (Windows); the TIFF reader has its own tests
        const QString name = QStringLiteral("r.") + QLatin1String(format);
        ASSERT_TRUE(picture.save(work.file(name), format)) << format;
        LoadedRadiograph r = LoadRadiograph(work.file(name));
        ASSERT_TRUE(r.image.has_value()) << format << " " << r.error.toStdString();
        EXPECT_EQ(r.image->width, 4);
        EXPECT_FALSE(r.image->calibration.known());
        const QImage shown = RenderRadiograph(*r.image, DefaultLevels(*r.image));
        EXPECT_NEAR(grey(shown, 1, 0), 255, 8) << format;  // JPEG is lossy
        EXPECT_NEAR(grey(shown, 0, 0), 0, 8) << format;
        EXPECT_NEAR(grey(shown, 2, 1), 128, 8) << format;
    }
}

TEST(BlankRadiograph, HoldsEveryPoint)
{
    LandmarkSet p;
    p.set(Landmark::Me, QPointF(2500, 300));
    p.set(Landmark::S, QPointF(10, 1800));
    const Radiograph r = BlankRadiograph(p);
    EXPECT_GT(r.width, 2500);
    EXPECT_GT(r.height, 1800);
    EXPECT_EQ(BlankRadiograph({}).width, 1000);
}

TEST(BlankRadiograph, StopsAtTheCanvasLimit)
{
    LandmarkSet p;
    p.set(Landmark::Me, QPointF(kBlankCanvasLimit, 50));
    const Radiograph r = BlankRadiograph(p);
    EXPECT_EQ(r.width, kBlankCanvasLimit);
    EXPECT_EQ(r.height, 800);
    EXPECT_EQ(r.pixels.size(), size_t(kBlankCanvasLimit) * 800u);
}

TEST(RenderRadiograph, APictureThatCannotBeAllocatedIsNullNotWrittenThrough)
{
    struct Case {
        int width, height;
        size_t pixels;
    };
    const Case cases[] = {
        {INT_MAX / 2, 1, 0},    // wider than any picture, and no pixels
        {400, 300, 0},          // the pixels were never filled in
        {4, 3, 11},             // one pixel short
    };
    for (const Case& c : cases) {
        Radiograph r;
        r.width = c.width;
        r.height = c.height;
        r.pixels.assign(c.pixels, 100);
        r.maxValue = 100;
        EXPECT_TRUE(RenderRadiograph(r, DefaultLevels(r)).isNull()) << c.width << " x " << c.height;
    }
    Radiograph fine;
    fine.width = 4;
    fine.height = 3;
    fine.pixels.assign(12, 100);
    fine.maxValue = 100;
    fine.windowCentre = 50;
    fine.windowWidth = 100;
    const QImage shown = RenderRadiograph(fine, DefaultLevels(fine));
    ASSERT_EQ(shown.size(), QSize(4, 3));
    EXPECT_EQ(qGray(shown.pixel(3, 2)), 255);
}

TEST(TracingOverlay, APointOutOfViewHasNoLabelOnTheEdge)
{
    // One point alone draws no line: whatever shows is its marker or its name.
    struct Case {
        QPointF point;  // in view coordinates (the transform is the identity)
        bool drawn;
    };
    const Case cases[] = {
        {{-40, 100}, false}, {{240, 100}, false}, {{100, -30}, false}, {{100, 260}, false},
        {{-6, -6}, false},   {{100, 100}, true},  {{3, 197}, true},
    };
    const QRectF view(0, 0, 200, 200);
    for (const Case& c : cases) {
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::black);
        LandmarkSet points;
        points.set(Landmark::OclA, c.point);
        {
            QPainter p(&image);
            OverlayStyle style;
            style.bounds = view;
            DrawTracing(p, QTransform(), points, {}, style);
        }
        // White lettering, away from the marker itself.
        int lettering = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) > 200 && QLineF(QPointF(x, y), c.point).length() > 12)
                    ++lettering;
        EXPECT_EQ(lettering > 0, c.drawn) << c.point.x() << ", " << c.point.y() << ": " << lettering;
    }
}

}  // namespace
