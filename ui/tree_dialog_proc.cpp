// Subclass of the folder browser's dialog, which only lends its tree: the
// dialog is hidden at its first move and the subclass then steps aside.
#include <windows.h>

#include "ui/tree_pane_parts.h"

static WNDPROC previousDialogProc = nullptr;

static void OnFirstMove(HWND dialog) {
    ShowWindow(dialog, SW_HIDE);
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousDialogProc));
}

static LRESULT CALLBACK TreeDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = previousDialogProc;
    switch (msg) {
    case WM_MOVE: OnFirstMove(dialog); break;
    }
    return CallWindowProcA(previous, dialog, msg, wParam, lParam);
}

void SubclassTreeDialog(HWND dialog) {
    previousDialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TreeDialogProc)));
}
