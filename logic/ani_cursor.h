#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

enum class AniError {
    None,
    NotRiffAcon,
    Truncated,
    MissingHeader,
    BadHeader,
    MissingFrames,
    FrameCountMismatch,
    BadFrame,
    TooLarge,
    BadSequence
};

struct AniFrame {
    QImage image; // Format_ARGB32, at most 256x256
    QPoint hotspot;
};

struct AniStep {
    int frame;   // index into AniCursor::frames
    int jiffies; // how long the step shows, in sixtieths of a second, at least 1
};

struct AniCursor {
    std::vector<AniFrame> frames;
    std::vector<AniStep> steps;
};

struct AniResult {
    std::optional<AniCursor> cursor;
    AniError error = AniError::None;
};

// Reads a Windows animated cursor (RIFF 'ACON'). On success the cursor has at least one frame
// and one step, every step names an existing frame and every hotspot lies inside its image; on
// failure the cursor is empty and the error says why. Never reads outside the input. Of a frame
// with several images, the one nearest cursorSize pixels is read: 32 on a usual screen, 64 on
// a screen at scale 2.
AniResult parseAniCursor(const QByteArray &bytes, int cursorSize = 32);

// A short English description of the error, for a warning on stderr.
QString aniErrorText(AniError error);
