// The file list's subclass: header clicks sort, F5 refreshes, the other keys,
// double-clicks and the context menu act on the rows, dropped files are copied
// or moved in.
#include <windows.h>
#include <commctrl.h>

#include "filelist/list_sorting.h"
#include "runtime/app_state.h"
#include "runtime/win_helpers.h"
#include "filemanager/file_operations.h"
#include "filemanager/list_context_menu.h"
#include "filemanager/list_keys.h"
#include "filemanager/drag_drop.h"
#include "ui/main_window.h"
#include "ui/tree_pane.h"

static void OnNotify(const NMHDR* hdr) {
    // The header may speak either character set to the list.
    if (hdr->code == HDN_ITEMCLICKA || hdr->code == HDN_ITEMCLICKW)
        SortByHeaderClick(reinterpret_cast<const NMHEADERA*>(hdr)->iItem);
}

LRESULT CALLBACK FileListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    RelayToolTipEvent(wnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NOTIFY: OnNotify(reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_KEYUP:
        if (RefreshOnF5(wParam)) return 0;
        break;
    case WM_KEYDOWN:
        if (HandleListKeyDown(wParam, lParam)) return 0;
        break;
    case WM_GETDLGCODE:
        if (ListWantsKey(reinterpret_cast<const MSG*>(lParam)))
            return CallWindowProcA(Win.previousListProc, wnd, msg, wParam, lParam) |
                   DLGC_WANTMESSAGE;
        break;
    case WM_LBUTTONDBLCLK:
        OpenRowAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 1;
    case WM_CONTEXTMENU: ShowListContextMenu(lParam); return 1;
    case WM_DROPFILES: DropOnList(reinterpret_cast<HDROP>(wParam)); return 0;
    }
    return CallWindowProcA(Win.previousListProc, wnd, msg, wParam, lParam);
}
