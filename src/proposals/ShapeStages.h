#pragma once
// The trained regression trees of the two stages, and what trains and runs them; only the
// proposals' own sources see dlib.

#include "proposals/LandmarkLearner.h"

#include <dlib/image_processing/shape_predictor.h>

#include <string>

namespace qv {

// Thrown out of the learning when it is cancelled or another thread failed.
struct LearningStopped {};

// What a learning thread looks at between its steps: whether to stop, and a step done.
struct LearningWatch {
    const std::atomic<bool>* cancel = nullptr;
    const std::atomic<bool>* abort = nullptr;
    std::function<void()> step;
};

// A scaled picture as dlib's trainer reads it; each read checks the watch.
struct WatchedImage {
    const ScaledImage* image = nullptr;
    const LearningWatch* watch = nullptr;
};
long num_rows(const WatchedImage& i);
long num_columns(const WatchedImage& i);
long width_step(const WatchedImage& i);
const void* image_data(const WatchedImage& i);

class ShapeStages {
public:
    dlib::shape_predictor coarse, fine;
};

struct StageSettings {
    unsigned long cascades, trees, depth, oversampling, featurePool;
    double translationJitter;
};
inline constexpr StageSettings kCoarseStage{8, 80, 3, 20, 400, 0.1};
inline constexpr StageSettings kFineStage{10, 80, 3, 10, 400, 0.0};
// The fine stage learns from each radiograph this many times, its region shifted a little each
// time as the coarse stage would find it.
inline constexpr int kFineRegions = 3;

// The coarse stage looks at a square of this many millimetres around the radiograph's centre.
inline constexpr double kCoarseFrameMm = 240;

dlib::rectangle CoarseRegion(const ScaledImage& image);
// The fine stage's square around the points the coarse stage found, in the fine picture's pixels.
dlib::rectangle FineRegion(const dlib::full_object_detection& coarseShape, double coarseToFine);

dlib::shape_predictor TrainStage(const StageSettings& s, const std::vector<WatchedImage>& images,
                                 const std::vector<std::vector<dlib::full_object_detection>>& objects,
                                 const std::string& seed);

// The learned landmarks of a tracing as dlib's parts, in a picture's pixels (absent ones marked).
dlib::full_object_detection ToParts(const LandmarkSet& points, const std::vector<Landmark>& learned,
                                    const Calibration& c, double spacing, const dlib::rectangle& region);
QPointF FromPart(const dlib::point& p, const Calibration& c, double spacing);

QByteArray SerializeStages(const ShapeStages& stages);
// Null when the bytes are not two stages of `parts` landmarks each.
std::shared_ptr<const ShapeStages> DeserializeStages(const QByteArray& bytes, size_t parts);

}  // namespace qv

namespace dlib {
template <> struct image_traits<qv::WatchedImage> {
    typedef unsigned char pixel_type;
};
}  // namespace dlib
