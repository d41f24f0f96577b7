#include "shell/StartWindow.h"

#include "shell/FoundationsPage.h"
#include "shell/MainWindow.h"

#include "shell/Art.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace qv {

namespace {

// The splash picture drawn straight from the program's own read-only pixels: a pixmap would first
// copy all of them, before the first paint.
class SplashPicture : public QLabel {
public:
    SplashPicture(const QImage& picture, QWidget* parent) : QLabel(parent), m_picture(picture) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_picture); }

private:
    QImage m_picture;
};

using Page = MainWindow::Page;
using View = MainWindow::FoundationsView;

struct MenuButton {
    const char* name;
    const char* caption;
    Page page;  // the main window's page it opens (SAIR: none)
    View view = View::AsLeft;
};

// Top to bottom.
constexpr MenuButton kButtons[] = {
    {"Button6", "OBJETIVO", Page::Foundations, View::Objective},
    {"Button2", "FUNDAMENTOS TEÓRICOS", Page::Foundations, View::Links},
    {"Button3", "ANÁLISE DE TWEED", Page::Tweed},
    {"Button4", "ANÁLISE DE BOLTON", Page::Bolton},
    {"Button7", "HISTÓRICO DO TRATAMENTO", Page::History},
    {"Button8", "PLANO DE TRATAMENTO", Page::Plan},
    {"Button5", "SAIR", Page::Foundations},
};

constexpr QSize kSplashSize(699, 381);
constexpr QSize kMenuOuterSize(315, 474);

void centre(QWidget* w, QSize outer)
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        w->move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
    }
}

}  // namespace

StartWindow::StartWindow(QWidget* parent, MenuTiming menu) : QWidget(parent)
{
    InitArt();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvel"));
    // Raw pixels: the splash appears before any image decoder or plugin is loaded.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(kSplashSize);

    m_image = new SplashPicture(ArtPicture(QStringLiteral("splash")), this);
    m_image->setObjectName(QStringLiteral("Image2"));
    m_image->setGeometry(0, 0, 700, 381);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(5000);
    connect(m_timer, &QTimer::timeout, this, &StartWindow::Button1Click);

    if (menu == MenuTiming::WithWindow) {
        nameSplash();
        buildMenu();
    } else {
        // Shown and named by startSplash once the window is: a child shown with it, or a first
        // accessible name, would start the accessibility bridge before the window is mapped.
        m_image->setVisible(false);
    }
}

void StartWindow::nameSplash() { m_image->setAccessibleName(QStringLiteral("Quorvel")); }

void StartWindow::buildMenu()
{
    if (m_title)
        return;
    // Set with the menu, after the splash's first paint: a frameless splash shows no icon, and
    // handing it to the window system is part of what would delay that paint.
    setWindowIcon(QIcon(QPixmap::fromImage(ArtPicture(QStringLiteral("quorvel")))));
    m_title = new QLabel(QStringLiteral("QUORVEL"), this);
    m_title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont(QStringLiteral("DejaVu Serif"));
    titleFont.setPixelSize(21);
    titleFont.setBold(true);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    m_title->setFont(titleFont);
    m_title->setStyleSheet(QStringLiteral("color: navy;"));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->hide();

    QFont buttonFont;
    buttonFont.setBold(true);
    for (const MenuButton& b : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QLatin1String(b.name));
        button->setFixedSize(260, 45);
        button->setFont(buttonFont);
        button->setFocusPolicy(Qt::StrongFocus);
        if (qstrcmp(b.name, "Button8") != 0)
            button->setCursor(Qt::PointingHandCursor);
        button->hide();
        m_buttons << button;
        if (qstrcmp(b.name, "Button5") == 0)
            connect(button, &QPushButton::clicked, this, [] { QCoreApplication::exit(0); });
        else
            connect(button, &QPushButton::clicked, this, [this, b] { openPage(b.page, b.view); });
    }
    // Keyboard order: the menu's rows, but "SAIR" before "PLANO DE TRATAMENTO".
    auto byName = [this](const char* name) { return findChild<QPushButton*>(QLatin1String(name)); };
    const char* order[] = {"Button6", "Button2", "Button3", "Button4", "Button7", "Button5", "Button8"};
    for (int i = 0; i + 1 < 7; ++i)
        setTabOrder(byName(order[i]), byName(order[i + 1]));

    // Never shown: it only carries the timer's handler.
    auto* hidden = new QPushButton(this);
    hidden->setObjectName(QStringLiteral("Button1"));
    hidden->hide();
    connect(hidden, &QPushButton::clicked, this, &StartWindow::Button1Click);
}

void StartWindow::startSplash()
{
    centre(this, kSplashSize);
    show();
    m_image->show();
    nameSplash();
    m_timer->start();
}

void StartWindow::waitUntilPainted(int limitMs)
{
    // A widget window paints and flushes as soon as it is exposed; the timer bounds the wait on a
    // platform that never exposes it.
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(limitMs);
    while (isVisible() && !testAttribute(Qt::WA_Mapped) && limit.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool StartWindow::showingSplash() const { return m_image->isVisible(); }

void StartWindow::Button1Click()
{
    buildMenu();
    // A bordered window with a title and only a close box.
    const bool wasVisible = isVisible();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    const int margin = 20;
    setFixedSize(kMenuOuterSize.width() - 6, kMenuOuterSize.height() - 29);
    m_title->setGeometry(margin, 16, width() - 2 * margin, 30);
    int y = 62;
    for (QPushButton* b : m_buttons) {
        b->move((width() - b->width()) / 2, y);
        y += b->height() + 8;
    }
    centre(this, kMenuOuterSize);
    m_timer->stop();
    m_image->hide();
    m_title->show();
    for (QPushButton* b : m_buttons)
        b->show();
    if (wasVisible)
        show();  // changing the flags hides the window
    m_buttons.first()->setFocus();
}

void StartWindow::showStartMenu()
{
    setEnabled(true);
    show();
    raise();
    activateWindow();
}

void StartWindow::openPage(MainWindow::Page page, MainWindow::FoundationsView view)
{
    hide();
    setEnabled(false);
    emit pageRequested(page, view);
}

void StartWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    QCoreApplication::exit(0);
}

}  // namespace qv
