// The folder tree on the left of the main window, on a thread of its own,
// and the owner of the current folder.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

HWND CreateTreePane(HWND parent, int id, int x, int y, int width, int height);
// Takes the pane down and waits for its thread to end, handling only the
// messages sent to this thread meanwhile.
void DestroyTreePane();
// Makes the folder the current folder and selects it in the tree; the
// selection then lists it. A pane that is still starting goes there once it
// is in. The path may gain or lose a trailing backslash.
void NavigateTo(std::string path);
// Replaces the pane by a new one that returns to the current folder. A
// refresh asked for while a new pane is still starting is folded into it.
void RefreshTreePane();
// The F5 of every control of the main window: true, after the refresh, when
// the released key is F5.
bool RefreshOnF5(WPARAM key);
// Lists the current folder, superseding a listing that is still running.
void RestartListBuild();
// Runs the first navigation once the window build and the pane's windows are
// both complete; called by both sides, it acts only once per pane.
void RunFirstNavigationIfReady();
std::string TreeItemPath(HWND tree, HTREEITEM item);
int ShowFolderContextMenu(HWND wnd, const std::string& path, POINT pt);
