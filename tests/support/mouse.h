// Putting the mouse where a test needs it.
#pragma once
#include <windows.h>

// Moves the cursor to a screen point and waits until the system reports it
// there: the display may still report the previous position for a moment
// after a move, so the move is repeated until it holds. False after 3 s.
bool MoveCursorTo(POINT screen);
