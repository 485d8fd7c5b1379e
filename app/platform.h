#pragma once
// What the game does differently on each system it runs on; each system's side is a file of its
// own, and the build picks the one for its target.

#include <QString>

namespace platform
{

// Maps the faces the window description names onto faces this system has.
void substituteFonts();

// The sans-serif face for the text the game draws itself, such as its question mark icon.
QString sansFace();

// Shows a run-time error in the system's own way, titled title, and returns once it is closed.
void showError(const QString &title, const QString &message);

} // namespace platform
