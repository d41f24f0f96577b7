// The floor of the start-up measurement: the least a Qt Widgets program does to show one
// window of the splash's size.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(699, 381);
    window.show();
    return app.exec();
}
