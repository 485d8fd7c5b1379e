#pragma once
// The game's widget style, which the application sets before any window is made.

class QStyle;

// The game's widget style: Fusion, with the menu bar reached by keys as on the platform the game
// imitates (F10 or Alt alone, its chosen item marked) and message box icons drawn for the
// screen's density. The caller owns it; QApplication::setStyle takes it.
QStyle *gameStyle();
