// The listing's progress label. The listing gives it a text for every drawing
// but has it drawn at most every 50 ms, with redrawing off in between; under
// Wine every text a window takes is a trip to the display server. While its
// redrawing is off the label keeps its text here, answers for it from here,
// and hands it to the window when redrawing resumes.
#include <string>

#include "runtime/subclass.h"
#include "ui/main_window.h"

static const char kProperty[] = "KVXLABEL";
static bool holding = false;
static std::string heldText;

static LRESULT OnSetRedraw(HWND wnd, WPARAM on, LPARAM lParam) {
    if (!on && !holding) {
        int n = GetWindowTextLengthA(wnd);
        heldText.assign(n + 1, '\0');
        GetWindowTextA(wnd, &heldText[0], n + 1);
        heldText.resize(n);
        holding = true;
    } else if (on && holding) {
        holding = false;
        PassToPrevious(kProperty, wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(heldText.c_str()));
    }
    return PassToPrevious(kProperty, wnd, WM_SETREDRAW, on, lParam);
}

static LRESULT CopyHeldText(WPARAM size, LPARAM buffer) {
    if (size == 0 || !buffer) return 0;
    size_t n = heldText.copy(reinterpret_cast<char*>(buffer), size - 1);
    reinterpret_cast<char*>(buffer)[n] = '\0';
    return static_cast<LRESULT>(n);
}

LRESULT CALLBACK ProgressLabelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETREDRAW: return OnSetRedraw(wnd, wParam, lParam);
    case WM_SETTEXT:
        if (!holding) break;
        heldText = lParam ? reinterpret_cast<const char*>(lParam) : "";
        return TRUE;
    case WM_GETTEXT:
        if (holding) return CopyHeldText(wParam, lParam);
        break;
    case WM_GETTEXTLENGTH:
        if (holding) return static_cast<LRESULT>(heldText.size());
        break;
    case WM_NCDESTROY: holding = false; return EndSubclass(kProperty, wnd, wParam, lParam);
    }
    return PassToPrevious(kProperty, wnd, msg, wParam, lParam);
}

void SubclassProgressLabel(HWND label) {
    SubclassWithProperty(label, kProperty, ProgressLabelProc);
}
