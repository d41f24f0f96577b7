#include "proposals/LandmarkLearner.h"

#include "proposals/ShapeStages.h"

#include <dlib/rand.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <mutex>
#include <thread>

namespace qv {

bool ProposalModel::knows(Landmark l) const { return std::find(landmarks.begin(), landmarks.end(), l) != landmarks.end(); }

namespace {

using Shapes = std::vector<std::vector<dlib::full_object_detection>>;

// How many times the trainer reads pictures while it learns from `n` tracings: once a sample and
// cascade level (the progress shown).
long StepsFor(size_t n)
{
    return long(n) * long(kCoarseStage.oversampling * kCoarseStage.cascades +
                          kFineRegions * kFineStage.oversampling * kFineStage.cascades);
}

std::shared_ptr<const ShapeStages> TrainBoth(std::span<const LearningCase> cases, const std::vector<size_t>& chosen,
                                             const std::vector<Landmark>& learned, const LearningWatch& watch,
                                             const std::string& seed)
{
    auto stages = std::make_shared<ShapeStages>();
    std::vector<WatchedImage> coarse, fine;
    Shapes coarseShapes, fineShapes;
    for (size_t i : chosen) {
        const LearningCase& c = cases[i];
        coarse.push_back({&c.image.coarse, &watch});
        coarseShapes.push_back({ToParts(c.points, learned, c.image.calibration, kCoarseSpacingMm,
                                        CoarseRegion(c.image.coarse))});
    }
    stages->coarse = TrainStage(kCoarseStage, coarse, coarseShapes, seed + "-grosso");

    // The fine stage learns inside the regions the coarse one finds, each shifted and scaled a
    // little more, as on a radiograph it has not seen.
    dlib::rand random(seed + "-regioes");
    const double ratio = kCoarseSpacingMm / kFineSpacingMm;
    for (size_t k = 0; k < chosen.size(); ++k) {
        const LearningCase& c = cases[chosen[k]];
        const dlib::full_object_detection found = stages->coarse(WatchedImage{&c.image.coarse, nullptr},
                                                                 CoarseRegion(c.image.coarse));
        const dlib::rectangle region = FineRegion(found, ratio);
        std::vector<dlib::full_object_detection> objects;
        for (int r = 0; r < kFineRegions; ++r) {
            const double side = double(region.width());
            const double scale = r == 0 ? 1.0 : std::exp(0.04 * random.get_random_gaussian());
            const double dx = r == 0 ? 0.0 : 0.03 * side * random.get_random_gaussian();
            const double dy = r == 0 ? 0.0 : 0.03 * side * random.get_random_gaussian();
            const dlib::dpoint centre = dlib::dcenter(region) + dlib::dpoint(dx, dy);
            const double half = side * scale / 2;
            const dlib::rectangle shifted(std::lround(centre.x() - half), std::lround(centre.y() - half),
                                          std::lround(centre.x() + half), std::lround(centre.y() + half));
            objects.push_back(ToParts(c.points, learned, c.image.calibration, kFineSpacingMm, shifted));
        }
        fine.push_back({&c.image.fine, &watch});
        fineShapes.push_back(std::move(objects));
    }
    stages->fine = TrainStage(kFineStage, fine, fineShapes, seed + "-fino");
    return stages;
}

// Where the two stages put the learned landmarks on a radiograph, in its original pixels (every
// learned landmark, in the model's order).
std::vector<QPointF> Run(const ShapeStages& stages, const PreparedRadiograph& image)
{
    const dlib::full_object_detection coarse =
        stages.coarse(WatchedImage{&image.coarse, nullptr}, CoarseRegion(image.coarse));
    const dlib::rectangle region = FineRegion(coarse, kCoarseSpacingMm / kFineSpacingMm);
    const dlib::full_object_detection fine = stages.fine(WatchedImage{&image.fine, nullptr}, region);
    std::vector<QPointF> out;
    for (unsigned long k = 0; k < fine.num_parts(); ++k)
        out.push_back(FromPart(fine.part(k), image.calibration, kFineSpacingMm));
    return out;
}

struct Job {
    std::vector<size_t> train, heldOut;
    std::shared_ptr<const ShapeStages> stages;
    std::vector<std::vector<QPointF>> found;  // for each held-out tracing
    std::exception_ptr failure;
};

}  // namespace

LearningResult Learn(std::span<const LearningCase> cases, const LearningOptions& options,
                     const LearningProgress& progress, const std::atomic<bool>* cancel)
{
    LearningResult result;
    std::vector<size_t> usable;
    for (size_t i = 0; i < cases.size(); ++i)
        if (!cases[i].image.isNull())
            usable.push_back(i);
    if (int(usable.size()) < kMinimumTracings) {
        result.error = QStringLiteral("São precisos pelo menos %1 traçados calibrados com a radiografia; há %2.")
                           .arg(kMinimumTracings)
                           .arg(usable.size());
        return result;
    }
    std::vector<Landmark> learned;
    for (int i = 0; i < kLandmarkCount; ++i) {
        const Landmark l = LandmarkAt(i);
        const auto having = std::count_if(usable.begin(), usable.end(), [&](size_t k) { return cases[k].points.has(l); });
        if (having >= kMinimumTracings)
            learned.push_back(l);
    }
    if (learned.empty()) {
        result.error = QStringLiteral("Nenhum ponto foi marcado em %1 traçados ou mais.").arg(kMinimumTracings);
        return result;
    }

    // Each tracing is held out once, in one of `folds` parts; the last job learns from them all.
    const int folds = options.folds > 0 ? std::min(options.folds, int(usable.size())) : 0;
    std::vector<Job> jobs(size_t(folds) + 1);
    for (size_t k = 0; k < usable.size(); ++k) {
        for (int f = 0; f < folds; ++f)
            (int(k % size_t(folds)) == f ? jobs[size_t(f)].heldOut : jobs[size_t(f)].train).push_back(usable[k]);
        jobs.back().train.push_back(usable[k]);
    }

    long total = 0;
    for (const Job& j : jobs)
        total += StepsFor(j.train.size());
    std::atomic<long> done{0};
    std::atomic<bool> abort{false};
    std::mutex reporting;
    const long stride = std::max(1L, total / 400);
    LearningWatch watch{cancel, &abort, [&] {
                            const long now = ++done;
                            if (progress && now % stride == 0 && now <= total) {
                                std::lock_guard lock(reporting);
                                progress(int(now / stride), int(total / stride));
                            }
                        }};

    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t j; (j = next++) < jobs.size();) {
            Job& job = jobs[j];
            try {
                job.stages = TrainBoth(cases, job.train, learned, watch, "quorvel-" + std::to_string(j));
                for (size_t k : job.heldOut)
                    job.found.push_back(Run(*job.stages, cases[k].image));
            } catch (...) {
                job.failure = std::current_exception();
                abort = true;
            }
        }
    };
    const int threads = std::clamp(options.threads > 0 ? options.threads : int(std::thread::hardware_concurrency()), 1,
                                   int(jobs.size()));
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool)
        t.join();

    if (cancel && cancel->load()) {
        result.cancelled = true;
        return result;
    }
    for (const Job& job : jobs) {
        if (!job.failure)
            continue;
        try {
            std::rethrow_exception(job.failure);
        } catch (const LearningStopped&) {
            continue;  // stopped because another job failed
        } catch (const std::bad_alloc&) {
            result.error = QStringLiteral("A memória do computador não bastou para aprender com tantos traçados.");
        } catch (const std::exception& e) {
            result.error = QStringLiteral("O aprendizado falhou: %1").arg(QString::fromLocal8Bit(e.what()).trimmed());
        }
        return result;
    }

    ProposalModel model;
    model.landmarks = learned;
    model.stages = jobs.back().stages;
    model.learnedAt = QDateTime::currentDateTimeUtc();
    for (size_t k : usable)
        model.cases.push_back({cases[k].name, cases[k].digest});
    model.accuracy.tracings = int(usable.size());
    model.accuracy.folds = folds;
    if (folds > 0) {
        for (size_t p = 0; p < learned.size(); ++p) {
            LandmarkAccuracy a;
            a.landmark = learned[p];
            double sum = 0;
            int within2 = 0, within4 = 0;
            for (int f = 0; f < folds; ++f) {
                const Job& job = jobs[size_t(f)];
                for (size_t h = 0; h < job.heldOut.size(); ++h) {
                    const LearningCase& c = cases[job.heldOut[h]];
                    if (!c.points.has(a.landmark))
                        continue;
                    const QPointF d = job.found[h][p] - c.points.at(a.landmark);
                    const double mm = std::hypot(d.x() * c.image.calibration.sx, d.y() * c.image.calibration.sy);
                    sum += mm;
                    within2 += mm <= 2.0;
                    within4 += mm <= 4.0;
                    ++a.tracings;
                }
            }
            if (a.tracings > 0) {
                a.meanErrorMm = sum / a.tracings;
                a.within2mm = double(within2) / a.tracings;
                a.within4mm = double(within4) / a.tracings;
            }
            model.accuracy.landmarks.push_back(a);
        }
    }
    result.model = std::move(model);
    return result;
}

LandmarkSet Propose(const ProposalModel& model, const PreparedRadiograph& image, std::span<const Landmark> wanted)
{
    LandmarkSet out;
    if (!model.stages || image.isNull())
        return out;
    const std::vector<QPointF> found = Run(*model.stages, image);
    for (size_t p = 0; p < model.landmarks.size() && p < found.size(); ++p)
        if (std::find(wanted.begin(), wanted.end(), model.landmarks[p]) != wanted.end())
            out.set(model.landmarks[p], found[p]);
    return out;
}

}  // namespace qv
