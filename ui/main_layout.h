// Placement of the main window's controls.
#pragma once

// Moves every control to its place for the current client size and tree width.
void LayoutMainWindow();

// Two status bar parts: the summary, then the selection text at the right.
void SetStatusBarParts();
