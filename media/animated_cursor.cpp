#include "media/animated_cursor.h"

#include <QGuiApplication>
#include <QPixmap>
#include <algorithm>
#include <limits>

QCursor cursorFromImage(const QImage &image, QPoint hotspot, qreal density)
{
    // X11 shows a cursor's pixels and hotspot as they are. Wayland scales the cursor's buffer by
    // the pixmap's ratio and takes the hotspot in the surface's units; Windows scales both by the
    // screen's factor, the pixels over the pixmap's ratio.
    const QString platform = QGuiApplication::platformName();
    const bool scaledBuffer =
        platform.startsWith(QLatin1String("wayland")) || platform == QLatin1String("windows");
    const qreal ratio = scaledBuffer ? density : 1.0;
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return QCursor(pixmap, qRound(hotspot.x() / ratio), qRound(hotspot.y() / ratio));
}

AnimatedCursor::AnimatedCursor(AniCursor cursor, QWidget *target, QObject *parent)
    : QObject(parent), target(target)
{
    // Steps naming a frame that does not exist are dropped, so every step can be shown.
    for (const AniStep &s : cursor.steps) {
        if (s.frame >= 0 && s.frame < int(cursor.frames.size()))
            steps.push_back(s);
    }
    cursors.reserve(cursor.frames.size());
    for (const AniFrame &frame : cursor.frames)
        cursors.push_back(
            cursorFromImage(frame.image, frame.hotspot, std::max(1.0, frame.image.width() / 32.0)));
    timer.setSingleShot(true);
    // A coarse timer may fire up to 5% early, and a step should last at least its delay.
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &AnimatedCursor::advance);
}

void AnimatedCursor::start()
{
    step = 0;
    showStep();
}

QCursor AnimatedCursor::currentCursor() const
{
    return steps.empty() ? QCursor() : cursors[size_t(steps[size_t(step)].frame)];
}

void AnimatedCursor::showStep()
{
    if (steps.empty())
        return;
    if (target)
        target->setCursor(currentCursor());
    const qint64 milliseconds = qint64(steps[size_t(step)].jiffies) * 1000 / 60;
    timer.start(int(std::clamp<qint64>(milliseconds, 1, std::numeric_limits<int>::max())));
}

void AnimatedCursor::advance()
{
    step = (step + 1) % int(steps.size());
    showStep();
}
