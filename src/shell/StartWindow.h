#pragma once
// Form1: the splash picture, then the start menu.

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace qv {

class MainWindow;

class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(QWidget* parent = nullptr);
    void setMainWindow(MainWindow* form2) { m_form2 = form2; }
    void startSplash();
    QTimer* timer() const { return m_timer; }

private:
    void Button1Click();  // the timer's handler: splash to start menu
    MainWindow* m_form2 = nullptr;
    QLabel* m_image = nullptr;
    QTimer* m_timer = nullptr;
};

}  // namespace qv
