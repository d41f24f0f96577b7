#pragma once
// TabSheet1: the Tweed page. Reads its fields into TweedInputs, writes the results of the
// calculation into its labels and runs the page's workflow (IMPA question, locking, VOLTAR,
// LIMPAR). The guide window and the total space window are reached through TweedPageLinks.

#include "guide/PanelState.h"
#include "records/TweedFile.h"
#include "tweed/TweedAnalysis.h"

#include "guide/DiagnosisGeneration.h"

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
}

namespace qv {

namespace platform {
class PageContext;
}

class DiagnosisPanel;
struct SpaceSums;

// What the page asks of the windows around it; an unset link does nothing.
struct TweedPageLinks {
    // "GUIA DIAGNÓSTICO": the whole opening of the guide (disable the main window and the tray
    // item, the reminder that the diagnosis is only a suggestion, show Form3).
    std::function<void()> openGuide;
    // The guide's LIMPAR (after a full clear of the page, and around the opening of a file).
    std::function<void()> clearGuide;
    // The guide's answers, for saving them.
    std::function<GuideAnswers()> guideAnswers;
    // One answer control of the guide, read and set as a click would (its rule runs).
    std::function<bool(const QString& name)> guideAnswer;
    std::function<void(const QString& name, bool checked)> setGuideAnswer;
    // The guide's DIAGNÓSTICO.
    std::function<void()> generateDiagnosis;
    // Keeps Form3 minimised (true) while an opened file's diagnosis is regenerated, then
    // returns it to its normal state (false).
    std::function<void(bool)> keepGuideMinimised;
    // The button "Análise Total do Espaço": disable the main window and the tray item, show Form4.
    std::function<void()> openSpaceEntry;
    // The total space window's LIMPAR (when a calculation concludes, and after a full clear).
    std::function<void()> clearSpaceEntry;
    // "SAIR": end the program.
    std::function<void()> exitProgram;
};

class TweedPage : public QWidget {
    Q_OBJECT
public:
    enum class State { Editing, ImpaChoice, Concluded, Diagnosed };

    explicit TweedPage(platform::PageContext& context, QWidget* parent = nullptr);

    void setLinks(TweedPageLinks links) { m_links = std::move(links); }

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
    // IMPRIMIR: report1 from what the page shows (page 2 with a suggested diagnosis).
    void timprimirClick();
    void setReportEngine(ReportEngine* engine) { m_reports = engine; }
    // Fills the page from the file and, when it holds a completed guide, the guide's answers;
    // throws IoError before changing anything when the file cannot be read.
    TweedFileRecord LoadTweedFile(const QString& path);
    // The stage chosen by the radio buttons.
    AnalysisStage stage() const;

    // For the guide: its four inputs, the panel it fills, and the end of a generation
    // (tCalcular disabled: the page is Diagnosed).
    // The four values the guide reads: A, M, P and ANB as shown.
    GuideInputs diagnosisReadings() const;
    DiagnosisPanel* panel() const { return m_ds; }
    void concludeDiagnosis();

    State state() const;
    // The fields as the calculation reads them.
    TweedInputs inputs() const;
    // The total space window's SALVAR: its six sums into the space fields.
    void fillSpace(const SpaceSums& sums);

private:
    QLineEdit* addEntry(QWidget* group, const char* name, const QString& caption);
    QLabel* addResult(QWidget* group, const char* name, const QString& description, bool bold);
    void buildPatient(QGridLayout* grid);
    QGroupBox* buildTweedGroup();
    QGroupBox* buildDcGroup();
    QGroupBox* buildSpaceGroup();
    QGroupBox* buildDifficultyGroup();
    void installFilters();

    void calculate();
    void writeResults(const TweedResults& r);
    void conclude(bool answeredYes);
    void enterImpaChoice();
    void LockPage();
    void backToEditing();
    void fullClear();
    void setInputsReadOnly(bool readOnly);
    void setColour(QLabel* label, Rgb colour);
    bool diagnosisShown() const;
    TweedFileRecord fileRecord() const;
    void openAnalysis(const QString& path);

    platform::PageContext& m_context;
    TweedPageLinks m_links;

    // Patient.
    QLineEdit* m_twPaciente;
    QLineEdit* m_Idade;
    QRadioButton* m_GenMasc;
    QRadioButton* m_GenFem;
    QRadioButton* m_inicial;
    QRadioButton* m_inter1;
    QRadioButton* m_inter2;
    QRadioButton* m_final;
    QButtonGroup* m_gender;
    // Group tw.
    QLineEdit* m_twfma;
    QLineEdit* m_twfmia;
    QLineEdit* m_twimpa;
    QLineEdit* m_twploc;
    QLineEdit* m_twsna;
    QLineEdit* m_twsnb;
    QLineEdit* m_twaobo;
    QLineEdit* m_twangz;
    QLineEdit* m_twls;
    QLineEdit* m_twqt;
    QLineEdit* m_twafa;
    QLineEdit* m_twafp;
    QLabel* m_twanbres;
    QLabel* m_twafpafares;
    QLabel* m_hornres;
    // Group dc.
    QLabel* m_dcfmares;
    QLabel* m_dcfmiares;
    QLabel* m_dcimpares;
    QLabel* m_dcdcres;
    QLabel* m_dcopc;
    QRadioButton* m_dcsim;
    QRadioButton* m_dcnao;
    QLineEdit* m_dcopcres;
    // Group esp.
    QLineEdit* m_anaer;
    QLineEdit* m_anaep;
    QLineEdit* m_anmer;
    QLineEdit* m_anmep;
    QLineEdit* m_anmspee;
    QLineEdit* m_anmcorr;
    QLineEdit* m_anper;
    QLineEdit* m_anpep;
    QRadioButton* m_anmcl2;
    QRadioButton* m_anmcl3;
    QButtonGroup* m_molarClass;
    QLabel* m_anadmres;
    QLabel* m_anadcres;
    QLabel* m_anamtmres;
    QLabel* m_anantres;
    QLabel* m_anmdmres;
    QLabel* m_anmedres;
    QLabel* m_anpdmres;
    QLabel* m_anpcresres;
    QLabel* m_anposres;
    QLabel* m_andiscres;
    QPushButton* m_total;
    // Group id.
    QLabel* m_idfmares;
    QLabel* m_idanbres;
    QLabel* m_idangzres;
    QLabel* m_idplocres;
    QLabel* m_idsnbres;
    QLabel* m_idifres;
    QLabel* m_idsub1res;
    QLabel* m_iddmares;
    QLabel* m_iddcres;
    QLabel* m_idmtmres;
    QLabel* m_iddmmres;
    QLabel* m_idspeeres;
    QLabel* m_idcorrres;
    QLabel* m_iddmpres;
    QLabel* m_idsub2res;
    QLabel* m_idtotres;
    QLabel* m_idlabel;
    // Buttons and flags.
    QPushButton* m_tCalcular;
    QPushButton* m_tLimpar;
    QPushButton* m_tsalvar;
    QPushButton* m_tabrir;
    QPushButton* m_timprimir;
    ReportEngine* m_reports = nullptr;
    QPushButton* m_tSair;
    QCheckBox* m_parcial;
    QCheckBox* m_completo;
    DiagnosisPanel* m_ds;
    // The answers the panel's diagnosis was generated from. Opening a file clears the guide
    // after regenerating, so a later save takes them from here.
    std::optional<GuideAnswers> m_diagnosisAnswers;
};

}  // namespace qv
