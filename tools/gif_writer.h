#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>
#include <vector>

// Writes a looping GIF89a animation: a 256-entry global colour table whose entry 0 is the
// background and transparent colour, a NETSCAPE2.0 loop count, and for each frame a graphic
// control extension (the delay, disposal 2 "restore to background", transparent index 0) and a
// full-size, non-interlaced image at 0,0 without a local colour table. All frames share one
// size; pixels with alpha below 128 become transparent. Empty when giflib reports an error.
std::optional<QByteArray> writeAnimatedGif(const std::vector<QImage> &frames, int delayCentiseconds,
                                           int loopCount);
