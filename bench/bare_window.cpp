// A bare Qt window of the game's size, for the idle benchmark to compare the game against: what
// an application that does nothing costs the X server and itself.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
