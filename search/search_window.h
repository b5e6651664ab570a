// The sub-folder search window: a modeless, resizable dialog over the main
// window that shows the drawings below the current folder as they are found.
#pragma once
#include <windows.h>

// The "Search Sub-Folders For Dwg Files" command: closes the previous search
// window (stopping its search) and opens a new one, whose search runs while
// it is being created. Returns when that search has ended.
void OpenSearchWindow();

// For the main window's close: stops a running search and closes the search
// window, after letting the walk see the stop.
void CloseSearchWindowForExit();

INT_PTR CALLBACK SearchWindowProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
// Subclasses the result list with its own procedure.
void SubclassSearchList(HWND list);
