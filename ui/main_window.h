// Start-up and shutdown of the main window.
#pragma once
#include <windows.h>

// Registers the window class and builds the main window with every control,
// its menu bar and its settings (the settings file must be prepared first).
// Returns the main window, or null when it cannot be created.
HWND CreateMainWindow();
// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();

// Window procedures of the main window: commands and layout, and the
// notification layer in front of it.
LRESULT CALLBACK MainWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MainNotifyProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FileListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SplitterProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PathBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FilterBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ExtensionBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StatusBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressLabelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Make the progress label and bar keep the texts and positions they take
// while not being drawn.
void SubclassProgressLabel(HWND label);
LRESULT CALLBACK ProgressBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
void SubclassProgressBar(HWND bar);
