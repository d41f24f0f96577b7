#pragma once
// FormTracado, "Traçado Cefalométrico": the clinician opens the lateral radiograph, places the
// twenty landmarks, sees the Tweed triangle and the other lines drawn on the patient, and sends
// the twelve measurements to the Tweed page. Created once and only shown and hidden; while it
// shows, the main window and the tray item "&Ocultar" are disabled.

#include "analysis/CephNorms.h"
#include "analysis/ProposalAccuracy.h"
#include "analysis/TracingModel.h"
#include "printing/ReportParams.h"
#include "tracing/LandmarkLearning.h"
#include "tracing/Radiograph.h"
#include "analysis/TracingFile.h"
#include "tracing/TracingPanels.h"
#include "analysis/TracingValues.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSlider;

namespace qv {

namespace platform {
class Dialogs;
}
class TracingCanvas;

// The Tweed page as the window works with it; the main window stays disabled while the window
// shows, so it is taken when the window opens.
struct TracingTweedState {
    bool acceptsInput = true;  // the Tweed page is before CALCULAR
    QString patient;           // twPaciente, for the file names
    QString stage;             // "INICIAL", "INTER1", "INTER2" or "FINAL"; files take INICIAL without one
};

class TracingWindow : public QWidget {
    Q_OBJECT
public:
    explicit TracingWindow(platform::Dialogs& dialogs, QWidget* parent = nullptr);
    ~TracingWindow() override;

    void setTweedState(const TracingTweedState& state) { m_tweed = state; }
    const TracingTweedState& tweedState() const { return m_tweed; }

    // Shown from the Tweed page's button and the menu "Módulos".
    void Open();

    // Handlers of the buttons.
    void tImagemClick();
    void tAbrirClick();
    void tSalvarClick();
    void tAplicarClick();
    void tExportarPngClick();
    void tExportarPdfClick();
    void tImprimirClick();
    void tCsvClick();
    void tReguaClick();
    // Landmark proposals: every point the chosen analyses need, placed by what the clinic's saved
    // tracings taught; each stays "proposto" until the clinician confirms it.
    void tProporClick();
    void tConfirmarTodosClick();
    void tAprenderClick();
    void tPrecisaoClick();
    LandmarkLearning& learning() { return m_learning; }
    void tCalibrarClick();
    void tFecharClick();

    // Opens a radiograph as a new tracing; shows why when it cannot. No question is asked.
    bool openImage(const QString& path);
    // Puts a point as a click would (undoable).
    void placeLandmark(Landmark l, QPointF imagePos);
    // Picks the point the next click places.
    void pickLandmark(Landmark l);
    // Sets a point without recording it for undo (the undo commands use it).
    void setLandmark(Landmark l, std::optional<QPointF> pos);

    // The titles of the analyses traced, in the catalogue's order; remembered on this computer.
    // Never empty. Titles no analysis has are skipped.
    const QStringList& analyses() const { return m_model.analyses(); }
    void setAnalyses(const QStringList& titles) { m_model.setAnalyses(titles); }
    // The analyses offered: the shipped ones and the working folder's own.
    const AnalysisCatalogue& catalogue() const { return m_model.catalogue(); }
    // The points the chosen analyses need, in placing order.
    const std::vector<Landmark>& placingOrder() const { return m_model.placingOrder(); }
    const CephNorms& norms() const { return m_model.norms(); }
    // The clinic's norms, from whoever keeps them; the table is measured against them at once.
    void setNorms(const CephNorms& norms) { m_model.setNorms(norms); }
    CephValues cephValues() const { return m_model.cephValues(); }

    // What the window shows: the tracing's model.
    const TracingModel& model() const { return m_model; }
    const LandmarkSet& landmarks() const { return m_model.landmarks(); }
    const Calibration& calibration() const { return m_model.calibration(); }
    std::optional<Landmark> awaited() const { return m_model.awaited(); }
    Measurements measurements() const { return m_model.measurements(); }
    TracingValues values() const { return m_model.values(); }
    TracingDocument document() const
    {
        return {m_model.imagePath(), m_model.calibration(), m_model.landmarks(), m_model.proposedPoints(),
                m_model.acceptedPoints()};
    }
    // How close the landmark proposals have been on the clinic's own tracings (none before the
    // program has learned); the report prints it when this tracing used proposals.
    const std::optional<ProposalAccuracy>& proposalAccuracy() const { return m_proposalAccuracy; }
    const Radiograph& radiograph() const { return m_radiograph; }
    TracingCanvas* canvas() const { return m_canvas; }
    TracingHistory& undoStack() { return m_model.history(); }
    void setCalibration(const Calibration& c, const QString& source) { m_model.setCalibration(c, source); }

signals:
    // Before the window shows: the norms are wanted from here on.
    void opening();
    // "Sobreposição...": the stages of the Tweed page's patient superimposed.
    void superimpositionRequested(const QString& patient);
    // Form2 is disabled while the window shows, and enabled again when it is left.
    void mainWindowEnabledRequested(bool enabled);
    // APLICAR: the twelve texts into twfma .. twafp (see TracingFields()), each as a field holds
    // it once typed and left. An empty text was not measured: that field keeps what it holds.
    void measurementsApplied(const qv::TracingValues& values);
    // IMPRIMIR: report6 with these parameters and print range.
    void printRequested(const qv::ReportParamList& params, int lastPage);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    QWidget* buildProposalButtons();
    QWidget* buildProposalRow();
    void showProposals();
    void learningProgress(int done, int total);
    void learningFinished(bool learned, const QString& text);
    void tellModelProblem();
    QWidget* buildButtons();
    QWidget* buildViewBar();
    QWidget* buildLevelsBar();
    QWidget* buildAnalysesButton();
    // Lists the analyses offered in the menu, the program's and the clinic's under their headings.
    void listAnalyses();
    // Ticks the chosen ones and shows their points and tables.
    void showAnalyses();
    void chooseAnalysis(const QString& title, bool on);
    void leave();
    void refresh();
    void renderPicture();
    void useRadiograph(Radiograph r);
    // Makes this the tracing shown, from nothing of the one before. `stored` is the image path as
    // the tracing file keeps it, `file` the file read (empty when none was).
    void startTracing(Radiograph r, const QString& stored, const QString& file, const LandmarkSet& points,
                      const Calibration& c, const QString& source, const LandmarkFlags& proposed = {},
                      const LandmarkFlags& accepted = {});
    void openTracing(const QString& path);
    // A copy of the radiograph in Análises/ (its path); throws IoError.
    QString copyRadiograph();
    // Where the clinician wants an export, proposing the patient's NAME-STAGE; empty when cancelled.
    QString exportPath(const QString& suffix, const QString& description);
    void exported(const QString& path);
    // The patient's file name with this suffix, or empty after telling why it cannot be had.
    QString patientFile(const QString& suffix);
    void notice(int kind, const QString& text);
    bool confirm(const QString& text);

    platform::Dialogs& m_dialogs;
    TracingTweedState m_tweed;
    TracingPanels m_panels;
    TracingCanvas* m_canvas = nullptr;
    QSlider* m_brightness = nullptr;
    QSlider* m_contrast = nullptr;
    QCheckBox* m_invert = nullptr;
    QPushButton* m_undoButton = nullptr;
    QPushButton* m_redoButton = nullptr;
    QMenu* m_analysesMenu = nullptr;
    QTimer m_levelsTimer;

    TracingModel m_model;
    Radiograph m_radiograph;
    const AnalysisCatalogue* m_toldRefusals = nullptr;  // the catalogue whose refused files were named
    bool m_rulerMode = false;
    bool m_sized = false;
    std::vector<QPointF> m_rulerMarks;

    LandmarkLearning m_learning;
    std::optional<ProposalAccuracy> m_proposalAccuracy;
    bool m_learningAsked = false;  // the clinician asked for it: its outcome is told in a box
    QPushButton* m_confirmAll = nullptr;
    QWidget* m_proposalRow = nullptr;
    QLabel* m_proposalText = nullptr;
    QProgressBar* m_learningBar = nullptr;
    QPushButton* m_cancelLearning = nullptr;
    QWidget* m_accuracyWindow = nullptr;
};

}  // namespace qv
