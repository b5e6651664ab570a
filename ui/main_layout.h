// Placement of the main window's controls.
#pragma once

// Moves every control to its place for the current client size and tree width.
void LayoutMainWindow();
