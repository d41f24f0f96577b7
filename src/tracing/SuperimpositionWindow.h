#pragma once
// FormSobreposicao, "Sobreposição": a patient's saved stage tracings (Análises/NAME-STAGE.tra)
// superimposed on a base stage by the registration the clinician picks, each stage in its own
// colour, with every landmark's displacement from the base. Nothing is written unless an export
// is asked for.

#include "tracing/Radiograph.h"
#include "tracing/SuperimpositionView.h"
#include "analysis/TracingFile.h"

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace qv {

namespace platform {
class Dialogs;
}

// One stage's tracing file as found in Análises/.
struct StageFile {
    QString stage;
    QString path;       // Análises/NAME-STAGE.tra
    bool found = false;
    QString error;      // why a file that is there cannot be used
    StageTracing tracing;
    QString imageFile;  // the radiograph the tracing names, resolved
    std::optional<Radiograph> radiograph;  // read when its spacing or its picture was needed
    QImage picture;                        // shown faded, at most 1000 pixels a side
    double pictureScale = 1;               // picture pixels per radiograph pixel
    bool pictureTried = false;
    QString pictureError;                  // why the radiograph is not drawn
    bool usable() const { return found && error.isEmpty(); }
};

// The four stages of a patient; each read once, its radiograph only when needed.
std::array<StageFile, 4> FindStages(const QString& patient);

class SuperimpositionWindow : public QWidget {
    Q_OBJECT
public:
    explicit SuperimpositionWindow(platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // Shown on a patient's stages; a name that cannot be a patient file's is refused with a box.
    void Open(const QString& patient);
    // Reads the patient's stages and superimposes what is found (no window shown).
    void loadPatient(const QString& patient);

    void sbExportarPngClick();
    void sbExportarPdfClick();
    // The page through the program's print windows (setup, preview, printer or PDF).
    void sbImprimirClick();
    // The title and the displacement table as the exports and the print show them.
    SuperimpositionSheet sheet() const;

    const QString& patient() const { return m_patient; }
    const std::array<StageFile, 4>& stageFiles() const { return m_files; }
    const Superimposition& result() const { return m_result; }
    SuperimpositionView* view() const { return m_view; }
    QTableWidget* table() const { return m_table; }
    QLabel* message() const { return m_message; }
    // The window's size on a screen of this available size.
    static QSize PreferredSize(QSize available);

private:
    void build();
    QWidget* buildChoices();
    QWidget* buildFitPoints();
    void fillBases();
    void recompute();
    void fillTable();
    void loadPictures();
    Registration registration() const;
    QString exportTitle() const;
    QString exportPath(const QString& suffix, const QString& description);
    void exported(const QString& path);

    platform::Dialogs& m_dialogs;
    QString m_patient;
    std::array<StageFile, 4> m_files;
    std::vector<int> m_chosen;  // indexes into m_files, in treatment order
    Superimposition m_result;

    std::array<QCheckBox*, 4> m_stageChecks{};
    std::array<QCheckBox*, kLandmarkCount> m_fitChecks{};
    QComboBox* m_base = nullptr;
    QComboBox* m_registration = nullptr;
    QGroupBox* m_fitBox = nullptr;
    QCheckBox* m_images = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_axis = nullptr;
    SuperimpositionView* m_view = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_png = nullptr;
    QPushButton* m_pdf = nullptr;
    QPushButton* m_print = nullptr;
    bool m_filling = false;
};

}  // namespace qv
