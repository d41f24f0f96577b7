// The landmark proposals on synthetic cephalograms of 3000 x 2500 pixels (0.1 mm a pixel): how
// long drawing and preparing a radiograph take, how long learning from fifty tracings takes with
// the default options (the accuracy measured over five folds, as the program learns), the model
// file's size, how long preparing one radiograph and proposing on it take (the median of five),
// and the accuracy per landmark: the folds' own and on ten radiographs the model never saw.
// Figures are printed, never judged.

#include "proposals/LandmarkLearner.h"
#include "support/SyntheticCephalogram.h"

#include <QCryptographicHash>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <span>
#include <thread>
#include <vector>

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

PreparedRadiograph Prepare(const test::SyntheticCephalogram& c)
{
    // A PNG's window: the full range of 16 bits.
    return PrepareRadiograph({c.width, c.height, c.pixels.data(), 65535 / 2.0, 65535, false}, c.calibration);
}

void PrintAccuracy(const char* title, const std::vector<LandmarkAccuracy>& rows)
{
    std::printf("\n%s\n%-6s %8s %11s %11s\n", title, "point", "mean mm", "within 2mm", "within 4mm");
    double sum = 0, near2 = 0;
    int count = 0;
    for (const LandmarkAccuracy& a : rows) {
        std::printf("%-6s %8.2f %10.0f%% %10.0f%%\n", Info(a.landmark).code, a.meanErrorMm, 100 * a.within2mm, 100 * a.within4mm);
        sum += a.meanErrorMm * a.tracings;
        near2 += a.within2mm * a.tracings;
        count += a.tracings;
    }
    if (count)
        std::printf("%-6s %8.2f %10.0f%%\n", "all", sum / count, 100 * near2 / count);
}

}  // namespace

int main()
{
    constexpr int kTracings = 50;
    std::vector<LearningCase> cases;
    double drawMs = 0, prepareMs = 0;
    for (std::uint32_t seed = 1; seed <= kTracings; ++seed) {
        const Clock::time_point drawn = Clock::now();
        const test::SyntheticCephalogram c = test::MakeCephalogram(seed);
        drawMs += MsSince(drawn);
        const Clock::time_point prepared = Clock::now();
        PreparedRadiograph image = Prepare(c);
        prepareMs += MsSince(prepared);
        const QString name = QStringLiteral("Sintetico-%1.tra").arg(seed);
        cases.push_back({name, QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256), std::move(image), c.landmarks});
    }
    std::printf("synthetic radiograph %d x %d: drawn in %.0f ms, prepared in %.0f ms (mean of %d)\n",
                int(std::lround(300 / 0.1)), int(std::lround(250 / 0.1)), drawMs / kTracings, prepareMs / kTracings, kTracings);

    const Clock::time_point learning = Clock::now();
    const LearningResult learned = Learn(cases, LearningOptions{});
    const double learnMs = MsSince(learning);
    if (!learned.model) {
        std::printf("nothing learned: %s\n", qPrintable(learned.error));
        return 1;
    }
    const ProposalModel& model = *learned.model;
    std::printf("learning from %d tracings (folds %d, threads: all %u): %.1f s\n", kTracings, LearningOptions{}.folds,
                std::max(1u, std::thread::hardware_concurrency()), learnMs / 1000);
    std::printf("model file: %lld bytes, %zu landmarks\n", static_cast<long long>(EncodeModel(model).size()), model.landmarks.size());

    const std::span<const Landmark> all = test::SyntheticLandmarks();
    const test::SyntheticCephalogram one = test::MakeCephalogram(2001);
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const Clock::time_point start = Clock::now();
        const LandmarkSet proposed = Propose(model, Prepare(one), all);
        times.push_back(MsSince(start));
        if (proposed.count() != int(all.size()))
            std::printf("only %d landmarks proposed\n", proposed.count());
    }
    std::sort(times.begin(), times.end());
    std::printf("prepare and propose on one radiograph: %.0f ms (median of 5; %.0f .. %.0f)\n", times[2], times.front(),
                times.back());

    PrintAccuracy("accuracy over the folds (each tracing held out once):", model.accuracy.landmarks);
    std::vector<LandmarkAccuracy> unseen;
    std::vector<std::vector<double>> errors(all.size());
    for (std::uint32_t seed = 1001; seed <= 1010; ++seed) {
        const test::SyntheticCephalogram c = test::MakeCephalogram(seed);
        const LandmarkSet proposed = Propose(model, Prepare(c), all);
        for (size_t i = 0; i < all.size(); ++i)
            if (proposed.has(all[i])) {
                const QPointF d = proposed.at(all[i]) - c.landmarks.at(all[i]);
                errors[i].push_back(std::hypot(d.x() * c.calibration.sx, d.y() * c.calibration.sy));
            }
    }
    for (size_t i = 0; i < all.size(); ++i) {
        const std::vector<double>& e = errors[i];
        LandmarkAccuracy a{all[i], int(e.size())};
        for (double v : e) {
            a.meanErrorMm += v / double(e.size());
            a.within2mm += v <= 2 ? 1.0 / double(e.size()) : 0;
            a.within4mm += v <= 4 ? 1.0 / double(e.size()) : 0;
        }
        unseen.push_back(a);
    }
    PrintAccuracy("accuracy on 10 radiographs it did not learn from:", unseen);
    return 0;
}
