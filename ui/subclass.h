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
