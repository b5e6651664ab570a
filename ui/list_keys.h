// Keys released in the file list.
#pragma once
#include <windows.h>

// Esc deselects all, Enter opens the selection, Delete sends it to the
// recycle bin and relists, Ctrl+A selects all. F5 is the refresh of every
// control and is not handled here.
void HandleListKeyUp(WPARAM key);
