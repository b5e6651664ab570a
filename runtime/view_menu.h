// Check marks of the main window's View menu, shared by the list's columns,
// its view modes and the settings that restore them.
#pragma once

// UncheckViewItem tells whether the item was checked (1) or not (0), -1 when
// it does not exist.
int UncheckViewItem(int id);
void CheckViewItem(int id, bool checked);
// Flips a View item's check mark, tested as above; true when it is now checked.
bool ToggleViewItem(int id);
