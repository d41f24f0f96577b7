// The synthetic cephalograms: the same pixels from a seed on every platform, every landmark in
// the frame and on its feature, the geometry the same at every pixel spacing, and the working
// folder's files written as the tracing window writes them.

#include "support/SyntheticCephalogram.h"
#include "support/SyntheticFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace qv::test {
namespace {

using L = Landmark;

// FNV-1a over the pixels and the landmarks (to 1/1024 of a pixel).
std::uint64_t Hash(const SyntheticCephalogram& c)
{
    std::uint64_t h = 14695981039346656037ull;
    auto add = [&h](std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            h ^= (v >> (8 * i)) & 0xff;
            h *= 1099511628211ull;
        }
    };
    add(std::uint64_t(c.width), 4);
    add(std::uint64_t(c.height), 4);
    for (quint16 p : c.pixels)
        add(p, 2);
    for (L l : SyntheticLandmarks()) {
        add(std::uint64_t(std::llround(c.landmarks.at(l).x() * 1024)), 8);
        add(std::uint64_t(std::llround(c.landmarks.at(l).y() * 1024)), 8);
    }
    return h;
}

TEST(SyntheticCephalogram, TheSameSeedDrawsTheSamePixels)
{
    const SyntheticCephalogram a = MakeCephalogram(7), b = MakeCephalogram(7);
    EXPECT_EQ(a.width, 3000);
    EXPECT_EQ(a.height, 2500);
    EXPECT_EQ(a.calibration, (Calibration{0.1, 0.1}));
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.landmarks, b.landmarks);
    const SyntheticCephalogram other = MakeCephalogram(8);
    EXPECT_NE(a.pixels, other.pixels);
    EXPECT_NE(a.landmarks.at(L::S), other.landmarks.at(L::S));
}

// Recorded once: a change to the drawing, or a platform whose numbers differ, changes them. The
// drawing uses mt19937's raw output and arithmetic of its own, never the standard library's
// distributions or its sine, so Linux and the Windows build under Wine agree.
TEST(SyntheticCephalogram, DrawsTheRecordedPicturesOnEveryPlatform)
{
    const std::pair<std::uint32_t, std::uint64_t> recorded[] = {
        {1, 0x03260cac008c82e7ull},
        {2, 0xadbcde21a16b0d30ull},
        {1001, 0xf699a44f13495027ull},
        {4000000000u, 0xcf1bcd27e31515d7ull},
    };
    for (const auto& [seed, hash] : recorded) {
        const std::uint64_t drawn = Hash(MakeCephalogram(seed, {.mmPerPixel = 0.5}));
        EXPECT_EQ(drawn, hash) << "seed " << seed << ": 0x" << std::hex << drawn;
    }
}

TEST(SyntheticCephalogram, TheGeometryIsTheSameAtEverySpacing)
{
    const SyntheticCephalogram fine = MakeCephalogram(21), coarse = MakeCephalogram(21, {.mmPerPixel = 0.25}),
                               coarsest = MakeCephalogram(21, {.mmPerPixel = 1});
    EXPECT_EQ(coarse.width, 1200);
    EXPECT_EQ(coarsest.height, 250);
    for (L l : SyntheticLandmarks()) {
        const QPointF mm = fine.landmarks.at(l) * 0.1;
        EXPECT_NEAR((coarse.landmarks.at(l) * 0.25 - mm).manhattanLength(), 0, 1e-9) << Info(l).code;
        EXPECT_NEAR((coarsest.landmarks.at(l) - mm).manhattanLength(), 0, 1e-9) << Info(l).code;
    }
}

TEST(SyntheticCephalogram, EveryLandmarkLiesInsideTheFrame)
{
    struct Frame {
        double width, height;
    };
    for (const Frame frame : {Frame{300, 250}, Frame{200, 180}}) {
        for (std::uint32_t seed = 1; seed <= 150; ++seed) {
            const SyntheticCephalogram c = MakeCephalogram(seed, {.mmPerPixel = 1, .widthMm = frame.width, .heightMm = frame.height});
            ASSERT_EQ(c.landmarks.count(), kLandmarkCount);
            for (L l : SyntheticLandmarks()) {
                const QPointF p = c.landmarks.at(l);
                EXPECT_TRUE(p.x() >= 5 && p.y() >= 5 && p.x() <= c.width - 5 && p.y() <= c.height - 5)
                    << "seed " << seed << " " << Info(l).code << " at " << p.x() << ", " << p.y();
            }
        }
    }
}

// The mean grey of the 3 x 3 pixels around a point so many millimetres from a landmark.
double Grey(const SyntheticCephalogram& c, L l, QPointF offsetMm)
{
    const QPointF p = c.landmarks.at(l) + offsetMm / c.calibration.sx;
    double sum = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            sum += c.pixels[size_t(int(p.y()) + dy) * size_t(c.width) + size_t(int(p.x()) + dx)];
    return sum / 9;
}

TEST(SyntheticCephalogram, LandmarksSitOnTheirFeatures)
{
    struct Edge {
        L landmark;
        QPointF brighter, darker;  // millimetres from the landmark, x forward and y down
    };
    const Edge edges[] = {
        {L::S, {0, 7}, {0, 0}},          // the fossa above the sphenoid's body
        {L::Po, {0, -1.2}, {0, 1.5}},    // the ear canal below its highest point
        {L::Or, {0, 0}, {0, -2.5}},      // the orbit's rim above its inside
        {L::Me, {0, -1.5}, {0, 1.5}},    // bone above the soft tissue under the chin
        {L::Pog, {-1.5, 0}, {1.5, 0}},   // bone behind, soft tissue ahead
        {L::Is, {-1, 0}, {1.2, 0}},      // enamel behind, lip ahead
        {L::Prn, {-1.5, 0}, {1.5, 0}},   // the nose, the air
        {L::Ls, {-1.5, 0}, {1.5, 0}},
        {L::Li, {-1.5, 0}, {1.5, 0}},
        {L::PogSoft, {-1.5, 0}, {1.5, 0}},
        {L::NSoft, {-1.5, 0}, {1.5, 0}},
    };
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        const SyntheticCephalogram c = MakeCephalogram(seed, {.mmPerPixel = 0.2});
        for (const Edge& e : edges)
            EXPECT_GT(Grey(c, e.landmark, e.brighter), Grey(c, e.landmark, e.darker) + 1500)
                << "seed " << seed << " " << Info(e.landmark).code;
    }
}

TEST(SyntheticCephalogram, WritesARadiographAndItsTracingIntoTheWorkingFolder)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    const std::optional<SyntheticTracing> t =
        WriteSyntheticTracing(work.path(), QStringLiteral("Ana Lúcia"), QStringLiteral("Final"), 5, {.mmPerPixel = 1});
    QTemporaryDir elsewhere;
    const std::optional<SyntheticTracing> outside =
        WriteSyntheticTracing(elsewhere.path(), QStringLiteral("Ana"), QStringLiteral("Inicial"), 5, {.mmPerPixel = 1});
    QDir::setCurrent(previous);
    ASSERT_TRUE(t && outside);

    EXPECT_EQ(t->tracingFile, QDir(work.path()).absoluteFilePath(QStringLiteral("Análises/Ana Lúcia-Final.tra")));
    EXPECT_EQ(t->document.image, QStringLiteral("Ana Lúcia-Final.png"));  // relative to Análises/
    EXPECT_EQ(outside->document.image, outside->imageFile);               // outside it: absolute
    QFile file(t->tracingFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const DecodedTracing decoded = DecodeTracing(file.readAll());
    ASSERT_TRUE(decoded.document) << decoded.error.toStdString();
    EXPECT_EQ(*decoded.document, t->document);

    const SyntheticCephalogram c = MakeCephalogram(5, {.mmPerPixel = 1});
    EXPECT_EQ(decoded.document->landmarks, c.landmarks);
    EXPECT_EQ(decoded.document->calibration, (Calibration{1, 1}));
    const QImage image(t->imageFile);
    ASSERT_EQ(image.format(), QImage::Format_Grayscale16);
    ASSERT_EQ(image.size(), QSize(c.width, c.height));
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            ASSERT_EQ(reinterpret_cast<const quint16*>(image.constScanLine(y))[x], c.pixels[size_t(y) * size_t(c.width) + size_t(x)])
                << x << ", " << y;
}

}  // namespace
}  // namespace qv::test
