#pragma once
// Form2: the main window with its five pages, menus and tray icon.

#include <QMainWindow>

class QTabWidget;

namespace qv {

namespace platform {
class Dialogs;
class Shell;
}  // namespace platform

class StartWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(platform::Dialogs& dialogs, platform::Shell& shell, QWidget* parent = nullptr);
    void setStartWindow(StartWindow* form1) { m_form1 = form1; }

private:
    platform::Dialogs& m_dialogs;
    platform::Shell& m_shell;
    StartWindow* m_form1 = nullptr;
    QTabWidget* m_analise = nullptr;
};

}  // namespace qv
