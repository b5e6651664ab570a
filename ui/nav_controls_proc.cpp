// Subclasses of the path box, the filter box, the extension box and the
// status bar; each keeps its previous procedure in a window property.
#include <windows.h>
#include <shellapi.h>

#include "filelist/file_list_build.h"
#include "inspect/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/win_helpers.h"
#include "ui/main_window.h"
#include "ui/tree_pane.h"

static LRESULT PassOn(const char* property, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(wnd, property));
    return previous ? CallWindowProcA(previous, wnd, msg, wParam, lParam)
                    : DefWindowProcA(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK PathBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYUP && wParam == VK_F5) {
        RefreshTreePane();
        return 1;
    }
    return PassOn("LBL1", wnd, msg, wParam, lParam);
}

LRESULT CALLBACK FilterBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYUP) {
        if (wParam == VK_RETURN) {
            Sleep(200);
            BuildFileList();
            PumpMessages();
        } else if (wParam == VK_F5) {
            RefreshTreePane();
        }
        return 0;
    }
    return PassOn("INP10", wnd, msg, wParam, lParam);
}

LRESULT CALLBACK ExtensionBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYUP && wParam == VK_F5) {
        RefreshTreePane();
        return 0;
    }
    return PassOn("CBEXT", wnd, msg, wParam, lParam);
}

LRESULT CALLBACK StatusBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYUP && wParam == VK_F5) {
        RefreshTreePane();
        return 0;
    }
    if (msg == WM_LBUTTONDBLCLK) {
        ShellExecuteA(Win.main, "open", WithTrailingBackslash(CurrentFolder()).c_str(), nullptr,
                      nullptr, SW_SHOW);
        return 0;
    }
    return PassOn("STAT1", wnd, msg, wParam, lParam);
}
