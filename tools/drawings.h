#pragma once

#include <QImage>
#include <QPoint>
#include <vector>

// The game's artwork, painted from shapes and colours alone (no fonts, no files), so the same
// build always paints the same pixels.

// count globes (1 to 10) in rows of five for counting, on a light sky; 217x81, RGB32.
QImage globesPicture(int count);

// The cat of the mouse pointer, 32x32 ARGB: one frame per step of its tail's swing, the tip of
// its left ear at catCursorHotspot(), outlined dark inside and light outside.
std::vector<QImage> catCursorFrames();
QPoint catCursorHotspot();

// The window icon, a chalk slate with 1 2 3, size x size ARGB. vgaColours paints with the 16
// VGA colours and no antialiasing, for the 16-colour icon image.
QImage slateIcon(int size, bool vgaColours);

// Button icons in the 16 VGA colours, size x size ARGB: a yellow smiling face, a red no-entry
// sign.
QImage smileIcon(int size);
QImage noEntryIcon(int size);

// A sleeping puppy on its cushion, 80x53 RGB32.
QImage puppyPicture();

// A small bird in flight, wings up, level, down, level; 98x83 ARGB with a clear background.
std::vector<QImage> birdFrames();
