// Keys pressed in the file list.
#pragma once
#include <windows.h>

// Esc deselects all, Enter opens the selection, Delete sends it to the
// recycle bin and relists, Ctrl+A selects all. They act on the key's own
// press in the list (WM_KEYDOWN, not its repeats): the release of a key that
// closed a dialog or a menu reaches the list too and must do nothing. True
// when the key was one of them.
bool HandleListKeyDown(WPARAM key, LPARAM flags);

// WM_GETDLGCODE of the file list: Enter and Esc are the list's own keys, not
// the dialog manager's default and cancel buttons.
bool ListWantsKey(const MSG* msg);
