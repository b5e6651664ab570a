// Control creators, message box, centring, message pump and font helpers.
#include "runtime/win_helpers.h"
#include "runtime/strings.h"

#include <commctrl.h>

#include "runtime/handles.h"

HFONT DefaultControlFont = nullptr;

HFONT ControlFont() {
    return DefaultControlFont ? DefaultControlFont
                              : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Creates the window and gives it the control font; null when creation fails.
static HWND MakeWindow(DWORD exStyle, const char* className, const char* text, DWORD style, int x,
                       int y, int w, int h, HWND parent, int id) {
    // Child windows carry their id in the menu parameter.
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    HWND wnd = CreateWindowExA(exStyle, className, text, style, x, y, w, h, parent, menu,
                               GetModuleHandleA(nullptr), nullptr);
    if (wnd) SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), TRUE);
    return wnd;
}

// The "-1 selects the edge" rule of buttons, edits, combo and list boxes and
// the progress bar.
static DWORD EdgeStyle(int exStyle, DWORD edge) {
    return exStyle == -1 ? edge : static_cast<DWORD>(exStyle);
}

static void Resize(HWND wnd, int w, int h) {
    SetWindowPos(wnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Sizes a control whose width was given as 0 to its text in its own font.
static void FitToText(HWND wnd, const char* text, int addWidth, int addHeight, int h) {
    SIZE ext = TextExtent(wnd, text ? text : "");
    Resize(wnd, ext.cx + addWidth, h < 0 ? ext.cy + addHeight : h);
}

HWND CreateForm(const char* text, HWND parent, int x, int y, int w, int h, DWORD style,
                DWORD exStyle) {
    if (!style)
        style =
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    return MakeWindow(exStyle, "KVX", text, style, x, y, w + 4, h + 12, parent, 0);
}

HWND CreateStatusBar(HWND parent, int id, int parts, const int* rightEdges, DWORD style) {
    if (!style) style = WS_CHILD | WS_VISIBLE | WS_BORDER | CCS_NOHILITE;
    HWND bar = CreateStatusWindowA(static_cast<LONG>(style), "", parent, static_cast<UINT>(id));
    if (!bar) return nullptr;
    SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), TRUE);
    if (parts > 0 && rightEdges)
        SendMessageA(bar, SB_SETPARTS, static_cast<WPARAM>(parts),
                     reinterpret_cast<LPARAM>(rightEdges));
    return bar;
}

HWND CreateButton(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style,
                  int exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_MULTILINE;
    HWND wnd = MakeWindow(EdgeStyle(exStyle, WS_EX_STATICEDGE), "button", text, style, x, y, w, h,
                          parent, id);
    if (wnd && w == 0) FitToText(wnd, text, 24, 12, -1);
    return wnd;
}

HWND CreateEdit(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style,
                int exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    return MakeWindow(EdgeStyle(exStyle, WS_EX_CLIENTEDGE), "edit", text, style, x, y, w, h, parent,
                      id);
}

HWND CreateLabel(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style,
                 DWORD exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
    HWND wnd = MakeWindow(exStyle, "static", text, style, x, y, w, h, parent, id);
    if (wnd && w == 0) FitToText(wnd, text, 0, 0, -1);
    return wnd;
}

HWND CreateGroupBox(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style,
                    DWORD exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
    return MakeWindow(exStyle, "button", text, style, x, y, w, h, parent, id);
}

HWND CreateCheckBox(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style,
                    DWORD exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
    HWND wnd = MakeWindow(exStyle, "button", text, style, x, y, w, h, parent, id);
    if (wnd && w == 0) FitToText(wnd, text, 24, 0, h);
    return wnd;
}

HWND CreateRadioButton(const char* text, HWND parent, int id, int x, int y, int w, int h,
                       DWORD style, DWORD exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
    HWND wnd = MakeWindow(exStyle, "button", text, style, x, y, w, h, parent, id);
    if (wnd && w == 0) FitToText(wnd, text, 24, 0, h);
    return wnd;
}

HWND CreateComboBox(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style,
                    int exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_SORT | CBS_DROPDOWN;
    return MakeWindow(EdgeStyle(exStyle, WS_EX_CLIENTEDGE), "Combobox", text, style, x, y, w, h,
                      parent, id);
}

HWND CreateListBox(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style,
                   int exStyle) {
    if (!style)
        style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT;
    return MakeWindow(EdgeStyle(exStyle, WS_EX_CLIENTEDGE), "Listbox", text, style, x, y, w, h,
                      parent, id);
}

HWND CreateBitmapLabel(int resourceId, const char* bmpFile, HWND parent, int id, int x, int y,
                       int w, int h, DWORD style, DWORD exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | SS_BITMAP;
    HWND wnd = MakeWindow(exStyle, "static", nullptr, style | SS_BITMAP, x, y, w, h, parent, id);
    if (!wnd) return nullptr;
    HANDLE image = resourceId ? LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                           IMAGE_BITMAP, w, h, LR_CREATEDIBSECTION)
                              : LoadImageA(nullptr, bmpFile ? bmpFile : "", IMAGE_BITMAP, w, h,
                                           LR_CREATEDIBSECTION | LR_LOADFROMFILE);
    if (image) {
        SendMessageA(wnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
        // A bitmap static sizes itself to its image; the control's size rules.
        Resize(wnd, w, h);
    }
    return wnd;
}

HWND CreateIconLabel(int iconResourceId, HWND parent, int id, int x, int y, int w, int h,
                     DWORD style, DWORD exStyle) {
    HWND wnd = MakeWindow(exStyle, "static", nullptr, style, x, y, w, h, parent, id);
    if (!wnd) return nullptr;
    HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconResourceId),
                             IMAGE_ICON, w, h, LR_DEFAULTCOLOR);
    if (icon) SendMessageA(wnd, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    return wnd;
}

HWND CreateControl(const char* className, const char* text, HWND parent, int id, int x, int y,
                   int w, int h, DWORD style, DWORD exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return MakeWindow(exStyle, className, text, style, x, y, w, h, parent, id);
}

HWND CreateProgressBar(HWND parent, int id, int x, int y, int w, int h, DWORD style, int exStyle) {
    if (!style) style = WS_CHILD | WS_VISIBLE;
    HWND wnd = MakeWindow(EdgeStyle(exStyle, WS_EX_CLIENTEDGE), PROGRESS_CLASSA, nullptr, style, x,
                          y, w, h, parent, id);
    if (!wnd) return nullptr;
    SendMessageA(wnd, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(wnd, PBM_SETSTEP, 1, 0);
    return wnd;
}

int ShowMessage(const std::string& text, const std::string& caption, UINT flags) {
    // A long path or name makes a box wider than the screen, cutting off its
    // start: each line is shortened in the middle instead.
    std::string shown;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        shown += ShortenedMiddle(text.substr(start, end - start), kLongestShownLine);
        if (end == std::string::npos) break;
        shown += '\n';
        start = end + 1;
    }
    return MessageBoxA(GetActiveWindow(), shown.c_str(),
                       ShortenedMiddle(caption, kLongestShownLine).c_str(), flags);
}

std::string SystemErrorText(DWORD error) {
    // A name too long for its folder is the usual case, and the system's own
    // words for it speak of a "file name or extension".
    if (error == ERROR_FILENAME_EXCED_RANGE) return "The name is too long.";
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string sentence =
        n && text ? std::string(text, n) : "Error " + std::to_string(error) + ".";
    if (text) LocalFree(text);
    while (!sentence.empty() && (sentence.back() == '\n' || sentence.back() == '\r'))
        sentence.pop_back();
    return sentence;
}

void CenterWindow(HWND wnd, HWND reference, HWND reference2) {
    RECT own, area;
    if (!GetWindowRect(wnd, &own)) return;
    if (!reference) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    } else {
        GetWindowRect(reference, &area);
        RECT second;
        if (reference2 && GetWindowRect(reference2, &second)) UnionRect(&area, &area, &second);
    }
    int w = own.right - own.left, h = own.bottom - own.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    if (x + w > screenW) x = screenW - w;
    if (y + h > screenH) y = screenH - h;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // The quit request belongs to the main message loop: leave it queued.
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string WindowText(HWND wnd) {
    int n = GetWindowTextLengthA(wnd);
    std::string text(n + 1, '\0');
    n = GetWindowTextA(wnd, &text[0], n + 1);
    text.resize(n > 0 ? n : 0);
    return text;
}

SIZE TextExtent(HWND wnd, const std::string& text) {
    SIZE size = {0, 0};
    WindowDC dc(wnd);
    if (!dc.get()) return size;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc.get(), font) : nullptr;
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    if (old) SelectObject(dc.get(), old);
    return size;
}

HFONT MakeFont(const std::string& face, int points, bool bold, bool italic, bool underline,
               bool strikeOut) {
    return MakeWeightedFont(face, points, bold ? FW_BOLD : FW_NORMAL, italic, underline, strikeOut);
}

HFONT MakeWeightedFont(const std::string& face, int points, int weight, bool italic, bool underline,
                       bool strikeOut) {
    WindowDC screen;
    int height = -MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    return CreateFontA(height, 0, 0, 0, weight, italic, underline, strikeOut, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

void InsertMenuEntry(HMENU menu, UINT position, UINT id, const std::string& text, UINT type) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = type;
    item.wID = id;
    item.dwTypeData = const_cast<char*>(text.c_str());
    InsertMenuItemA(menu, position, TRUE, &item);
}
