#pragma once
// Learning where the landmarks lie from the tracings saved in Análises/, in the background, and
// the model it gives, kept in the working folder as "Modelo de pontos.dat". Nothing leaves this
// computer: the radiographs are read from their files, the model written beside them.

#include "proposals/LandmarkLearner.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace qv {

class LandmarkLearning : public QObject {
    Q_OBJECT
public:
    explicit LandmarkLearning(QObject* parent = nullptr);
    ~LandmarkLearning() override;  // a learning under way is cancelled and waited for

    static QString modelFile();

    // Reads the model file the first time it is called. Returns why a file there was refused
    // (empty when there is none or it was read); the learning then starts again by itself.
    QString load();
    const std::shared_ptr<const ProposalModel>& model() const { return m_model; }
    bool learning() const { return m_thread != nullptr; }

    // What the saved tracings offer for learning (their files are read, not their radiographs).
    struct Survey {
        int tracings = 0;      // tracing files in Análises/
        int usable = 0;        // calibrated, with their radiograph still there
        int fresh = 0;         // usable and not learned from as they are now
    };
    Survey survey() const;

public slots:
    // Starts learning in the background; false when it is already learning.
    bool learn();
    void cancel();
    // A tracing was saved: once kRelearnAfter usable tracings are new or changed, it learns again.
    void tracingSaved();

signals:
    void progress(int done, int total);
    // The learning ended: `learned`, or why not (cancelled: an empty text).
    void finished(bool learned, const QString& text);
    void modelChanged();

private:
    void done(LearningResult result, int skipped, const QByteArray& bytes);

    std::shared_ptr<const ProposalModel> m_model;
    bool m_loaded = false;
    QThread* m_thread = nullptr;
    std::atomic<bool> m_cancel{false};
};

// A saved tracing as the learning sees it: its file's bytes, the radiograph it names and the
// points the clinician placed or confirmed (those only proposed are left out).
struct SavedTracing {
    QString name;
    QByteArray digest;
    QString imageFile;
    Calibration calibration;  // from the tracing, else from the DICOM file
    LandmarkSet points;
};
// The usable ones; `count` receives how many tracing files there are.
std::vector<SavedTracing> SavedTracings(int* count = nullptr);

}  // namespace qv
