#pragma once
// One Tweed analysis as the Tweed page shows it: the sheet, the results of the last calculation,
// the suggested-diagnosis panel, the answers it came from, and the workflow state with its flags.
// One table of transitions (state x event -> next state + effects) is the whole workflow; the page
// renders the model and forwards the clinician's events to it. Opening a file runs decode,
// calculation, the guide's rules and the diagnosis here, without any window.

#include "analysis/DiagnosisGeneration.h"
#include "analysis/PanelState.h"
#include "records/TweedModel.h"

#include <QObject>
#include <QString>

#include <optional>
#include <span>

namespace qv {

struct TweedSaveDecision;

class TweedAnalysisModel : public QObject {
    Q_OBJECT
public:
    enum class State { Editing, ImpaChoice, Concluded, Diagnosed };
    enum class Event {
        Calcular,            // tCalcular pressed, whatever its caption
        Refused,             // a calculation stopped by a check or a failed count
        ConcludedOpened,     // a calculation of an opened analysis completed
        AnsweredYes,         // the IMPA question after a calculation
        AnsweredNo,
        QuestionClosed,
        DiagnosisGenerated,  // the guide filled the panel
        Limpar,              // tLimpar pressed, whatever its caption
        Novo,                // the File menu's "&Novo"
    };
    // What a transition does besides changing the state.
    enum Effect : unsigned {
        NoEffect = 0,
        Calculate = 1u << 0,       // the calculation (then one of its outcome events)
        OpenGuide = 1u << 1,       // the guide window
        Lock = 1u << 2,            // LockPage; parcial
        ShowImpaChoice = 1u << 3,  // dc question shown, dcnao checked, dcopcres emptied
        BackToEditing = 1u << 4,   // results, panel and flags emptied, inputs kept, stage Inicial
        FullClear = 1u << 5,       // inputs emptied too, then the space window and the guide cleared
    };
    // A row applies always, or only while the page holds an opened analysis, or only while not.
    enum class When { Always, Opened, NotOpened };
    struct Transition {
        State from;
        Event event;
        When when;
        State to;
        unsigned effects;
    };
    // The whole table; a state and event without a row change nothing.
    static std::span<const Transition> Transitions();
    static const Transition* FindTransition(State from, Event event, bool opened);

    explicit TweedAnalysisModel(QObject* parent = nullptr);

    // ---- what is shown ----
    State state() const { return m_state; }
    bool locked() const { return m_state == State::Concluded || m_state == State::Diagnosed; }
    bool parcial() const { return m_parcial; }    // concluded, saved or opened
    bool completo() const { return m_completo; }  // saved or opened with its generated diagnosis
    bool opened() const { return m_opened; }      // holds an analysis opened from a file
    QString calcularCaption() const;
    bool calcularEnabled() const { return m_state != State::Diagnosed; }
    QString limparCaption() const;
    bool impaChoiceShown() const { return m_impaChoiceShown; }  // dcopc, dcsim, dcnao
    bool ownImpaShown() const { return m_impaChoiceShown && m_sheet.dcnao; }  // dcopcres

    // The typed texts and choices (guideDone and guide are left to sheetToSave).
    const TweedSheet& sheet() const { return m_sheet; }
    const TweedResults& results() const { return m_results; }
    const PanelState& panel() const { return m_panel; }
    // The sheet as saved or printed: the guide's answers are those the panel's diagnosis came
    // from, or, without a diagnosis, those the guide holds now.
    TweedSheet sheetToSave(const GuideAnswers& guideNow) const;
    // The four results the guide's diagnosis reads: A, M, P and ANB as shown.
    GuideInputs diagnosisReadings() const;

    // ---- typing (no signal: the page already shows it) ----
    void setText(QString TweedSheet::*field, const QString& text) { m_sheet.*field = text; }
    void setGender(bool masculino, bool feminino);
    void setStage(AnalysisStage stage) { m_sheet.stage = stage; }
    void setMolarClass(bool classII, bool classIII);
    // dcsim (false) empties dcopcres; dcnao (true) shows it.
    void chooseOwnImpa(bool own);

    // ---- set from elsewhere (emit changed) ----
    // Fields, gender, stage, molar class and IMPA choice; nothing is calculated.
    void setSheet(const TweedSheet& sheet);
    void setPanel(const PanelState& panel);
    // parcial and completo as SALVAR decided, before anything is written.
    void markSaved(const TweedSaveDecision& decision);

    // ---- events ----
    // Applies the row of the table (nothing without one) and emits transitioned.
    void dispatch(Event event);

    struct Outcome {
        enum Kind { Done, Ask, Refused, Failed, AnswerFault } kind = Done;
        QString text;           // the question, warning, failure or answer fault
        bool focusAfa = false;  // the refusal is AFA zero
    };
    // CALCULAR's work: checks, the count, every result, the panel emptied. An opened analysis
    // concludes at once (Done); otherwise the IMPA question is asked (Ask) and its answer is an
    // event. Refused and Failed leave everything as it was.
    Outcome calculate();
    // The guide's diagnosis from the last results and these answers, then DiagnosisGenerated.
    void generateDiagnosis(const GuideAnswers& answers);
    // The panel was filled from these answers (DiagnosisGenerated).
    void concludeDiagnosis(const GuideAnswers& answers);
    // The guide's diagnosis, generated from this model's readings: shown, then concluded.
    void applyDiagnosis(const PanelState& panel, const GuideAnswers& answers);
    // ABRIR of a chosen file: LIMPAR, the flags, the stage of the path, the record, the
    // calculation and, when the file holds a generated diagnosis, the guide's rules and the
    // diagnosis again (counted as a guide use). Failures and refusals stop where they happen.
    Outcome open(const QString& path);

signals:
    // Something shown changed outside a transition.
    void changed();
    void transitioned(TweedAnalysisModel::State from, TweedAnalysisModel::State to, unsigned effects);
    // Opening clears the guide window's answers before it loads the file.
    void guideClearRequested();
    // An opened file's diagnosis is regenerated: the reminder that it is only a suggestion.
    void reminderDue();

private:
    void clearInputs();
    void backToEditing();

    State m_state = State::Editing;
    bool m_parcial = false;
    bool m_completo = false;
    bool m_opened = false;
    bool m_impaChoiceShown = false;
    TweedSheet m_sheet;
    TweedResults m_results;
    PanelState m_panel;
    // The answers the panel's diagnosis came from: the guide is cleared after an opened file's
    // diagnosis is regenerated, so a later save takes them from here.
    std::optional<GuideAnswers> m_diagnosisAnswers;
};

}  // namespace qv
