#include "platform/Tray.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace qv::platform {

Tray::Tray(const QIcon& first, const QIcon& second, bool available, QObject* parent)
    : QObject(parent), m_available(available), m_icons{first, second}
{
    setObjectName(QStringLiteral("tray"));
    m_menu = new QMenu();
    m_menu->setObjectName(QStringLiteral("Pop"));
    m_restaurar = m_menu->addAction(QStringLiteral("&Restaurar"));
    m_restaurar->setObjectName(QStringLiteral("popRestaurar"));
    m_ocultar = m_menu->addAction(QStringLiteral("&Ocultar"));
    m_ocultar->setObjectName(QStringLiteral("popOcultar"));
    m_fechar = m_menu->addAction(QStringLiteral("&Fechar"));
    m_fechar->setObjectName(QStringLiteral("popFechar"));
    m_restaurar->setEnabled(false);
    m_ocultar->setEnabled(false);

    m_timer = new QTimer(this);
    m_timer->setInterval(400);
    connect(m_timer, &QTimer::timeout, this, &Tray::step);

    m_icon = new QSystemTrayIcon(m_icons[0], this);
    m_icon->setToolTip(QStringLiteral("Quorvel"));
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            emit doubleClicked();
    });
}

Tray::~Tray() { delete m_menu; }

bool Tray::desktopHasTray() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void Tray::show()
{
    if (m_available)
        m_icon->show();
}

void Tray::startCycling()
{
    if (!m_timer->isActive())
        m_timer->start();
}

void Tray::stopCycling()
{
    m_timer->stop();
    m_index = 0;
    m_icon->setIcon(m_icons[0]);
}

bool Tray::cycling() const { return m_timer->isActive(); }

void Tray::step()
{
    m_index = 1 - m_index;
    m_icon->setIcon(m_icons[m_index]);
}

}  // namespace qv::platform
