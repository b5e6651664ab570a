// Subclass of the pane's tree. It runs on the pane's thread, inside that
// thread's message loop.
#include <windows.h>
#include <commctrl.h>

#include "runtime/app_state.h"
#include "runtime/subclass.h"
#include "ui/tree_pane.h"
#include "ui/tree_pane_parts.h"

static const char* const PreviousProcProperty = "DTVSystemTreeview";

// The window that last took the focus on a mouse wheel message.
static HWND lastWheelWindow = nullptr;

static void DropHighlight(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item));
}

static LRESULT OnContextMenu(HWND tree) {
    DWORD pos = GetMessagePos();
    TVHITTESTINFO hit = {};
    hit.pt.x = static_cast<short>(LOWORD(pos));
    hit.pt.y = static_cast<short>(HIWORD(pos));
    ScreenToClient(tree, &hit.pt);
    SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    DropHighlight(tree, hit.hItem);
    if (hit.hItem && hit.flags) ShowFolderContextMenu(tree, TreeItemPath(tree, hit.hItem), hit.pt);
    DropHighlight(tree, nullptr);
    return 1;
}

// True when the key is consumed here. What the keys do to the file list is
// done by the main thread, which owns the list.
static bool OnKeyUp(HWND tree, WPARAM key) {
    switch (key) {
    case VK_ESCAPE: PostTreeKey(tree, VK_ESCAPE); return false;
    case VK_F5:
        // The pane is rebuilt on the main thread, never from its own.
        PostMessageA(Win.main, WM_KEYUP, VK_F5, 0);
        return true;
    case 'A':
        if (GetAsyncKeyState(VK_CONTROL) < 0) PostTreeKey(tree, 'A');
        return false;
    }
    return false;
}

static void OnMouseWheel(HWND tree) {
    if (lastWheelWindow == tree) return;
    SetFocus(tree);
    lastWheelWindow = tree;
}

static LRESULT OnNcDestroy(HWND tree, WPARAM wParam, LPARAM lParam) {
    if (lastWheelWindow == tree) lastWheelWindow = nullptr;
    return EndSubclass(PreviousProcProperty, tree, wParam, lParam);
}

static LRESULT CALLBACK TreeViewProc(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The shared tooltip lives on the main thread and cannot subclass this
    // thread's tree, so the tree hands its mouse messages over.
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) PostMouseMessageForToolTip(tree, msg, lParam);
    switch (msg) {
    case WM_CONTEXTMENU: return OnContextMenu(tree);
    case WM_RBUTTONDOWN: return 1; // a right click neither selects nor lists
    case WM_KEYUP:
        if (OnKeyUp(tree, wParam)) return 1;
        break;
    case WM_MOUSEWHEEL: OnMouseWheel(tree); break;
    case WM_DROPFILES: DropFilesOnTree(tree, reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_NCDESTROY: return OnNcDestroy(tree, wParam, lParam);
    }
    return PassToPrevious(PreviousProcProperty, tree, msg, wParam, lParam);
}

void SubclassTreeView(HWND tree) {
    // The listed folder stays marked while the focus is in the file list.
    LONG style = GetWindowLongA(tree, GWL_STYLE);
    if (!(style & TVS_SHOWSELALWAYS)) SetWindowLongA(tree, GWL_STYLE, style | TVS_SHOWSELALWAYS);
    SubclassWithProperty(tree, PreviousProcProperty, TreeViewProc);
}
