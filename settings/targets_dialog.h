// The "Copy/Move Options" dialog: edits the five Copy To and five Move To
// target folders of the file list's context menu and whether each is shown.
#pragma once
#include <windows.h>

// Modal. "Save" keeps the edits in memory.
void ShowTargetsDialog(HWND owner);
