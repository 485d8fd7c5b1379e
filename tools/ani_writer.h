#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <vector>

// Writes an animated cursor: RIFF 'ACON' with 'anih', 'rate', 'seq ' and a LIST 'fram' of
// cursor frames, each image scaled to 32x32 and stored as a 32-bit BGRA bitmap with a 1-bit mask
// taken from alpha, the hotspot in its directory entry. Step i shows frame i modulo the frame
// count for jiffiesPerStep[i] sixtieths of a second; with no delays given, each frame shows once
// for 10. The same input always gives the same bytes.
QByteArray writeAniCursor(const std::vector<QImage> &frames, QPoint hotspot,
                          const std::vector<int> &jiffiesPerStep);

// The same with several images in each frame, one per size (square, at most 256 pixels), as
// the cursor format allows; the hotspot is given for 32x32 and scaled to each image.
QByteArray writeAniCursor(const std::vector<std::vector<QImage>> &frames, QPoint hotspot,
                          const std::vector<int> &jiffiesPerStep);
