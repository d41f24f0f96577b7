// How well the landmark learner finds the landmarks of synthetic cephalograms it has not seen,
// having learned from forty others: per landmark, the mean radial error in millimetres and the
// shares within 2 and 4 mm, printed as a table; bounds loose enough for a noisy run but not for
// a broken pipeline (a landmark lost, pixels and millimetres mixed up, the stages misaligned).

#include "proposals/LandmarkLearner.h"
#include "support/SyntheticCephalogram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <cmath>
#include <cstdio>

namespace qv {
namespace {

// The learner reads radiographs at 1 and 0.4 mm a pixel; drawn at 0.2 mm they are four times
// quicker to make than at 0.1 and lose nothing it sees.
constexpr double kSpacing = 0.2;

struct Sample {
    PreparedRadiograph image;
    LandmarkSet points;
};

Sample Prepared(std::uint32_t seed)
{
    const test::SyntheticCephalogram c = test::MakeCephalogram(seed, {.mmPerPixel = kSpacing});
    // A PNG's window: the full range of 16 bits.
    const GreyView view{c.width, c.height, c.pixels.data(), 65535 / 2.0, 65535, false};
    return {PrepareRadiograph(view, c.calibration), c.landmarks};
}

TEST(ProposalAccuracy, FindsTheLandmarksOfRadiographsItDidNotLearnFrom)
{
    std::vector<LearningCase> cases;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        Sample s = Prepared(seed);
        ASSERT_FALSE(s.image.isNull());
        cases.push_back({QStringLiteral("Sintético-%1.tra").arg(seed), QByteArray::number(seed), std::move(s.image), s.points});
    }
    const LearningResult learned = Learn(cases, LearningOptions{.folds = 0});
    ASSERT_TRUE(learned.model) << learned.error.toStdString();
    const ProposalModel& model = *learned.model;
    const std::span<const Landmark> all = test::SyntheticLandmarks();
    EXPECT_EQ(model.landmarks, std::vector<Landmark>(all.begin(), all.end()));

    std::vector<std::vector<double>> errors(all.size());
    for (std::uint32_t seed = 1001; seed <= 1010; ++seed) {
        const Sample s = Prepared(seed);
        const LandmarkSet proposed = Propose(model, s.image, all);
        for (size_t i = 0; i < all.size(); ++i) {
            ASSERT_TRUE(proposed.has(all[i])) << Info(all[i]).code;
            const QPointF d = proposed.at(all[i]) - s.points.at(all[i]);
            errors[i].push_back(std::hypot(d.x() * kSpacing, d.y() * kSpacing));
        }
    }

    double sum = 0, worst = 0;
    int count = 0, within2 = 0;
    std::printf("%-6s %8s %11s %11s\n", "point", "mean mm", "within 2mm", "within 4mm");
    for (size_t i = 0; i < all.size(); ++i) {
        const std::vector<double>& e = errors[i];
        const double mean = std::accumulate(e.begin(), e.end(), 0.0) / double(e.size());
        const auto near2 = std::count_if(e.begin(), e.end(), [](double v) { return v <= 2; });
        const auto near4 = std::count_if(e.begin(), e.end(), [](double v) { return v <= 4; });
        std::printf("%-6s %8.2f %10.0f%% %10.0f%%\n", Info(all[i]).code, mean, 100.0 * double(near2) / double(e.size()),
                    100.0 * double(near4) / double(e.size()));
        sum += std::accumulate(e.begin(), e.end(), 0.0);
        count += int(e.size());
        within2 += int(near2);
        worst = std::max(worst, mean);
    }
    const double mean = sum / count, share2 = double(within2) / count;
    std::printf("%-6s %8.2f %10.0f%%   (worst point %.2f mm)\n", "all", mean, 100 * share2, worst);
    // Measured: 1.09 mm overall, 89 % within 2 mm, the worst landmark (R1) 2.69 mm on average.
    EXPECT_LT(mean, 2.2);
    EXPECT_GT(share2, 0.65);
    EXPECT_LT(worst, 5.0);
}

}  // namespace
}  // namespace qv
