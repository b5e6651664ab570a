// Starts the real main window in a test or benchmark process, with a settings
// file and temporary folder of its own below a scratch folder.
#pragma once

#include "tests/support/scratch_folder.h"

// Prepares the settings in home's "program" and "temp" folders, with the
// "temp" folder as the first folder shown, builds the main window and waits
// until the tree pane is ready and its first listing done. False when the
// window cannot be built or does not become ready.
bool StartMainWindow(const ScratchFolder& home);

// Closes the main window the way the user does, waits until it is gone and
// forgets its handles, so that the next StartMainWindow begins afresh.
void CloseMainWindow();
