#pragma once
// The notification-area icon with its menu and the two-icon animation.

#include <QIcon>
#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace qv::platform {

class Tray : public QObject {
    Q_OBJECT
public:
    // available: whether the desktop has a notification area (tests choose; the program asks Qt).
    Tray(const QIcon& first, const QIcon& second, bool available, QObject* parent = nullptr);
    ~Tray() override;
    static bool desktopHasTray();

    bool available() const { return m_available; }
    QMenu* menu() const { return m_menu; }
    QAction* popRestaurar() const { return m_restaurar; }
    QAction* popOcultar() const { return m_ocultar; }
    QAction* popFechar() const { return m_fechar; }

    void startCycling();
    void stopCycling();  // and show the first icon
    bool cycling() const;
    int iconIndex() const { return m_index; }
    QTimer* cycleTimer() const { return m_timer; }

    void show();

signals:
    void doubleClicked();

private:
    void step();

    bool m_available;
    QIcon m_icons[2];
    int m_index = 0;
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_restaurar = nullptr;
    QAction* m_ocultar = nullptr;
    QAction* m_fechar = nullptr;
    QTimer* m_timer = nullptr;
};

}  // namespace qv::platform
