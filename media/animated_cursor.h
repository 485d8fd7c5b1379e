#pragma once

#include "logic/ani_cursor.h"

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

// A cursor from an image drawn at density image pixels per design pixel (2 for a 64-pixel image
// of a 32-pixel cursor), its hotspot in the image's pixels: the same size on every platform.
QCursor cursorFromImage(const QImage &image, QPoint hotspot, qreal density);

// Plays an animated cursor on a widget: each step's frame stays for the step's delay, and after
// the last step the animation starts over. The widget may be destroyed at any time.
class AnimatedCursor : public QObject
{
    Q_OBJECT

public:
    AnimatedCursor(AniCursor cursor, QWidget *target, QObject *parent = nullptr);

    void start();

    int currentStep() const { return step; }
    QCursor currentCursor() const;

private:
    void showStep();
    void advance();

    std::vector<AniStep> steps;
    std::vector<QCursor> cursors;
    QPointer<QWidget> target;
    QTimer timer;
    int step = 0;
};
