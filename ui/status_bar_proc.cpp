// The status bar: F5 rebuilds the tree pane; a double-click opens the shown
// folder in the system's file manager.
#include <windows.h>
#include <shellapi.h>

#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "ui/main_window.h"
#include "runtime/subclass.h"
#include "ui/tree_pane.h"

LRESULT CALLBACK StatusBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYUP:
        if (RefreshOnF5(wParam)) return 0;
        break;
    case WM_LBUTTONDBLCLK:
        ShellExecuteA(Win.main, "open", WithTrailingBackslash(CurrentFolder()).c_str(), nullptr,
                      nullptr, SW_SHOW);
        return 0;
    }
    return PassToPrevious("STAT1", wnd, msg, wParam, lParam);
}
