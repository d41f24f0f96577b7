#pragma once
// TabSheet2, the Bolton page: shows a BoltonSheet and the results of its last calculation, and
// runs the page's workflow (CALCULAR, VOLTAR / LIMPAR, SALVAR, ABRIR, IMPRIMIR) as explicit states.

#include "analysis/BoltonCalc.h"
#include "bolton/BoltonPageLayout.h"
#include "records/BoltonSheet.h"

#include <QWidget>

namespace qv {

namespace platform {
class PageContext;
}
class ReportEngine;

class BoltonPage : public QWidget {
    Q_OBJECT
public:
    // Entry: fields open, CALCULAR enabled. Calculated: after CALCULAR, "VOLTAR" goes back.
    // Opened: after an opened file was recalculated; only the molars stay open.
    enum class State { Entry, Calculated, Opened };

    explicit BoltonPage(platform::PageContext& context, QWidget* parent = nullptr);

    // CALCULAR.
    void bCalcularClick();
    // LIMPAR clears everything; VOLTAR returns from a calculation to entry, keeping the entries.
    void blimparClick();
    // SALVAR: writes Análises/<patient>.bol, never over an existing file.
    void bsalvarClick();
    // ABRIR: picks a .bol file, loads it and recalculates.
    void babrirClick();
    // Opens a Bolton file chosen elsewhere, with ABRIR's checks and messages.
    void openFile(const QString& path);
    // The File menu's "&Novo": from any state to an empty page.
    void NewAnalysis();
    // IMPRIMIR: report2 from the sheet and the results of the last calculation.
    void bimprimirClick();
    void setReportEngine(ReportEngine* engine) { m_reports = engine; }

    // Puts the record of the file into the entry fields; throws IoError.
    void LoadBoltonFile(const QString& path);

    // The typed fields, and putting a sheet into them.
    BoltonSheet sheet() const;
    using QWidget::show;
    void show(const BoltonSheet& sheet);

    // What the result labels show: the last calculation, partly when it stopped at the table.
    const BoltonResults& results() const { return m_results; }
    State state() const { return m_state; }
    // CALCULAR has gone through and has not been undone (Calculated or Opened).
    bool calculated() const { return m_state != State::Entry; }
    // The analysis came from a file (the hidden `abrirb`): CALCULAR asks no molar question.
    bool opened() const { return m_opened; }


private:
    void enterState(State state);
    void calculate();
    void goBack();
    void clearAll();
    void showResults(const BoltonResults& results);

    platform::PageContext& m_context;
    BoltonPageControls m_controls;
    ReportEngine* m_reports = nullptr;

    State m_state = State::Entry;
    bool m_opened = false;
    // The molar question was answered Yes: the molars lock with the rest in Calculated.
    bool m_molarsLocked = false;
    BoltonResults m_results;
};

}  // namespace qv
