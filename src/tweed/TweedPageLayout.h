#pragma once
// The Tweed page's controls: the patient row, the Tweed and DC groups, the space analysis, the
// difficulty index, the buttons, the hidden flags and the suggested-diagnosis panel, each group
// built by its own function. The workflow lives in TweedAnalysisModel; TweedPage renders it.

#include <QHash>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qv {

namespace platform {
class PageContext;
}

class DiagnosisPanel;

struct TweedPageControls {
    QHash<QString, QLineEdit*> entries;  // the typed fields of the field table, by objectName
    QHash<QString, QLabel*> results;     // the result labels of the field table, by objectName
    QLineEdit* twPaciente = nullptr;
    QLineEdit* Idade = nullptr;
    QRadioButton* GenMasc = nullptr;
    QRadioButton* GenFem = nullptr;
    QButtonGroup* gender = nullptr;
    QRadioButton* inicial = nullptr;
    QRadioButton* inter1 = nullptr;
    QRadioButton* inter2 = nullptr;
    QRadioButton* final = nullptr;
    QLabel* hornres = nullptr;
    QLabel* idlabel = nullptr;
    QLabel* idtotres = nullptr;
    QLabel* dcopc = nullptr;
    QRadioButton* dcsim = nullptr;
    QRadioButton* dcnao = nullptr;
    QLineEdit* dcopcres = nullptr;
    QRadioButton* anmcl2 = nullptr;
    QRadioButton* anmcl3 = nullptr;
    QButtonGroup* molarClass = nullptr;
    QPushButton* total = nullptr;
    QPushButton* tracado = nullptr;
    QPushButton* tCalcular = nullptr;
    QPushButton* tLimpar = nullptr;
    QPushButton* tsalvar = nullptr;
    QPushButton* tabrir = nullptr;
    QPushButton* timprimir = nullptr;
    QPushButton* tSair = nullptr;
    QCheckBox* parcial = nullptr;   // hidden mirrors of the model's flags
    QCheckBox* completo = nullptr;
    DiagnosisPanel* ds = nullptr;   // holds the hidden abrir

    QLineEdit* entry(const char* name) const { return entries.value(QLatin1String(name)); }
    QLabel* result(const char* name) const { return results.value(QLatin1String(name)); }
};

// Builds every control of the page on `page`, with its name, caption, entry filter and place.
TweedPageControls BuildTweedPage(QWidget* page, platform::PageContext& context);

}  // namespace qv
