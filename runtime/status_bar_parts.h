// The main window's status bar parts, set wherever the window's width or the
// selection text's width changes.
#pragma once

// Two status bar parts: the summary, then the selection text at the right.
void SetStatusBarParts();
