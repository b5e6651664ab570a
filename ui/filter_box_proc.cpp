// The filter box: Enter lists with the new filter, F5 rebuilds the tree pane,
// and no other released key goes further.
#include "filelist/file_list_build.h"
#include "runtime/win_helpers.h"
#include "ui/main_window.h"
#include "runtime/subclass.h"
#include "ui/tree_pane.h"

static void OnKeyUp(WPARAM key) {
    if (key == VK_RETURN) {
        Sleep(200);
        BuildFileList();
        PumpMessages();
    } else {
        RefreshOnF5(key);
    }
}

LRESULT CALLBACK FilterBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYUP: OnKeyUp(wParam); return 0;
    }
    return PassToPrevious("INP10", wnd, msg, wParam, lParam);
}
