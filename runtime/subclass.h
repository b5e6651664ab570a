// Subclassed controls keep their previous window procedure in a property.
#pragma once
#include <windows.h>

// Subclasses a control, keeping its previous procedure in the property.
inline void SubclassWithProperty(HWND wnd, const char* property, WNDPROC proc) {
    LONG_PTR previous = SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    SetPropA(wnd, property, reinterpret_cast<HANDLE>(previous));
}

// Hands a message on to the procedure kept in the property.
inline LRESULT PassToPrevious(const char* property, HWND wnd, UINT msg, WPARAM wParam,
                              LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(wnd, property));
    return previous ? CallWindowProcA(previous, wnd, msg, wParam, lParam)
                    : DefWindowProcA(wnd, msg, wParam, lParam);
}

// For WM_NCDESTROY: puts the previous procedure back, drops the property and
// hands the message on, so that nothing of the subclass outlives the window.
inline LRESULT EndSubclass(const char* property, HWND wnd, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(RemovePropA(wnd, property));
    if (!previous) return DefWindowProcA(wnd, WM_NCDESTROY, wParam, lParam);
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return CallWindowProcA(previous, wnd, WM_NCDESTROY, wParam, lParam);
}
