#pragma once
// TabSheet5, "Plano de Tratamento": one free-text plan per patient, rewritten whole at each save.
// Its own buttons are its only commands; the File menu acts on the history page, for which the
// pl* handlers here forward to the linked history page.

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qv {

namespace platform {
class PageContext;
enum class NoticeKind;
}

class HistoryPage;
class ReportEngine;
class StorableTextEdit;

class PlanPage : public QWidget {
    Q_OBJECT
public:
    explicit PlanPage(platform::PageContext& context, QWidget* parent = nullptr);

    static QString Caption() { return QStringLiteral("Plano de Tratamento"); }

    // LIMPAR: empties the page and the mark Label10.
    void polimparclick();
    // SALVAR (also the first step of IMPRIMIR): true when the file was written.
    bool posalvarclick();
    // ABRIR: loads a chosen ".otl".
    void poabrirclick();
    // Opens a plan file chosen elsewhere, with ABRIR's checks and messages.
    void openFile(const QString& path);

    // The File menu on this page runs the history page's actions.
    void setHistoryPage(HistoryPage* history) { m_history = history; }
    // IMPRIMIR: saves the plan, then report4 from the page's text.
    void poimprimirclick();
    void setReportEngine(ReportEngine* engine) { m_reports = engine; }
    HistoryPage* historyPage() const { return m_history; }
    void pllimparClick();
    void plabrirClick();
    void plsalvarClick();

    QLineEdit* popaciente() const { return m_popaciente; }
    QPlainTextEdit* outline() const;
    QLabel* label10() const { return m_label10; }
    QPushButton* button5() const { return m_button5; }

private:
    void notice(platform::NoticeKind kind, const QString& text);

    platform::PageContext& m_context;
    HistoryPage* m_history = nullptr;
    QLineEdit* m_popaciente = nullptr;
    StorableTextEdit* m_outline = nullptr;
    QLabel* m_label10 = nullptr;
    QPushButton* m_button5 = nullptr;
    ReportEngine* m_reports = nullptr;
};

}  // namespace qv
