// The file list's context menu and the commands it runs.
#pragma once
#include <windows.h>

#include <string>

// The menu for the row named `name` ("" when no row is under the cursor),
// with `selected` of `count` rows selected and a preview found for the row.
// The caller destroys it (which destroys its submenus too).
HMENU BuildListContextMenu(const std::string& name, int selected, int count, bool previewFound);

// WM_CONTEXTMENU of the file list: the menu at the screen point (the
// message's position when the point is not given), then its command.
void ShowListContextMenu(LPARAM screenPoint);

// Runs a command of the menu that was opened at menuPoint.
void RunListCommand(int id, POINT menuPoint);
