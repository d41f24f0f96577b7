#pragma once
// "Evolução": one patient's Tweed stages side by side (table and chart), printed as report5.

#include "analysis/Evolution.h"
#include "printing/ReportParams.h"

#include <QWidget>


class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace qv {

namespace platform {
class Dialogs;
}

class EvolutionChart;

class EvolutionView : public QWidget {
    Q_OBJECT
public:
    explicit EvolutionView(QWidget* parent = nullptr);

    // Reads the patient's stage files (names in Análises/, empty where a stage has none).
    void showPatient(const QString& folder, const QString& patient, const std::array<QString, 4>& stageFiles);
    void setEvolution(const Evolution& evolution);
    const Evolution& evolution() const { return m_evolution; }

    // IMPRIMIR: report5, printed by whoever receives printRequested.
    void imprimirClick();
    // SALVAR PDF: report5 into a PDF file the clinician names (the patient's own name offered),
    // readable by its owner only. Boxes go through the dialogs; without them it does nothing.
    void setDialogs(platform::Dialogs* dialogs) { m_dialogs = dialogs; }
    void salvarPdfClick();

    QTableView* table() const { return m_table; }
    QStandardItemModel* model() const { return m_model; }

signals:
    void printRequested(const qv::ReportParamList& params, int lastPage);

private:
    Evolution m_evolution;
    QLabel* m_title;
    QLabel* m_notes;
    QTableView* m_table;
    QStandardItemModel* m_model;
    EvolutionChart* m_chart;
    QPushButton* m_imprimir;
    QPushButton* m_pdf;
    platform::Dialogs* m_dialogs = nullptr;
    QPushButton* m_fechar;
};

// Reads the stage files of a patient and builds the evolution; a file that cannot be read
// gives a column without results.
Evolution ReadEvolution(const QString& folder, const QString& patient, const std::array<QString, 4>& stageFiles);

}  // namespace qv
