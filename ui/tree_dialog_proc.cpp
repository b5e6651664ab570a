// The tree pane's hidden window, made on the pane's thread and never shown:
// the tree is made as its child, so that the tree's notifications come here,
// on the pane's thread, wherever the tree is shown.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "runtime/dialog_template.h"
#include "runtime/ids.h"
#include "ui/tree_pane_parts.h"

static WNDPROC previousDialogProc = nullptr;

// Selects the folder; the main thread waits at most this long.
constexpr DWORD kSelectBudget = 300;

static LRESULT CALLBACK TreeDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (AnswerTreeNotify(reinterpret_cast<NMHDR*>(lParam), result)) return result;
        break;
    }
    case WM_KVX_TREE_WORK: DoTreeWork(dialog); return 0;
    case WM_KVX_TREE_SELECT:
        SelectFolderInTree(*reinterpret_cast<const std::string*>(lParam), kSelectBudget);
        return 0;
    // Taking down a tree of many thousands of folders takes seconds: the
    // closing side is answered at once, and the windows end after.
    case WM_CLOSE:
        ShowWindow(dialog, SW_HIDE);
        EndTreeFolders();
        PostMessageA(dialog, WM_KVX_TREE_END, 0, 0);
        return 0;
    case WM_KVX_TREE_END: DestroyWindow(dialog); return 0;
    case WM_DESTROY: PostQuitMessage(0); break;
    }
    return CallWindowProcA(previousDialogProc, dialog, msg, wParam, lParam);
}

HWND CreateTreeDialog() {
    DialogTemplate empty;
    empty.Header(WS_POPUP | DS_SETFONT, 0, 0, 0, 1, 1, "", 8, "MS Sans Serif");
    HWND dialog =
        CreateDialogIndirectParamA(GetModuleHandleA(nullptr), empty.Get(), nullptr, nullptr, 0);
    if (!dialog) return nullptr;
    previousDialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TreeDialogProc)));
    return dialog;
}
