#pragma once
// The tracing the tracing window shows: the radiograph's file, the calibration, the landmarks
// placed, the point picked to place next, the analyses chosen (over the analyses offered) and the
// clinic's norms, the undo history of the points and whether anything changed since the tracing
// was opened or saved. The window, its canvas and its panels render it and forward the
// clinician's events to it, as the Tweed page does with its model.

#include "analysis/CephMeasures.h"
#include "analysis/CephNorms.h"
#include "analysis/TracingValues.h"

#include <QObject>
#include <QPointF>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace qv {

class TracingModel;

// Where a point came from: the clinician's hand, a proposal not yet confirmed, or a proposal the
// clinician confirmed where it was.
enum class PointOrigin { Placed, Proposed, Accepted };

// The points' undo history: each step points placed, moved, proposed or confirmed, undone to where
// and what they were.
class TracingHistory : public QObject {
    Q_OBJECT
public:
    explicit TracingHistory(TracingModel& model) : m_model(model) {}
    int count() const { return int(m_steps.size()); }
    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < count(); }

public slots:
    void undo();
    void redo();

signals:
    void canUndoChanged(bool can);
    void canRedoChanged(bool can);

private:
    friend class TracingModel;
    struct Change {
        Landmark landmark;
        std::optional<QPointF> before, after;
        PointOrigin was = PointOrigin::Placed, becomes = PointOrigin::Placed;
    };
    using Step = std::vector<Change>;
    void push(Step step);
    void clear();
    void announce(bool couldUndo, bool couldRedo);

    TracingModel& m_model;
    std::vector<Step> m_steps;
    int m_index = 0;  // steps done
};

class TracingModel : public QObject {
    Q_OBJECT
public:
    TracingModel();

    const LandmarkSet& landmarks() const { return m_points; }
    const Calibration& calibration() const { return m_calibration; }
    const QString& calibrationSource() const { return m_calibrationSource; }
    // The image as the tracing file keeps it, and the file it was read from (empty for none).
    const QString& imagePath() const { return m_imagePath; }
    const QString& imageFile() const { return m_imageFile; }
    bool copyDeclined() const { return m_copyDeclined; }
    void setImage(const QString& stored, const QString& file);
    void setCopyDeclined(bool declined) { m_copyDeclined = declined; }

    const AnalysisCatalogue& catalogue() const { return *m_catalogue; }
    const std::shared_ptr<const AnalysisCatalogue>& sharedCatalogue() const { return m_catalogue; }
    // The titles of the analyses traced, in the catalogue's order; never empty.
    const QStringList& analyses() const { return m_analyses; }
    // What they need placed, in placing order.
    const std::vector<Landmark>& placingOrder() const { return m_order; }
    const CephNorms& norms() const { return m_norms; }

    // The point the next click places: the one picked, else the first of the order still missing.
    std::optional<Landmark> awaited() const { return m_picked ? m_picked : m_points.firstMissing(m_order); }
    PointOrigin origin(Landmark l) const;
    // The points placed that are still only proposed, and those confirmed where proposed.
    const LandmarkFlags& proposedPoints() const { return m_proposed; }
    const LandmarkFlags& acceptedPoints() const { return m_accepted; }
    // Whether any point of this tracing came from a proposal.
    bool proposalsUsed() const { return (m_proposed | m_accepted).any(); }
    // Whether the points or the calibration changed since the tracing was started or saved.
    bool modified() const { return m_modified; }
    TracingHistory& history() { return m_history; }

    Measurements measurements() const { return MeasureTracing(m_points, m_calibration); }
    TracingValues values() const { return MakeTracingValues(measurements()); }
    CephValues cephValues() const { return MeasureCephalometrics(*m_catalogue, m_points, m_calibration); }

    // A click: the point placed there (undoable); the pick is used up.
    void place(Landmark l, QPointF at);
    // The end of a drag from `from` (undoable); during it, drag() moves the point unrecorded.
    void move(Landmark l, QPointF from, QPointF to);
    void drag(Landmark l, QPointF at);
    // Sets a point without recording it (undo and redo use it too).
    void setLandmark(Landmark l, std::optional<QPointF> at);
    void setLandmark(Landmark l, std::optional<QPointF> at, PointOrigin origin);
    // Proposed points, in one undoable step: a point the clinician placed or confirmed stays.
    // Returns how many were proposed.
    int propose(const LandmarkSet& found);
    // A proposed point confirmed where it is (undoable), or all of them in one step.
    void confirm(Landmark l);
    void confirmAll();
    void pick(std::optional<Landmark> l);
    // A tracing shown from nothing of the one before: its points, spacing, no history, unchanged.
    void start(const LandmarkSet& points, const Calibration& c, const QString& source,
               const LandmarkFlags& proposed = {}, const LandmarkFlags& accepted = {});
    void setCalibration(const Calibration& c, const QString& source);
    void markSaved();

    // The analyses offered now; false when they are those already used.
    bool useCatalogue(std::shared_ptr<const AnalysisCatalogue> catalogue);
    // Titles no analysis has are skipped; none left keeps the choice before (Tweed-Merrifield first).
    void setAnalyses(const QStringList& titles);
    // Over the analyses offered: a measure the norms lack keeps its definition's norm.
    void setNorms(const CephNorms& norms);

    static QString tweedTitle();

signals:
    // Anything shown changed: points, pick, calibration, norms.
    void changed();
    // The analyses chosen, or those offered, changed.
    void analysesChanged();
    // The analyses offered changed (a clinic's file added or mended).
    void catalogueChanged();

private:
    LandmarkSet m_points;
    LandmarkFlags m_proposed, m_accepted;
    Calibration m_calibration;
    QString m_calibrationSource;
    QString m_imagePath, m_imageFile;
    bool m_copyDeclined = false;
    std::optional<Landmark> m_picked;
    std::shared_ptr<const AnalysisCatalogue> m_catalogue;
    QStringList m_analyses;
    std::vector<Landmark> m_order;
    CephNorms m_norms;
    bool m_modified = false;
    TracingHistory m_history{*this};
};

}  // namespace qv
