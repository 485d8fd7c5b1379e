#include "media/animated_cursor.h"

#include <QGuiApplication>
#include <QPixmap>
#include <algorithm>
#include <limits>

AnimatedCursor::AnimatedCursor(AniCursor cursor, QWidget *target, QObject *parent)
    : QObject(parent), target(target)
{
    // Steps naming a frame that does not exist are dropped, so every step can be shown.
    for (const AniStep &s : cursor.steps) {
        if (s.frame >= 0 && s.frame < int(cursor.frames.size()))
            steps.push_back(s);
    }
    cursors.reserve(cursor.frames.size());
    // X11 shows a cursor's pixels and hotspot as they are. Wayland scales the cursor's buffer by
    // the pixmap's ratio and takes the hotspot in the surface's units, so there an image larger
    // than the usual 32 pixels says so.
    const bool scaledBuffer = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    for (const AniFrame &frame : cursor.frames) {
        QPixmap pixmap = QPixmap::fromImage(frame.image);
        const qreal ratio = scaledBuffer ? std::max(1.0, frame.image.width() / 32.0) : 1.0;
        pixmap.setDevicePixelRatio(ratio);
        cursors.emplace_back(pixmap, qRound(frame.hotspot.x() / ratio),
                             qRound(frame.hotspot.y() / ratio));
    }
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
