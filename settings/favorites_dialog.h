// The "Favorite Directories" dialog: edits the twenty favourite folders.
#pragma once
#include <windows.h>

// Modal. "Save" keeps the edits in memory and relabels the Favorites menu.
void ShowFavoritesDialog(HWND owner);
