#pragma once
// TabSheet1: the Tweed page. Renders a TweedAnalysisModel on the controls its layout builds and
// forwards the clinician's events to the model; the boxes the model's outcomes call for are
// shown here. The guide, total space and tracing windows are reached through its signals.

#include "analysis/DiagnosisGeneration.h"
#include "analysis/PanelState.h"
#include "records/TweedFile.h"
#include "analysis/TweedAnalysis.h"
#include "analysis/TracingValues.h"
#include "analysis/TweedAnalysisModel.h"
#include "tweed/TweedPageLayout.h"

#include <QWidget>

namespace qv {

class ReportEngine;
struct SpaceSums;

namespace platform {
class PageContext;
}

class DiagnosisPanel;

class TweedPage : public QWidget {
    Q_OBJECT
public:
    using State = TweedAnalysisModel::State;

    explicit TweedPage(platform::PageContext& context, QWidget* parent = nullptr);

    TweedAnalysisModel& model() { return m_model; }
    const TweedAnalysisModel& model() const { return m_model; }

    // What is typed on the page, the guide's answers of its diagnosis included.
    TweedSheet sheet() const;
    // Fills the fields, gender, stage and IMPA choice from a sheet (nothing is calculated).
    void show(const TweedSheet& sheet) { m_model.setSheet(sheet); }
    using QWidget::show;
    // The results shown on the page (empty ones when nothing is calculated).
    const TweedResults& results() const { return m_model.results(); }
    State state() const { return m_model.state(); }

    // "CALCULAR": the calculation; "GUIA DIAGNÓSTICO": the guide.
    void tCalcularClick() { m_model.dispatch(TweedAnalysisModel::Event::Calcular); }
    // "LIMPAR": everything emptied; "VOLTAR": back to editing with the inputs kept.
    void tLimparClick() { m_model.dispatch(TweedAnalysisModel::Event::Limpar); }
    // File menu "&Novo": the full clear from any state.
    void NewAnalysis() { m_model.dispatch(TweedAnalysisModel::Event::Novo); }
    // "SALVAR" and "ABRIR": the analysis file of the patient and stage.
    void tsalvarClick();
    void tabrirClick();
    // Opens an analysis file chosen elsewhere, with ABRIR's checks and messages.
    void openFile(const QString& path);
    // IMPRIMIR: report1 from the sheet and the results (page 2 with a suggested diagnosis).
    void timprimirClick();
    void setReportEngine(ReportEngine* engine) { m_reports = engine; }
    // The stage chosen by the radio buttons.
    AnalysisStage stage() const { return m_model.sheet().stage; }

    // The six space fields the total space window sums into, as if typed.
    void fillSpace(const SpaceSums& sums);
    QString patientName() const { return m_model.sheet().twPaciente; }

    // The panel the model's diagnosis is shown on.
    DiagnosisPanel* panel() const { return m_c.ds; }

    // Whether a tracing may write its measurements into the sheet: before CALCULAR.
    bool acceptsTracing() const { return state() == State::Editing || state() == State::ImpaChoice; }

public slots:
    // A tracing's measurements into the sheet (APLICAR); a measure it lacks leaves what was typed.
    void applyTracingValues(const qv::TracingValues& values);
    // The answers the guide holds now: saved when no diagnosis was generated from others.
    void setGuideAnswers(const GuideAnswers& answers) { m_guideAnswers = answers; }

signals:
    // "GUIA DIAGNÓSTICO": the guide opens over the page, its boxes captioned with this caption,
    // to generate from these results.
    void guideRequested(const QString& caption, const qv::GuideInputs& readings);
    // The guide's answers are cleared (after a full clear, and around the opening of a file).
    void guideClearRequested();
    // The button "Análise Total do Espaço".
    void spaceEntryRequested();
    // The total space window is cleared (when a calculation concludes, and after a full clear).
    void spaceEntryClearRequested();
    // The button "Traçado Cefalométrico".
    void tracingRequested();

private:
    void connectControls();
    // Shows the model on every control.
    void render();
    void renderLock(bool locked);
    void onTransition(State from, State to, unsigned effects);
    void runCalculation();
    void showOpening(const TweedAnalysisModel::Outcome& outcome);
    void showFault(const TweedAnalysisModel::Outcome& outcome);

    platform::PageContext& m_context;
    GuideAnswers m_guideAnswers;
    ReportEngine* m_reports = nullptr;
    TweedAnalysisModel m_model;
    TweedPageControls m_c;
    PanelState m_shownPanel;
    bool m_rendering = false;  // control changes made by render() are the model's own
};

}  // namespace qv
