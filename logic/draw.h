#pragma once
// The draws of an exercise.

// A uniform value 0 <= r < 1 scaled to a whole number from 0 to 30.
int scaledDraw(double r);
