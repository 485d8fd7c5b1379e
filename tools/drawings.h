#pragma once

#include <QImage>
#include <QPoint>
#include <vector>

// The game's artwork, painted from shapes and colours alone (no fonts, no files), so the same
// build always paints the same pixels. Each drawing can be painted larger, for denser screens;
// scale multiplies the size and the resolution (96 dpi at scale 1).

// count globes (1 to 10) in rows of five for counting, on a light sky; 217x81 times scale, RGB32.
QImage globesPicture(int count, int scale = 1);

// The cat of the mouse pointer, size x size ARGB (32 by default): one frame per step of its
// tail's swing, the tip of its left ear at catCursorHotspot() (for 32x32), outlined dark inside
// and light outside.
std::vector<QImage> catCursorFrames(int size = 32);
QPoint catCursorHotspot();

// The window icon, a chalk slate with 1 2 3, size x size ARGB. vgaColours paints with the 16
// VGA colours and no antialiasing, for the 16-colour icon image.
QImage slateIcon(int size, bool vgaColours);

// Button icons in the 16 VGA colours, size x size ARGB: a yellow smiling face, a red no-entry
// sign.
QImage smileIcon(int size);
QImage noEntryIcon(int size);

// A sleeping puppy on its cushion, 80x53 times scale, RGB32.
QImage puppyPicture(int scale = 1);

// A small bird in flight, wings up, level, down, level; 98x83 times scale, ARGB with a clear
// background.
std::vector<QImage> birdFrames(int scale = 1);
