#include "export/font_picker.h"

#include <cstdlib>
#include <string>

#include "runtime/handles.h"
#include "runtime/ids.h"

const char kFontPickerClass[] = "xSelectFontCtrl";

namespace {

// Window extra data: three 32-bit values.
const int kItemHeightSlot = 0; // pixel height of 14 points on the screen
const int kWidestSlot = 4;     // widest entry measured so far
const int kLabelFontSlot = 8;  // "Arial" at the item height, owned by the control

// Shown beside the names of fonts that cannot show their own name legibly.
const char kSample[] = " abXY12";

HWND Combo(HWND wnd) {
    return GetDlgItem(wnd, ID_FONT_PICKER_COMBO);
}

int ItemHeight(HWND wnd) {
    return static_cast<int>(GetWindowLongA(wnd, kItemHeightSlot));
}

HFONT LabelFont(HWND wnd) {
    return reinterpret_cast<HFONT>(static_cast<LONG_PTR>(GetWindowLongA(wnd, kLabelFontSlot)));
}

HFONT MakeFaceFont(int height, const char* face) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

// The text of a list entry; false for the selection field's -1, for texts of
// 512 characters or more and for texts that cannot be read.
bool EntryText(HWND combo, UINT index, std::string& text) {
    if (index == static_cast<UINT>(-1)) return false;
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length >= 512) return false;
    text.assign(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    if (got == CB_ERR) return false;
    text.resize(static_cast<size_t>(got));
    return true;
}

SIZE Extent(HDC dc, const std::string& text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void ResizeToCombo(HWND wnd) {
    RECT control, combo;
    GetWindowRect(wnd, &control);
    GetWindowRect(Combo(wnd), &combo);
    SetWindowPos(wnd, nullptr, 0, 0, control.right - control.left, combo.bottom - combo.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM combo) {
    SendMessageA(reinterpret_cast<HWND>(combo), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(font->lfFaceName));
    return 1; // never stop early
}

} // namespace

static LRESULT OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    HWND combo =
        CreateWindowExA(0, "COMBOBOX", "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST |
                            CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS | CBS_SORT,
                        0, 0, cs->cx, 20 * HIWORD(GetDialogBaseUnits()), wnd,
                        reinterpret_cast<HMENU>(ID_FONT_PICKER_COMBO), cs->hInstance, nullptr);
    if (!combo) return -1;
    RECT closed;
    GetWindowRect(combo, &closed);
    SetWindowPos(wnd, nullptr, cs->x, cs->y, cs->cx, closed.bottom - closed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    WindowDC dc(combo);
    int height = MulDiv(14, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    SetWindowLongA(wnd, kItemHeightSlot, height);
    SetWindowLongA(wnd, kWidestSlot, 0);
    SetWindowLongA(wnd, kLabelFontSlot,
                   static_cast<LONG>(reinterpret_cast<LONG_PTR>(MakeFaceFont(height, "Arial"))));
    return 0;
}

static LRESULT OnSetFont(HWND wnd, WPARAM wParam, LPARAM lParam) {
    SendMessageA(Combo(wnd), WM_SETFONT, wParam, lParam);
    HFONT font =
        wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA lf;
    if (GetObjectA(font, sizeof lf, &lf)) {
        // A character height (negative) is no field height: measure the cell.
        int height = lf.lfHeight;
        if (height <= 0) {
            WindowDC dc(Combo(wnd));
            HGDIOBJ old = SelectObject(dc.get(), font);
            TEXTMETRICA tm;
            height = GetTextMetricsA(dc.get(), &tm) ? tm.tmHeight : -height;
            SelectObject(dc.get(), old);
        }
        SendMessageA(Combo(wnd), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
    }
    ResizeToCombo(wnd);
    return 0;
}

static void FillFonts(HWND wnd) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    LANGID language = LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)));
    // Hindi and Tamil have no ANSI code page of their own.
    if (language != 1081 && language != 1097) {
        char codePage[10] = "";
        GetLocaleInfoA(MAKELCID(language, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE, codePage,
                       sizeof codePage);
        CHARSETINFO info;
        if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(atoi(codePage))),
                                 &info, TCI_SRCCODEPAGE))
            lf.lfCharSet = static_cast<BYTE>(info.ciCharset);
    }
    HWND combo = Combo(wnd);
    SendMessageA(combo, CB_INITSTORAGE, 100, 100 * 50);
    WindowDC dc(combo);
    EnumFontFamiliesExA(dc.get(), &lf, AddFace, reinterpret_cast<LPARAM>(combo), 0);
    lf.lfCharSet = SYMBOL_CHARSET;
    EnumFontFamiliesExA(dc.get(), &lf, AddFace, reinterpret_cast<LPARAM>(combo), 0);
}

static void OnMeasureItem(HWND wnd, MEASUREITEMSTRUCT* mis) {
    std::string face;
    if (!EntryText(Combo(wnd), mis->itemID, face)) return;
    WindowDC dc(wnd);
    GdiObject<HFONT> font(MakeFaceFont(ItemHeight(wnd), face.c_str()));
    HGDIOBJ old = SelectObject(dc.get(), font.get());
    bool legible = GetTextCharset(dc.get()) == ANSI_CHARSET;
    SIZE size = Extent(dc.get(), legible ? face : kSample);
    int width = size.cx + 2;
    int height = (size.cy > ItemHeight(wnd) ? size.cy : ItemHeight(wnd)) + 2;
    if (!legible) {
        SelectObject(dc.get(), LabelFont(wnd));
        width += Extent(dc.get(), face).cx;
    }
    SelectObject(dc.get(), old);
    mis->itemWidth = static_cast<UINT>(width);
    mis->itemHeight = static_cast<UINT>(height);
    if (width > GetWindowLongA(wnd, kWidestSlot)) SetWindowLongA(wnd, kWidestSlot, width);
}

static void WriteClipped(HDC dc, int x, int y, const RECT& clip, const std::string& text) {
    ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &clip, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
}

static void OnDrawItem(HWND wnd, const DRAWITEMSTRUCT* dis) {
    std::string face;
    if (!EntryText(Combo(wnd), dis->itemID, face)) return;
    HDC dc = dis->hDC;
    bool selected = (dis->itemState & ODS_SELECTED) != 0;
    COLORREF oldText =
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    COLORREF oldBack = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    RECT rc = dis->rcItem;
    int itemHeight = rc.bottom - rc.top;
    TEXTMETRICA tm;

    if (dis->itemState & ODS_COMBOBOXEDIT) {
        // The selection field shows the name in the dialog's font.
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(Combo(wnd), WM_GETFONT, 0, 0)));
        GetTextMetricsA(dc, &tm);
        WriteClipped(dc, rc.left + 5, rc.top + (itemHeight - tm.tmHeight) / 2, rc, face);
        SelectObject(dc, old);
    } else {
        GdiObject<HFONT> font(MakeFaceFont(ItemHeight(wnd), face.c_str()));
        HGDIOBJ old = SelectObject(dc, font.get());
        bool legible = GetTextMetricsA(dc, &tm) && tm.tmCharSet == ANSI_CHARSET;
        if (!legible) {
            // The name in Arial, then the sample in the font itself.
            SelectObject(dc, LabelFont(wnd));
            UINT align = SetTextAlign(dc, TA_UPDATECP);
            MoveToEx(dc, rc.left + 5, rc.top + (itemHeight - ItemHeight(wnd)) / 2, nullptr);
            WriteClipped(dc, 0, 0, rc, face);
            POINT at;
            GetCurrentPositionEx(dc, &at);
            rc.left = at.x;
            MoveToEx(dc, rc.left + 5, rc.top + (itemHeight - tm.tmHeight) / 2, nullptr);
            SelectObject(dc, font.get());
            WriteClipped(dc, 0, 0, rc, kSample);
            SetTextAlign(dc, align);
        } else {
            WriteClipped(dc, rc.left + 5, rc.top + (itemHeight - tm.tmHeight) / 2, rc, face);
        }
        SelectObject(dc, old);
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

static void OnComboCommand(HWND wnd, int code) {
    if (code == CBN_DROPDOWN)
        SendMessageA(Combo(wnd), CB_SETDROPPEDWIDTH, GetWindowLongA(wnd, kWidestSlot) + 10, 0);
    int id = GetDlgCtrlID(wnd);
    SendMessageA(GetParent(wnd), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(wnd));
}

static LRESULT CALLBACK FontPickerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        DeleteObject(LabelFont(wnd));
        SetWindowLongA(wnd, kLabelFontSlot, 0);
        break;
    case WM_SETFOCUS: return SetFocus(Combo(wnd)) ? 0 : 1;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETFONT:
    case WM_GETDLGCODE: return SendDlgItemMessageA(wnd, ID_FONT_PICKER_COMBO, msg, wParam, lParam);
    case WM_SETFONT: return OnSetFont(wnd, wParam, lParam);
    case WM_MEASUREITEM: OnMeasureItem(wnd, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); return 1;
    case WM_DRAWITEM: OnDrawItem(wnd, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_FONT_PICKER_COMBO) OnComboCommand(wnd, HIWORD(wParam));
        return 0;
    case WM_KVX_FILL_FONTS: FillFonts(wnd); return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

bool RegisterFontPickerClass() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kFontPickerClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FontPickerProc;
    wc.cbWndExtra = 12;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kFontPickerClass;
    return RegisterClassExA(&wc) != 0;
}
