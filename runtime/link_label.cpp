#include "runtime/link_label.h"

#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/subclass.h"

static const char kWebProperty[] = "hlink";
static const char kMailProperty[] = "mlink";

HCURSOR LinkCursor() {
    if (!Win.handCursor)
        Win.handCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_LINK));
    return Win.handCursor;
}

static LRESULT LinkProc(const char* property, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE: SetCursor(LinkCursor()); return 0;
    case WM_NCDESTROY: return EndSubclass(property, wnd, wParam, lParam);
    }
    return PassToPrevious(property, wnd, msg, wParam, lParam);
}

static LRESULT CALLBACK WebLinkProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return LinkProc(kWebProperty, wnd, msg, wParam, lParam);
}

static LRESULT CALLBACK MailLinkProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return LinkProc(kMailProperty, wnd, msg, wParam, lParam);
}

void SubclassWebLink(HWND label) {
    SubclassWithProperty(label, kWebProperty, WebLinkProc);
}

void SubclassMailLink(HWND label) {
    SubclassWithProperty(label, kMailProperty, MailLinkProc);
}
