// Esc released in an edit or push button of the zip options dialog: the keys
// the dialog manager does not see while a zip run pumps messages itself.
#include "export/zip_options.h"

#include "runtime/subclass.h"

static const char kEscapeProperty[] = "ZIPESC";

static LRESULT CALLBACK ZipEscapeProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYUP:
        if (wParam == VK_ESCAPE) ZipOptionsEscape();
        break;
    case WM_NCDESTROY: return EndSubclass(kEscapeProperty, wnd, wParam, lParam);
    }
    return PassToPrevious(kEscapeProperty, wnd, msg, wParam, lParam);
}

void SubclassZipEscape(HWND control) {
    SubclassWithProperty(control, kEscapeProperty, ZipEscapeProc);
}
