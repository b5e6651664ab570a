// The path box: F5 rebuilds the tree pane.
#include "ui/main_window.h"
#include "runtime/subclass.h"
#include "ui/tree_pane.h"

LRESULT CALLBACK PathBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYUP:
        if (RefreshOnF5(wParam)) return 1;
        break;
    }
    return PassToPrevious("LBL1", wnd, msg, wParam, lParam);
}
