#include "shell/MainWindow.h"

#include <QTabWidget>

namespace qv {

MainWindow::MainWindow(platform::Dialogs& dialogs, platform::Shell& shell, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_shell(shell)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Quorvel"));
    m_analise = new QTabWidget(this);
    m_analise->setObjectName(QStringLiteral("Analise"));
    setCentralWidget(m_analise);
}

}  // namespace qv
