#pragma once
// Form2: the main window with its five pages, menus, tray icon and the message convention.

#include "platform/PageContext.h"

#include <QAction>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QScrollArea;
class QTabWidget;

namespace qv {

namespace platform {
class Dialogs;
class Shell;
class Tray;
}  // namespace platform

class FoundationsPage;
class ReportEngine;
class StartWindow;

// What the File menu does on a page: actions the page owns. A missing action, or one gone with
// its page, answers "Ação não disponível!".
struct PageActions {
    QPointer<QAction> novo;
    QPointer<QAction> abrir;
    QPointer<QAction> salvar;
    QPointer<QAction> imprimir;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // In tab order.
    enum Page { Foundations, Tweed, Bolton, History, Plan };
    Q_ENUM(Page)
    // How the foundations page opens from the start menu: as it was left, at the objective, or at
    // the list of the foundations' links.
    enum class FoundationsView { AsLeft, Objective, Links };
    Q_ENUM(FoundationsView)

    MainWindow(platform::Dialogs& dialogs, platform::Shell& shell, bool trayAvailable, QWidget* parent = nullptr);
    ~MainWindow() override;
    void setStartWindow(StartWindow* form1) { m_form1 = form1; }

    // Puts a page's widget in its tab and routes the File menu to its actions.
    void setPage(Page page, QWidget* widget, PageActions actions);
    QWidget* page(Page page) const;
    FoundationsPage* foundationsPage() const { return m_foundations; }

    // The context every page's boxes go through (captioned with the active page's caption).
    platform::PageContext& context() { return m_context; }
    platform::Dialogs& dialogs() { return m_dialogs; }
    // The report engine every page prints through.
    ReportEngine& reports() { return *m_reports; }
    QString activeCaption() const;

    // Makes a page active without running the tab rule.
    void setActivePage(Page page);
    Page activePage() const;

    void showMain();      // MainShown: visible, in its normal state
    // A button of the start menu: this window shown at that page, fitted to the screen.
    void openFromStartMenu(qv::MainWindow::Page page, qv::MainWindow::FoundationsView view);
    void fitToScreen();   // scroll bars where a small screen cuts the window
    void restoreFromTray();
    void hideToTray();

    platform::Tray* tray() const { return m_tray.get(); }
    QAction* popOcultarAction() const;
    QAction* popRestaurarAction() const;

    // File menu commands, routed by the active page.
    void New1Click();
    void Open1Click();
    void Save1Click();
    void Print1Click();
    // Help menu commands.
    void Estatsticas1Click();
    void Contato1Click();
    void Site1Click();
    void About1Click();

    static QString AboutText();
    static QUrl ContactAddress();

signals:
    // The menus' windows, built and opened by the composition root.
    void patientsRequested();  // "&Pacientes..." (File and Módulos)
    void tracingRequested();   // "&Traçado Cefalométrico"
    void normsRequested();     // "N&ormas..."

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    QSize windowSizeFor(QSize client) const;
    void route(QPointer<QAction> PageActions::*command);
    void backToStartMenu();
    void onTabChanged(int index);

    platform::Dialogs& m_dialogs;
    platform::Shell& m_shell;
    platform::PageContext m_context;
    std::unique_ptr<platform::Tray> m_tray;
    std::unique_ptr<ReportEngine> m_reports;
    StartWindow* m_form1 = nullptr;
    QScrollArea* m_scroll = nullptr;
    QTabWidget* m_analise = nullptr;
    FoundationsPage* m_foundations = nullptr;
    std::array<PageActions, 5> m_actions;
    bool m_settingPage = false;
};

}  // namespace qv
