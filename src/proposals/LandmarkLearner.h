#pragma once
// Landmarks proposed from what this clinic has traced. Every radiograph is scaled to one physical
// size (its calibration makes them comparable), its grey levels evened out, and an ensemble of
// regression trees learns where each landmark lies: first on the whole radiograph at 1 mm a pixel,
// then inside the region the first stage found, at 0.4 mm a pixel. Nothing here reads or writes
// files; the caller loads the radiographs and keeps the model.

#include "analysis/Landmarks.h"
#include "analysis/ProposalAccuracy.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace qv {

// A radiograph's grey values as its file holds them, and the display window that shows them.
struct GreyView {
    int width = 0;
    int height = 0;
    const quint16* pixels = nullptr;  // row by row from the top-left corner
    double windowCentre = 0;
    double windowWidth = 1;
    bool inverted = false;  // the lowest value is white
};

// One 8-bit grey picture at a physical spacing, its levels evened out.
struct ScaledImage {
    int width = 0;
    int height = 0;
    double mmPerPixel = 0;
    std::vector<std::uint8_t> pixels;
};

// A radiograph ready to learn from or to propose on: the picture at both stages' spacings.
struct PreparedRadiograph {
    ScaledImage coarse, fine;
    Calibration calibration;  // of the original pixels
    bool isNull() const { return coarse.pixels.empty(); }
};

inline constexpr double kCoarseSpacingMm = 1.0;
inline constexpr double kFineSpacingMm = 0.4;
// A calibrated radiograph; null when it has no calibration.
PreparedRadiograph PrepareRadiograph(const GreyView& image, const Calibration& calibration);

// A saved tracing to learn from: its points in the original pixels.
struct LearningCase {
    QString name;        // the tracing's file name, shown and kept in the model
    QByteArray digest;   // of the tracing file's bytes: a tracing changed since is learned again
    PreparedRadiograph image;
    LandmarkSet points;
};

// Fewer calibrated tracings with their radiograph than this, and nothing is learned; a landmark
// is learned when at least this many of them have it.
inline constexpr int kMinimumTracings = 10;
// The model learns again on its own once this many tracings are new or changed since it learned.
inline constexpr int kRelearnAfter = 5;

struct LearnedCase {
    QString name;
    QByteArray digest;
    bool operator==(const LearnedCase&) const = default;
};

class ShapeStages;  // the trained regression trees

struct ProposalModel {
    std::vector<Landmark> landmarks;  // those learned, in landmark order
    std::vector<LearnedCase> cases;   // the tracings learned from
    ProposalAccuracy accuracy;        // on held-out tracings; empty when not measured
    QDateTime learnedAt;
    std::shared_ptr<const ShapeStages> stages;
    bool knows(Landmark l) const;
};

struct LearningOptions {
    // Each tracing held out once in this many parts to measure the accuracy; 0 measures nothing.
    int folds = 5;
    int threads = 0;  // 0: as many as the computer has
};

// Progress in steps done of all; returning nothing. Called from the learning threads.
using LearningProgress = std::function<void(int done, int total)>;

struct LearningResult {
    std::optional<ProposalModel> model;
    QString error;  // why nothing was learned ("cancelled" is told by `cancelled`)
    bool cancelled = false;
};

// Learns from the cases (at least kMinimumTracings of them, else the error says how many more are
// needed). `cancel` set from another thread ends the learning within a second or so.
LearningResult Learn(std::span<const LearningCase> cases, const LearningOptions& options,
                     const LearningProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

// The wanted landmarks the model knows, in the radiograph's original pixels.
LandmarkSet Propose(const ProposalModel& model, const PreparedRadiograph& image, std::span<const Landmark> wanted);

// The model file: a header naming the format and its version, the contents and their checksum.
QByteArray EncodeModel(const ProposalModel& model);
struct DecodedModel {
    std::optional<ProposalModel> model;
    QString error;  // why the bytes are no model this program can use
};
DecodedModel DecodeModel(const QByteArray& bytes);

}  // namespace qv
