// A bare Qt window of the game's size, for the idle benchmark to compare the game against: what
// an application that does nothing costs the X server and itself.
// With --same-wake-ups it wakes as often as the idle game must, and does the least each time: a
// line edit's caret blinks, an empty timer ticks ten times a second, and a window cursor of
// six 32x32 frames changes every 166 ms. That is the floor under the game's idle cost.
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    QTimer tick, frame;
    std::vector<QCursor> cursors;
    size_t step = 0;
    if (argc > 1 && std::strcmp(argv[1], "--same-wake-ups") == 0) {
        auto *edit = new QLineEdit(&window);
        edit->setGeometry(10, 10, 120, 24);
        for (int i = 0; i < 6; ++i) {
            QPixmap pixmap(32, 32);
            pixmap.fill(QColor(40 * i, 0, 0));
            cursors.emplace_back(pixmap, 0, 0);
        }
        QObject::connect(&tick, &QTimer::timeout, [] {});
        frame.setTimerType(Qt::PreciseTimer);
        QObject::connect(&frame, &QTimer::timeout,
                         [&] { window.setCursor(cursors[step++ % cursors.size()]); });
        tick.start(100);
        frame.start(166);
    }
    window.show();
    return QApplication::exec();
}
