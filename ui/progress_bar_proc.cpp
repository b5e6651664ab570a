// The listing's progress bar. The listing moves it for every drawing but has
// it drawn at most every 50 ms, with redrawing off in between; under Wine
// every move still asks the display server to repaint it. While its redrawing
// is off the bar keeps its position here, answers for it from here, and
// moves to it when redrawing resumes.
#include <windows.h>
#include <commctrl.h>

#include "runtime/subclass.h"
#include "ui/main_window.h"

static const char kProperty[] = "KVXBAR";
static bool holding = false;
static LRESULT heldPosition = 0;

static LRESULT Previous(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return PassToPrevious(kProperty, wnd, msg, wParam, lParam);
}

// The held position reaches the bar before anything else it is told.
static void LetGo(HWND wnd) {
    if (!holding) return;
    holding = false;
    Previous(wnd, PBM_SETPOS, static_cast<WPARAM>(heldPosition), 0);
}

static LRESULT OnSetRedraw(HWND wnd, WPARAM on, LPARAM lParam) {
    if (!on && !holding) {
        heldPosition = Previous(wnd, PBM_GETPOS, 0, 0);
        holding = true;
    } else if (on) {
        LetGo(wnd);
    }
    return Previous(wnd, WM_SETREDRAW, on, lParam);
}

LRESULT CALLBACK ProgressBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETREDRAW: return OnSetRedraw(wnd, wParam, lParam);
    case PBM_SETPOS:
        if (holding) {
            LRESULT previous = heldPosition;
            heldPosition = static_cast<int>(wParam);
            return previous;
        }
        break;
    case PBM_GETPOS:
        if (holding) return heldPosition;
        break;
    case WM_NCDESTROY: holding = false; return EndSubclass(kProperty, wnd, wParam, lParam);
    default:
        if (msg >= WM_USER) LetGo(wnd); // ranges, steps and the like see the true position
        break;
    }
    return Previous(wnd, msg, wParam, lParam);
}

void SubclassProgressBar(HWND bar) {
    SubclassWithProperty(bar, kProperty, ProgressBarProc);
}
