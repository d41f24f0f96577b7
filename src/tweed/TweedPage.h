#pragma once
// TabSheet1: the Tweed page. Shows a TweedSheet and hands one back, keeps the results of its
// last calculation, and runs the page's workflow (IMPA question, locking, VOLTAR, LIMPAR) as an
// explicit state. The guide window and the total space window are reached through
// TweedPageLinks.

#include "guide/DiagnosisGeneration.h"
#include "guide/PanelState.h"
#include "records/TweedFile.h"
#include "tweed/TweedAnalysis.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class ReportEngine;
struct SpaceSums;

namespace platform {
class PageContext;
}

class DiagnosisPanel;

// What the page asks of the windows around it; an unset link does nothing.
struct TweedPageLinks {
    // "GUIA DIAGNÓSTICO": the whole opening of the guide (disable the main window and the tray
    // item, the reminder that the diagnosis is only a suggestion, show Form3).
    std::function<void()> openGuide;
    // The guide's LIMPAR (after a full clear of the page, and around the opening of a file).
    std::function<void()> clearGuide;
    // The guide's answers, for saving them.
    std::function<GuideAnswers()> guideAnswers;
    // Sets the guide's answer controls from stored answers, through the guide's own rules.
    std::function<void(const GuideAnswers&)> restoreGuide;
    // The guide's diagnosis generation (its DIAGNÓSTICO).
    std::function<void()> generateDiagnosis;
    // Keeps Form3 minimised (true) while an opened file's diagnosis is regenerated, then
    // returns it to its normal state (false).
    std::function<void(bool)> keepGuideMinimised;
    // The button "Análise Total do Espaço": disable the main window and the tray item, show Form4.
    std::function<void()> openSpaceEntry;
    // The button "Traçado Cefalométrico": the tracing window.
    std::function<void()> openTracing;
    // The total space window's LIMPAR (when a calculation concludes, and after a full clear).
    std::function<void()> clearSpaceEntry;
};

class TweedPage : public QWidget {
    Q_OBJECT
public:
    enum class State { Editing, ImpaChoice, Concluded, Diagnosed };

    explicit TweedPage(platform::PageContext& context, QWidget* parent = nullptr);

    void setLinks(TweedPageLinks links) { m_links = std::move(links); }

    // What is typed on the page, the guide's answers of its diagnosis included.
    TweedSheet sheet() const;
    // Fills the fields, gender, stage and IMPA choice from a sheet (nothing is calculated).
    void show(const TweedSheet& sheet);
    using QWidget::show;
    // The results shown on the page (empty ones when nothing is calculated).
    const TweedResults& results() const { return m_results; }
    State state() const { return m_state; }

    // "CALCULAR": the calculation; "GUIA DIAGNÓSTICO": the guide.
    void tCalcularClick();
    // "LIMPAR": everything emptied; "VOLTAR": back to editing with the inputs kept.
    void tLimparClick();
    // File menu "&Novo": always ends in the full clear.
    void NewAnalysis();
    void dcsimClick();
    void dcnaoClick();
    // "SALVAR" and "ABRIR": the analysis file of the patient and stage.
    void tsalvarClick();
    void tabrirClick();
    // Opens an analysis file chosen elsewhere, with ABRIR's checks and messages.
    void openFile(const QString& path);
    // IMPRIMIR: report1 from the sheet and the results (page 2 with a suggested diagnosis).
    void timprimirClick();
    void setReportEngine(ReportEngine* engine) { m_reports = engine; }
    // The stage chosen by the radio buttons.
    AnalysisStage stage() const;

    // The six space fields the total space window sums into, as if typed.
    void fillSpace(const SpaceSums& sums);
    QString patientName() const;

    // For the guide: its four inputs (A, M, P and ANB as shown), the panel it fills, and the
    // end of a generation (the page is Diagnosed).
    GuideInputs diagnosisReadings() const;
    DiagnosisPanel* panel() const { return m_ds; }
    void concludeDiagnosis();

    // The fields as the calculation reads them.
    TweedInputs inputs() const { return sheet(); }

private:
    // Layout, one builder per group box.
    QLineEdit* addEntry(QWidget* group, const char* name);
    QLabel* addResult(QWidget* group, const char* name, const QString& description);
    QLabel* captionOf(QWidget* group, const char* name);
    void buildPatient(QGridLayout* grid);
    QGroupBox* buildTweedGroup();
    QGroupBox* buildDcGroup();
    QGroupBox* buildSpaceGroup();
    QGroupBox* buildDifficultyGroup();
    QLabel* buildGradeLabel();
    void buildButtons(class QBoxLayout* row);
    void installFilters();
    QLineEdit* entry(const char* name) const { return m_entries.value(QLatin1String(name)); }
    QLabel* result(const char* name) const { return m_resultLabels.value(QLatin1String(name)); }

    // Workflow.
    void calculate();
    void showResults(const TweedResults& r);
    void enterState(State state);
    void lock();
    void unlock();
    void syncFlags();
    void enterImpaChoice();
    void backToEditing();
    void fullClear();
    void openAnalysis(const QString& path);
    bool diagnosisShown() const;

    platform::PageContext& m_context;
    TweedPageLinks m_links;
    ReportEngine* m_reports = nullptr;

    State m_state = State::Editing;
    bool m_parcial = false;   // concluded, saved or opened
    bool m_completo = false;  // saved or opened with its generated diagnosis
    bool m_opened = false;    // the page holds an analysis opened from a file
    TweedResults m_results;
    // The answers the panel's diagnosis was generated from. Opening a file clears the guide
    // after regenerating, so a later save takes them from here.
    std::optional<GuideAnswers> m_diagnosisAnswers;

    QHash<QString, QLineEdit*> m_entries;     // the typed fields of the field table
    QHash<QString, QLabel*> m_resultLabels;  // the results of the field table

    QLineEdit* m_twPaciente = nullptr;
    QLineEdit* m_Idade = nullptr;
    QRadioButton* m_GenMasc = nullptr;
    QRadioButton* m_GenFem = nullptr;
    QButtonGroup* m_gender = nullptr;
    QRadioButton* m_inicial = nullptr;
    QRadioButton* m_inter1 = nullptr;
    QRadioButton* m_inter2 = nullptr;
    QRadioButton* m_final = nullptr;
    QLabel* m_hornres = nullptr;
    QLabel* m_idlabel = nullptr;
    QLabel* m_idtotres = nullptr;
    QLabel* m_dcimpares = nullptr;
    QLabel* m_dcopc = nullptr;
    QRadioButton* m_dcsim = nullptr;
    QRadioButton* m_dcnao = nullptr;
    QLineEdit* m_dcopcres = nullptr;
    QRadioButton* m_anmcl2 = nullptr;
    QRadioButton* m_anmcl3 = nullptr;
    QButtonGroup* m_molarClass = nullptr;
    QPushButton* m_total = nullptr;
    QPushButton* m_tracado = nullptr;
    QPushButton* m_tCalcular = nullptr;
    QPushButton* m_tLimpar = nullptr;
    QPushButton* m_tsalvar = nullptr;
    QPushButton* m_tabrir = nullptr;
    QPushButton* m_timprimir = nullptr;
    QPushButton* m_tSair = nullptr;
    QCheckBox* m_parcialBox = nullptr;
    QCheckBox* m_completoBox = nullptr;
    DiagnosisPanel* m_ds = nullptr;
};

}  // namespace qv
