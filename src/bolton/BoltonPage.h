#pragma once
// TabSheet2, the Bolton page: tooth widths in, sums, ratios, ideal values and excesses out,
// laid out like the printed Bolton worksheet; plus its patient file.

#include "bolton/BoltonCalc.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

namespace platform {
class PageContext;
}
class ReportEngine;

class BoltonPage : public QWidget {
    Q_OBJECT
public:
    explicit BoltonPage(platform::PageContext& context, QWidget* parent = nullptr);

    // CALCULAR; also run by ABRIR to recompute an opened analysis.
    void bCalcularClick();
    // LIMPAR clears everything; VOLTAR returns from a calculation to entry, keeping the entries.
    void blimparClick();
    // SALVAR: writes Análises/<patient>.bol, never over an existing file.
    void bsalvarClick();
    // ABRIR: picks a .bol file, loads it and recalculates.
    void babrirClick();
    // The File menu's "&Novo": from any state to an empty page.
    void NewAnalysis();
    // IMPRIMIR: report2 from what the page shows.
    void bimprimirClick();
    void setReportEngine(ReportEngine* engine) { m_reports = engine; }

    // Puts the record of the file into the entry fields; throws IoError.
    void LoadBoltonFile(const QString& path);

    BoltonInputs inputs() const;

signals:
    // SAIR: the program ends. When nothing is connected the event loop is told to exit.
    void exitRequested();

private:
    void buildSheet();
    QLineEdit* toothField(const QString& name, const QString& accessibleName, int typedLimit);
    QLabel* resultLabel(const QString& name, const QString& description);
    QPushButton* button(const QString& name, const QString& caption);
    void writeResults(const BoltonResults& r, bool fromTable);
    void clearResults();
    void setInputsReadOnly(bool locked, bool molarsToo);
    QList<QLineEdit*> allInputs() const;
    std::array<QLineEdit*, 4> molars() const;

    platform::PageContext& m_context;
    QLineEdit* m_paciente = nullptr;
    std::array<QLineEdit*, 12> m_s{};
    std::array<QLineEdit*, 12> m_i{};
    QLineEdit* m_termole = nullptr;
    QLineEdit* m_segmole = nullptr;
    QLineEdit* m_segmold = nullptr;
    QLineEdit* m_termold = nullptr;
    QPushButton* m_calcular = nullptr;
    QPushButton* m_limpar = nullptr;
    QCheckBox* m_abrirb = nullptr;
    ReportEngine* m_reports = nullptr;
};

}  // namespace qv
