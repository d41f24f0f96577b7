#pragma once
// Form1: the splash picture, then the start menu that opens the main window at a page.

#include "shell/MainWindow.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace qv {

class StartWindow : public QWidget {
    Q_OBJECT
public:
    // AfterSplash: the start menu's controls are left to buildMenu(), so that the splash, which
    // does not need them, reaches the screen sooner.
    enum class MenuTiming { WithWindow, AfterSplash };
    explicit StartWindow(QWidget* parent = nullptr, MenuTiming menu = MenuTiming::WithWindow);
    void buildMenu();

    // Shows the splash and starts the timer that ends it.
    void startSplash();
    // Runs the events until the shown splash is on the screen (at most limitMs).
    void waitUntilPainted(int limitMs);
    // The timer's handler: the splash becomes the start menu.
    void Button1Click();
    // Shows the start menu again (from "MENU"), without the splash.
    void showStartMenu();

    bool showingSplash() const;
    QTimer* timer() const { return m_timer; }

signals:
    // A button of the menu: the main window at that page (the foundations page at one of its views).
    void pageRequested(qv::MainWindow::Page page, qv::MainWindow::FoundationsView view);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void nameSplash();
    void openPage(MainWindow::Page page, MainWindow::FoundationsView view);

    QLabel* m_image = nullptr;
    QLabel* m_title = nullptr;
    QList<QPushButton*> m_buttons;
    QTimer* m_timer = nullptr;
};

}  // namespace qv
