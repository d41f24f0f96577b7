// What the synthetic cephalograms are drawn with: the portable trigonometry and random numbers,
// the outlines' geometry, and the canvas' fills, strokes and blur.

#include "support/SyntheticDrawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace qv::test::synth {
namespace {

double Sum(Canvas& canvas) { return std::accumulate(canvas.values().begin(), canvas.values().end(), 0.0); }
float At(Canvas& canvas, int x, int y) { return canvas.values()[size_t(y) * size_t(canvas.width()) + size_t(x)]; }

TEST(SyntheticDrawing, SineAndCosineMatchTheLibraryAcrossEveryQuarter)
{
    // The quarter boundaries (pi/4 + k pi/2) are where the reduction changes branch.
    for (double a : {0.0, 0.3, kPi / 4 - 1e-12, kPi / 4, kPi / 4 + 1e-12, kPi / 2, 3 * kPi / 4, kPi, 5 * kPi / 4, 3 * kPi / 2,
                     2 * kPi - 1e-9, -kPi / 4, -kPi / 2, -3 * kPi / 4, -kPi, 5 * kPi / 2, 40.0, -40.0}) {
        EXPECT_NEAR(Sin(a), std::sin(a), 1e-14) << a;
        EXPECT_NEAR(Cos(a), std::cos(a), 1e-14) << a;
    }
    const V turned = Turn({1, 0}, kPi / 2);  // clockwise on the screen: forward becomes down
    EXPECT_NEAR(turned.x, 0, 1e-15);
    EXPECT_NEAR(turned.y, 1, 1e-15);
}

TEST(SyntheticDrawing, RandomNumbersStayInTheirRanges)
{
    Random random(11);
    double low = 1, high = 0, lowest = 0, highest = 0, sum = 0;
    for (int i = 0; i < 20000; ++i) {
        const double u = random.uniform();
        low = std::min(low, u), high = std::max(high, u), sum += u;
        const double n = random.normal(10, 2);
        lowest = std::min(lowest, n - 10), highest = std::max(highest, n - 10);
    }
    EXPECT_GE(low, 0.0);
    EXPECT_LT(high, 1.0);
    EXPECT_NEAR(sum / 20000, 0.5, 0.01);
    // Kept within 2.5 deviations, and reaching past two of them.
    EXPECT_GE(lowest, -5.0);
    EXPECT_LE(highest, 5.0);
    EXPECT_LT(lowest, -4.0);
    EXPECT_GT(highest, 4.0);
}

TEST(SyntheticDrawing, FillCoversPartPixelsAlongRowsAndWholeRowsByTheirCentres)
{
    Canvas canvas(6, 4);
    // x from 1.25 to 3.75; the rows whose centre (y + 0.5) lies in [0.5, 2.5): 0 and 1, not 2.
    canvas.fill({{1.25, 0.5}, {3.75, 0.5}, {3.75, 2.5}, {1.25, 2.5}}, 2.0f);
    for (int y : {0, 1}) {
        EXPECT_FLOAT_EQ(At(canvas, 0, y), 0);
        EXPECT_FLOAT_EQ(At(canvas, 1, y), 1.5f);
        EXPECT_FLOAT_EQ(At(canvas, 2, y), 2);
        EXPECT_FLOAT_EQ(At(canvas, 3, y), 1.5f);
        EXPECT_FLOAT_EQ(At(canvas, 4, y), 0);
    }
    EXPECT_FLOAT_EQ(At(canvas, 2, 2), 0);
    EXPECT_NEAR(Sum(canvas), 2 * 2.5 * 2, 1e-5);
}

TEST(SyntheticDrawing, FillClipsAtTheFrameAndKeepsTheAreaInside)
{
    struct Case {
        Polyline polygon;
        double inside;  // area within the 10 x 8 frame
    };
    const Case cases[] = {
        {{{-5, -5}, {4.5, -5}, {4.5, 3}, {-5, 3}}, 4.5 * 3},     // over the top-left corner
        {{{7, 2}, {15, 2}, {15, 6}, {7, 6}}, 3 * 4},             // past the right edge, up to x = 10
        {{{2, 6}, {5, 6}, {5, 30}, {2, 30}}, 3 * 2},             // past the bottom
        {{{-9, 1}, {-1, 1}, {-1, 5}, {-9, 5}}, 0},               // all left of it
        {{{0, 0}, {10, 0}, {0, 8}}, 10 * 8 / 2.0},               // a triangle filling half of it
    };
    for (const Case& c : cases) {
        Canvas canvas(10, 8);
        canvas.fill(c.polygon, 1.0f);
        EXPECT_NEAR(Sum(canvas), c.inside, 0.05 * c.inside + 1e-6) << c.inside;
    }
}

TEST(SyntheticDrawing, FillIsEvenOddWhereAnOutlineCrossesItself)
{
    // A pentagram: its points are inside, the pentagon in its middle is crossed twice: outside.
    Polyline star;
    for (int k = 0; k < 5; ++k)
        star.push_back(V{50, 50} + 40 * Direction(-kPi / 2 + k * 4 * kPi / 5));
    Canvas canvas(100, 100);
    canvas.fill(star, 1.0f);
    EXPECT_FLOAT_EQ(At(canvas, 50, 50), 0);
    EXPECT_FLOAT_EQ(At(canvas, 50, 20), 1);  // in the upper point
}

TEST(SyntheticDrawing, StrokeCountsWhereItsSegmentsOverlapOnce)
{
    Canvas canvas(40, 40);
    canvas.stroke({{10, 10}, {30, 10}, {30, 30}, {10, 30}}, 4, 1.0f, true);
    for (auto [x, y] : {std::pair{10, 10}, {30, 10}, {30, 30}, {10, 30}, {20, 10}})
        EXPECT_FLOAT_EQ(At(canvas, x, y), 1) << x << "," << y;
    EXPECT_FLOAT_EQ(At(canvas, 20, 20), 0);
    // Across the line (4 pixels wide), about four pixels' worth.
    float across = 0;
    for (int y = 0; y < 20; ++y)
        across += At(canvas, 20, y);
    EXPECT_NEAR(across, 4, 0.5);
}

TEST(SyntheticDrawing, BlurSpreadsAPointAndKeepsAnEvenField)
{
    Canvas point(21, 21);
    point.values()[10 * 21 + 10] = 1;
    point.blur(2);
    // Two box passes each way: the peak keeps 1 / (2r + 1)^2, the sum stays.
    EXPECT_NEAR(At(point, 10, 10), 1.0 / 25, 1e-6);
    EXPECT_NEAR(Sum(point), 1, 1e-5);
    EXPECT_FLOAT_EQ(At(point, 10, 15), 0);  // beyond two radii
    Canvas even(7, 5);
    std::fill(even.values().begin(), even.values().end(), 3.0f);
    even.blur(3);  // radius past the edges: they are repeated
    for (float v : even.values())
        EXPECT_NEAR(v, 3, 1e-5);
}

TEST(SyntheticDrawing, OutlinesKnowTheirSideAreaAndCentre)
{
    const Polyline square{{0, 0}, {2, 0}, {2, 2}, {0, 2}};  // clockwise on the screen
    EXPECT_DOUBLE_EQ(SignedArea(square), 4);
    EXPECT_DOUBLE_EQ(SignedArea({square.rbegin(), square.rend()}), -4);
    const Polyline ell{{0, 0}, {3, 0}, {3, 1}, {1, 1}, {1, 3}, {0, 3}};
    const V c = Centroid(ell);
    EXPECT_NEAR(c.x, 1.1, 1e-12);  // (3 * 1.5 + 2 * 0.5) / 5
    EXPECT_NEAR(c.y, 1.1, 1e-12);
    // Offset to the left of a clockwise square is outwards; corners move along the diagonal.
    const Polyline out = Offset(square, 1, true);
    EXPECT_NEAR(out[0].x, -1, 1e-12);
    EXPECT_NEAR(out[0].y, -1, 1e-12);
    EXPECT_NEAR(out[2].x, 3, 1e-12);
    EXPECT_NEAR(out[2].y, 3, 1e-12);
}

TEST(SyntheticDrawing, ExtremesDepthsAndCrossingsAlongALine)
{
    const Polyline v{{0, 0}, {1, 2}, {2, 4}, {3, 2}, {4, 0}};  // a valley, deepest at index 2
    EXPECT_EQ(Extreme(v, 0, 4, {0, 1}), 2);
    EXPECT_EQ(Extreme(v, 0, 1, {0, 1}), 1);  // only within the range
    EXPECT_EQ(Extreme(v, 4, 0, {1, 0}), 4);  // walked backwards
    EXPECT_EQ(Deepest(v, 0, 4), 2);
    EXPECT_EQ(Deepest(v, 4, 0), 2);
    const Polyline hill{{0, 0}, {1, -1}, {2, -3}, {3, -1}, {4, 0}};  // bulging the other way
    EXPECT_EQ(Deepest(hill, 0, 4), 2);
    V hit;
    int index = -1;
    ASSERT_TRUE(Intersect(v, 0, 4, {0, 3}, {1, 3}, &hit, &index));  // the line y = 3, met first going down
    EXPECT_EQ(index, 1);
    EXPECT_NEAR(hit.x, 1.5, 1e-12);
    ASSERT_TRUE(Intersect(v, 4, 0, {0, 3}, {1, 3}, &hit, &index));  // walked the other way
    EXPECT_NEAR(hit.x, 2.5, 1e-12);
    EXPECT_FALSE(Intersect(v, 0, 4, {0, 5}, {1, 5}, &hit));         // passing below it
    const std::vector<V> cuts = Crossings(Ellipse({0, 0}, 5, 5, 0, 360), {-9, 0.01}, {9, 0.01});
    ASSERT_EQ(cuts.size(), 2u);
    EXPECT_NEAR(std::abs(cuts[0].x), 5, 0.01);
    EXPECT_NEAR(cuts[0].x, -cuts[1].x, 0.01);
}

TEST(SyntheticDrawing, PathsPassThroughTheirPointsAndTurnWhereTheCurveDoes)
{
    Path path({0, 0}, 0.1);
    std::vector<int> at;
    path.through({{5, 5}, {10, 0}, {15, -5}, {20, 0}}, &at);
    ASSERT_EQ(at.size(), 4u);
    const Polyline& line = path.points();
    EXPECT_DOUBLE_EQ(line[size_t(at[1])].x, 10);
    EXPECT_DOUBLE_EQ(line[size_t(at[3])].x, 20);
    EXPECT_EQ(at.back(), path.mark());
    // A sine wave turns one way up to pi, the other way after it; straight ends turn neither.
    Polyline wave;
    for (int i = 0; i <= 126; ++i)
        wave.push_back({i * 0.05, std::sin(i * 0.05)});
    EXPECT_NEAR(wave[size_t(Inflection(wave, 0, 126))].x, kPi, 0.06);
    EXPECT_NEAR(wave[size_t(Inflection(wave, 126, 0))].x, kPi, 0.06);
    EXPECT_EQ(Inflection({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}, 0, 4), 2);
    Path arc({0, 0});
    arc.arc({0, 0}, 3, 2, 0, kPi / 2);  // from (3, 0) to the lowest point (0, 2)
    EXPECT_NEAR(arc.last().x, 0, 1e-12);
    EXPECT_NEAR(arc.last().y, 2, 1e-12);
    const Polyline quarter = Arc({1, 1}, {4, 1}, {1, 4}, 8);  // radius 3, through (1 + 3 / sqrt 2, ...)
    EXPECT_NEAR(quarter[4].x, 1 + 3 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(quarter[4].y, quarter[4].x, 1e-12);
    EXPECT_DOUBLE_EQ(quarter.back().y, 4);
    const V meet = Meet({0, 0}, {2, 1}, {5, 0}, {5, 9});  // y = x / 2 meets x = 5
    EXPECT_DOUBLE_EQ(meet.x, 5);
    EXPECT_DOUBLE_EQ(meet.y, 2.5);
    const Polyline back = Slice(line, 2, 0);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_DOUBLE_EQ(back[2].x, line[0].x);
    EXPECT_DOUBLE_EQ(back[0].y, line[2].y);
}

}  // namespace
}  // namespace qv::test::synth
