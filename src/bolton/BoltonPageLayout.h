#pragma once
// The Bolton page's controls, laid out like the printed Bolton worksheet: the patient row, the
// worksheet group (teeth, sums, the two ratios with their tables), the diagnosis group and the
// buttons, each built by its own function. The workflow lives in BoltonPage.

#include "analysis/BoltonCalc.h"
#include "records/BoltonSheet.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace qv {

namespace platform {
class PageContext;
}

struct BoltonPageControls {
    std::array<QLineEdit*, kBoltonFieldCount> fields{};  // in the order of BoltonFields()
    std::array<QLabel*, 26> results{};                   // in the order of kBoltonResultLabels
    QPushButton* calcular = nullptr;
    QPushButton* limpar = nullptr;
    QPushButton* salvar = nullptr;
    QPushButton* abrir = nullptr;
    QPushButton* sair = nullptr;
    QPushButton* imprimir = nullptr;
    QCheckBox* abrirb = nullptr;  // hidden: shows whether the analysis came from a file
};

// Builds every control of the page on `page`, with its name, entry filter, place and tab order.
BoltonPageControls BuildBoltonPage(QWidget* page, platform::PageContext& context);

}  // namespace qv
