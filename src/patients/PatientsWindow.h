#pragma once
// "Pacientes": every patient of the analyses folder, one row each, searched as you type; a
// file is opened on its page through the links, and a patient's Tweed stages are compared in
// the evolution view. The list follows the folder while the window shows.

#include "patients/PatientTable.h"
#include "printing/ReportParams.h"

#include <QWidget>


class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QScreen;
class QTableView;
class QTimer;

namespace qv {

namespace platform {
class Dialogs;
}

class EvolutionView;

class PatientsWindow : public QWidget {
    Q_OBJECT
public:
    // folder: the analyses folder, relative to the working folder.
    explicit PatientsWindow(const QString& folder, QWidget* parent = nullptr);
    explicit PatientsWindow(QWidget* parent = nullptr);

    void setDialogs(platform::Dialogs* dialogs);
    // How often the folder is read again when it sends no notice (a network share).
    void setRescanInterval(int ms);

    // "&Pacientes...": Form2 and the tray item "&Ocultar" disabled, the list read, shown.
    void Open();
    // Reads the folder again, keeping the selection.
    void rescan();
    // What double-click or Enter does on a cell of the view: a file cell opens that file, the
    // name opens the evolution (or the patient's only file).
    void activate(const QModelIndex& viewIndex);
    // "EVOLUÇÃO" for the patient of a source row.
    void showEvolution(int sourceRow);
    // "Exportar todos (CSV)...": the measures of every patient's traced stages.
    void exportAllCsv();

    PatientTableModel* model() const { return m_model; }
    PatientFilter* filter() const { return m_filter; }
    QTableView* table() const { return m_table; }
    QLineEdit* searchField() const { return m_search; }
    EvolutionView* evolutionView() const { return m_evolution; }
    QString filePath(const QString& fileName) const;
    // The window's size on a screen (none: the size it has on a large one).
    static QSize PreferredSize(const QScreen* screen);

signals:
    void rescanned();
    // "Sobreposição...": the selected patient's stage tracings superimposed.
    void superimpositionRequested(const QString& patient);
    // Form2 disabled while this window shows, as with the other secondary windows.
    void mainWindowEnabledRequested(bool enabled);
    // A file to open with its page's own opening (the checks, questions and messages of its
    // ABRIR), Form2 brought to that page. The path is relative to the working folder.
    void tweedFileRequested(const QString& path);
    void boltonFileRequested(const QString& path);
    void historyFileRequested(const QString& path);
    void planFileRequested(const QString& path);
    // The evolution's IMPRIMIR: report5 with these parameters and print range.
    void evolutionPrintRequested(const qv::ReportParamList& params, int lastPage);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();
    void leave();
    void openFile(PatientFileKind kind, const QString& fileName);
    void updateCount();
    void updateButtons();
    int currentSourceRow() const;

    PatientScanner m_scanner;
    platform::Dialogs* m_dialogs = nullptr;
    PatientTableModel* m_model;
    PatientFilter* m_filter;
    QLineEdit* m_search = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_abrir = nullptr;
    QPushButton* m_evolucao = nullptr;
    QPushButton* m_csv = nullptr;
    QPushButton* m_sobreposicao = nullptr;
    QPushButton* m_fechar = nullptr;
    EvolutionView* m_evolution = nullptr;
    QFileSystemWatcher* m_watcher;
    QTimer* m_soon;      // gathers a burst of notices into one rescan
    QTimer* m_periodic;  // for folders that do not notify
};

}  // namespace qv
