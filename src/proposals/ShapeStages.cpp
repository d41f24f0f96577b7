#include "proposals/ShapeStages.h"

#include <dlib/image_processing/shape_predictor_trainer.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace qv {

long num_rows(const WatchedImage& i) { return i.image->height; }
long num_columns(const WatchedImage& i) { return i.image->width; }
long width_step(const WatchedImage& i) { return i.image->width; }
const void* image_data(const WatchedImage& i)
{
    // dlib's trainer reads a picture's pixels once for each sample at each level of the cascade.
    if (const LearningWatch* w = i.watch) {
        if ((w->cancel && w->cancel->load()) || (w->abort && w->abort->load()))
            throw LearningStopped{};
        if (w->step)
            w->step();
    }
    return i.image->pixels.data();
}

dlib::rectangle CoarseRegion(const ScaledImage& image)
{
    const double side = kCoarseFrameMm / image.mmPerPixel;
    const double cx = image.width / 2.0, cy = image.height / 2.0;
    return dlib::rectangle(std::lround(cx - side / 2), std::lround(cy - side / 2), std::lround(cx + side / 2) - 1,
                           std::lround(cy + side / 2) - 1);
}

dlib::rectangle FineRegion(const dlib::full_object_detection& coarseShape, double coarseToFine)
{
    double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
    for (unsigned long k = 0; k < coarseShape.num_parts(); ++k) {
        const dlib::point& p = coarseShape.part(k);
        left = std::min(left, double(p.x()));
        right = std::max(right, double(p.x()));
        top = std::min(top, double(p.y()));
        bottom = std::max(bottom, double(p.y()));
    }
    const double side = std::max({right - left, bottom - top, 10.0}) * 1.2 * coarseToFine;
    const double cx = (left + right) / 2 * coarseToFine, cy = (top + bottom) / 2 * coarseToFine;
    return dlib::rectangle(std::lround(cx - side / 2), std::lround(cy - side / 2), std::lround(cx + side / 2),
                           std::lround(cy + side / 2));
}

dlib::shape_predictor TrainStage(const StageSettings& s, const std::vector<WatchedImage>& images,
                                 const std::vector<std::vector<dlib::full_object_detection>>& objects,
                                 const std::string& seed)
{
    dlib::shape_predictor_trainer trainer;
    trainer.set_cascade_depth(s.cascades);
    trainer.set_num_trees_per_cascade_level(s.trees);
    trainer.set_tree_depth(s.depth);
    trainer.set_oversampling_amount(s.oversampling);
    trainer.set_oversampling_translation_jitter(s.translationJitter);
    trainer.set_feature_pool_size(s.featurePool);
    trainer.set_nu(0.1);
    trainer.set_num_test_splits(20);
    trainer.set_num_threads(1);  // the folds run side by side instead
    trainer.set_random_seed(seed);
    return trainer.train(images, objects);
}

dlib::full_object_detection ToParts(const LandmarkSet& points, const std::vector<Landmark>& learned,
                                    const Calibration& c, double spacing, const dlib::rectangle& region)
{
    std::vector<dlib::point> parts;
    parts.reserve(learned.size());
    for (Landmark l : learned) {
        if (!points.has(l)) {
            parts.push_back(dlib::OBJECT_PART_NOT_PRESENT);
            continue;
        }
        // A pixel's centre lies half a pixel into it; dlib counts pixels from their centres.
        const QPointF p = points.at(l);
        parts.emplace_back(std::lround(p.x() * c.sx / spacing - 0.5), std::lround(p.y() * c.sy / spacing - 0.5));
    }
    return dlib::full_object_detection(region, parts);
}

QPointF FromPart(const dlib::point& p, const Calibration& c, double spacing)
{
    return QPointF((double(p.x()) + 0.5) * spacing / c.sx, (double(p.y()) + 0.5) * spacing / c.sy);
}

QByteArray SerializeStages(const ShapeStages& stages)
{
    std::ostringstream out(std::ios::binary);
    dlib::serialize(stages.coarse, out);
    dlib::serialize(stages.fine, out);
    const std::string bytes = out.str();
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

std::shared_ptr<const ShapeStages> DeserializeStages(const QByteArray& bytes, size_t parts)
{
    auto stages = std::make_shared<ShapeStages>();
    std::istringstream in(std::string(bytes.constData(), size_t(bytes.size())), std::ios::binary);
    try {
        dlib::deserialize(stages->coarse, in);
        dlib::deserialize(stages->fine, in);
    } catch (const dlib::serialization_error&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (in.peek() != std::char_traits<char>::eof() || stages->coarse.num_parts() != parts ||
        stages->fine.num_parts() != parts || stages->coarse.num_features() == 0)
        return nullptr;
    return stages;
}

}  // namespace qv
