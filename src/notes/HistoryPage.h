#pragma once
// TabSheet4, "Histórico do Tratamento": one block per visit appended to the patient's ".pln".
// The main window's File menu runs pllimparClick, plabrirClick and plsalvarClick while this page
// or the plan page is active; their boxes carry the active page's caption.

#include <QDate>
#include <QWidget>

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qv {

namespace platform {
class PageContext;
enum class NoticeKind;
}

class ReportEngine;
class StorableTextEdit;

class HistoryPage : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPage(platform::PageContext& context, QWidget* parent = nullptr);

    static QString Caption() { return QStringLiteral("Histórico do Tratamento"); }

    // LIMPAR / "&Novo": empties the three fields.
    void pllimparClick();
    // ABRIR / "&Abrir...": loads a chosen ".pln".
    void plabrirClick();
    // Opens a history file chosen elsewhere, with ABRIR's checks and messages.
    void openFile(const QString& path);
    // SALVAR / "&Salvar": appends the description under today's date.
    void plsalvarClick();
    // IMPRIMIR: report3 from the patient's history file, as many lines as historico shows.
    void plimprimirClick();
    void setReportEngine(ReportEngine* engine) { m_reports = engine; }

    // Runs one of the actions above for another page (the File menu while the plan page is
    // active): its boxes then carry that page's caption.
    void runFor(const QString& caption, void (HistoryPage::*action)());

    // Reads a history file into the page: name into plpaciente, the rest into historico;
    // throws IoError.
    void ReloadHistory(const QString& path);

    // The visit's date; today unless a test fixes it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    QLineEdit* plpaciente() const { return m_plpaciente; }
    QPlainTextEdit* insere() const;
    QPlainTextEdit* historico() const { return m_historico; }
    QPushButton* plimprimir() const { return m_plimprimir; }

private:
    void notice(platform::NoticeKind kind, const QString& text) const;

    platform::PageContext& m_context;
    QString m_callerCaption;  // set while an action runs for another page
    QLineEdit* m_plpaciente = nullptr;
    StorableTextEdit* m_insere = nullptr;
    QPlainTextEdit* m_historico = nullptr;
    QPushButton* m_plimprimir = nullptr;
    ReportEngine* m_reports = nullptr;
};

}  // namespace qv
