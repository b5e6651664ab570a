#include "runtime/group_box.h"

#include "runtime/subclass.h"

static const char kGroupBoxProperty[] = "GRPCB";

static LRESULT CALLBACK GroupBoxProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        // The dialog acts on its buttons' ids; the group box still sees them.
        if (HWND parent = GetParent(wnd)) SendMessageA(parent, WM_COMMAND, wParam, lParam);
        break;
    case WM_NCDESTROY: return EndSubclass(kGroupBoxProperty, wnd, wParam, lParam);
    }
    return PassToPrevious(kGroupBoxProperty, wnd, msg, wParam, lParam);
}

void SubclassGroupBox(HWND groupBox) {
    SubclassWithProperty(groupBox, kGroupBoxProperty, GroupBoxProc);
}
