#include "runtime/text_fit.h"

#include <map>
#include <string>

#include "runtime/handles.h"
#include "runtime/win_helpers.h"

namespace {

// Smaller fonts are made once per face and height and kept for the process.
std::map<std::pair<std::string, LONG>, GdiObject<HFONT>> smallerFonts;

HFONT SmallerFont(const LOGFONTA& base, LONG height) {
    GdiObject<HFONT>& font = smallerFonts[{base.lfFaceName, height}];
    if (!font.get()) {
        LOGFONTA smaller = base;
        smaller.lfHeight = height;
        smaller.lfWidth = 0;
        font.reset(CreateFontIndirectA(&smaller));
    }
    return font.get();
}

// Room the control's own glyph takes beside the text.
int GlyphWidth(HWND control) {
    char cls[16] = {};
    GetClassNameA(control, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") != 0) return 0;
    LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    bool boxed = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                 type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
    return boxed ? GetSystemMetrics(SM_CXMENUCHECK) + 6 : -1;
}

bool IsStaticText(HWND control) {
    char cls[16] = {};
    GetClassNameA(control, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) return false;
    LONG type = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP;
}

BOOL CALLBACK FitOne(HWND control, LPARAM) {
    FitTextToWidth(control);
    return TRUE;
}

} // namespace

void FitTextToWidth(HWND control) {
    FitTextToWidth(control, WindowText(control));
}

void FitTextToWidth(HWND control, const std::string& text) {
    int glyph = GlyphWidth(control);
    if (glyph < 0 || (glyph == 0 && !IsStaticText(control))) return;
    RECT client = {};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA base = {};
    if (text.empty() || !font || !GetObjectA(font, sizeof base, &base) ||
        !GetClientRect(control, &client))
        return;
    const int room = client.right - glyph;
    SIZE extent = TextExtent(control, text);
    // Paragraphs, made tall enough to wrap, are left to wrap.
    if (extent.cx <= room || client.bottom >= 2 * extent.cy) return;
    // Heights are negative (character height) or positive (cell height);
    // either way a smaller magnitude is a smaller font. Six pixels at least.
    LONG sign = base.lfHeight < 0 ? -1 : 1;
    for (LONG height = base.lfHeight * sign - 1; height >= 6; --height) {
        HFONT smaller = SmallerFont(base, height * sign);
        if (!smaller) return;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(smaller), FALSE);
        if (TextExtent(control, text).cx <= room) break;
    }
    InvalidateRect(control, nullptr, TRUE);
}

void FitTextsToWidths(HWND window) {
    EnumChildWindows(window, FitOne, 0);
}
