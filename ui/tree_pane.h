// The folder tree on the left of the main window, borrowed from the system's
// folder browser, and the owner of the current folder.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

HWND CreateTreePane(HWND parent, int id, int x, int y, int width, int height);
void DestroyTreePane();
// Selects the folder in the tree; the selection then lists it. The path may
// gain or lose a trailing backslash.
void NavigateTo(std::string path);
void RefreshTreePane();
// The F5 of every control of the main window: true, after the refresh, when
// the released key is F5.
bool RefreshOnF5(WPARAM key);
// Lists the current folder, superseding a listing that is still running.
void RestartListBuild();
// Runs the first navigation once the window build and the pane's browser are
// both complete; called by both sides, it acts only once per pane.
void RunFirstNavigationIfReady();
std::string TreeItemPath(HWND tree, HTREEITEM item);
int ShowFolderContextMenu(HWND wnd, const std::string& path, POINT pt);
