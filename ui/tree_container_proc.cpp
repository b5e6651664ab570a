// Subclass of the tree pane's container: the borrowed tree always fills it.
#include <windows.h>

#include "ui/tree_pane_parts.h"

static const char* const PreviousProcProperty = "DTVDialogContainer";

static WNDPROC PreviousProc(HWND container) {
    return reinterpret_cast<WNDPROC>(GetPropA(container, PreviousProcProperty));
}

static void OnSize(HWND container) {
    HWND tree = PaneTree();
    if (!tree || GetParent(tree) != container) return;
    RECT client;
    GetClientRect(container, &client);
    MoveWindow(tree, 0, 0, client.right, client.bottom, TRUE);
}

static LRESULT OnNcDestroy(HWND container, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = PreviousProc(container);
    SetWindowLongPtrA(container, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(container, PreviousProcProperty);
    return CallWindowProcA(previous, container, WM_NCDESTROY, wParam, lParam);
}

static LRESULT CALLBACK TreeContainerProc(HWND container, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: OnSize(container); break;
    case WM_NCDESTROY: return OnNcDestroy(container, wParam, lParam);
    }
    return CallWindowProcA(PreviousProc(container), container, msg, wParam, lParam);
}

void SubclassTreeContainer(HWND container) {
    LONG_PTR previous =
        SetWindowLongPtrA(container, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TreeContainerProc));
    SetPropA(container, PreviousProcProperty, reinterpret_cast<HANDLE>(previous));
}
