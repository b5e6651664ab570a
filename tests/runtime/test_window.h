// A plain top-level window of the program's class to put controls on.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "runtime/win_helpers.h"

// The main window registers "KVX"; these tests register a plain one when they
// run without it.
inline void EnsureFormClass() {
    WNDCLASSA wc = {};
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (GetClassInfoA(inst, "KVX", &wc)) return;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "KVX";
    RegisterClassA(&wc);
}

class TestForm {
  public:
    explicit TestForm(int x = 100, int y = 100, int w = 400, int h = 300) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        EnsureFormClass();
        wnd_ = CreateForm("Test", nullptr, x, y, w, h);
    }
    ~TestForm() {
        if (IsWindow(wnd_)) DestroyWindow(wnd_);
    }
    TestForm(const TestForm&) = delete;
    TestForm& operator=(const TestForm&) = delete;
    HWND get() const { return wnd_; }
    // Shows the form and makes it the active window, as a user's click would.
    bool Activate() const {
        ShowWindow(wnd_, SW_SHOW);
        SetForegroundWindow(wnd_);
        SetActiveWindow(wnd_);
        return GetActiveWindow() == wnd_;
    }

  private:
    HWND wnd_;
};

inline RECT WindowRect(HWND wnd) {
    RECT r = {};
    GetWindowRect(wnd, &r);
    return r;
}
inline int Width(HWND wnd) {
    RECT r = WindowRect(wnd);
    return r.right - r.left;
}
inline int Height(HWND wnd) {
    RECT r = WindowRect(wnd);
    return r.bottom - r.top;
}
