#pragma once
// Builds the form from the window description: the top-level window, its menus and every
// control, with their handles filled into Controls. The form is made anew at every load.

#include "app/game_window.h"
#include "app/window_description.h"

#include <QColor>
#include <memory>

std::unique_ptr<GameWindow> buildForm(Controls &controls);

// A description colour: 0x00BBGGRR, or 0x800000nn for the system colour nn.
QColor colourFromValue(ColourValue value);
