// The bar between the tree pane and the file list; dragging it sets the
// tree's width.
#include <windows.h>

#include "runtime/app_state.h"
#include "ui/main_layout.h"
#include "ui/main_window.h"

static void OnButtonUp() {
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(Win.main, &pt);
    ReleaseCapture();
    Settings.treeWidth = pt.x - 2;
    MoveWindow(Win.splitter, Settings.treeWidth, 0, 4, Win.clientHeight, TRUE);
    LayoutMainWindow();
}

LRESULT CALLBACK SplitterProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE: SetCursor(Win.splitterCursor); return 0;
    case WM_LBUTTONDOWN:
        SetCursor(Win.splitterCursor);
        SetCapture(wnd);
        break;
    case WM_LBUTTONUP: OnButtonUp(); break;
    }
    return CallWindowProcA(Win.previousSplitterProc, wnd, msg, wParam, lParam);
}
