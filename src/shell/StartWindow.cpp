#include "shell/StartWindow.h"

#include <QLabel>
#include <QTimer>

namespace qv {

StartWindow::StartWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvel"));
    setWindowFlags(Qt::FramelessWindowHint);
    setFixedSize(699, 381);
    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image2"));
    m_image->setGeometry(0, 0, 700, 381);
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(5000);
    connect(m_timer, &QTimer::timeout, this, &StartWindow::Button1Click);
}

void StartWindow::startSplash()
{
    show();
    m_timer->start();
}

void StartWindow::Button1Click() { m_timer->stop(); }

}  // namespace qv
