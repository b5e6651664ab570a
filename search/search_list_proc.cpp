// The result list's subclass: Esc closes the window, a double click opens a
// drawing, header clicks sort.
#include <windows.h>
#include <commctrl.h>

#include "search/search_results.h"
#include "search/search_window.h"

// The list view's own procedure. Kept in a global rather than a window
// property: the list gets several messages for every row found, and a
// property is looked up anew for each.
static WNDPROC previousSearchListProc;

static void OnNotify(HWND list, const NMHDR* hdr) {
    // The header speaks to the list, its parent, in either character set.
    if (hdr->code == HDN_ITEMCLICKA || hdr->code == HDN_ITEMCLICKW)
        SortResultsByHeaderClick(list, reinterpret_cast<const NMHEADERA*>(hdr)->iItem);
}

static LRESULT CALLBACK SearchListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);

// A click, drag or resize on the header, not its painting (which notifies
// the list too, every time the list is shown).
static bool IsHeaderAction(LPARAM lParam) {
    UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
    return code >= HDN_LAST && code <= HDN_FIRST;
}

void SubclassSearchList(HWND list) {
    previousSearchListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SearchListProc)));
}

static LRESULT CALLBACK SearchListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    // While the search holds the list's drawing, what the user does to the
    // list is shown at the next tick of the search window's timer.
    if ((msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
        (msg >= WM_LBUTTONDOWN && msg <= WM_MOUSELAST) || msg == WM_VSCROLL || msg == WM_HSCROLL ||
        msg == WM_SIZE || (msg == WM_NOTIFY && IsHeaderAction(lParam)))
        NoteResultListTouched(list);
    switch (msg) {
    case WM_KEYUP:
        if (wParam == VK_ESCAPE) {
            SendMessageA(GetParent(list), WM_CLOSE, 0, 0);
            return 0; // the list is gone now
        }
        break;
    case WM_LBUTTONDBLCLK: OpenResultAtMessagePos(list); return 0;
    case WM_NOTIFY: OnNotify(list, reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_NCDESTROY: ReleaseResultList(list); break;
    }
    return CallWindowProcA(previousSearchListProc, list, msg, wParam, lParam);
}
