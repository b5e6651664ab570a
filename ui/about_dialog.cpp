#include "ui/about_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "runtime/app_state.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "runtime/subclass.h"
#include "runtime/win_helpers.h"

// Live while the box is open; only one About box is ever open.
static HFONT titleFont = nullptr;
static HBRUSH linkBrush = nullptr;

std::string AboutLinkTarget(int id, const std::string& text) {
    if (id == ID_ABOUT_WEB) return text;
    if (id == ID_ABOUT_MAIL) return "mailto:" + text;
    return std::string();
}

// Over a link the cursor is the hand.
static LRESULT LinkMessage(const char* property, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE: SetCursor(Win.handCursor); return 0;
    case WM_NCDESTROY: return EndSubclass(property, wnd, wParam, lParam);
    }
    return PassToPrevious(property, wnd, msg, wParam, lParam);
}

static LRESULT CALLBACK WebLinkProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return LinkMessage("hlink", wnd, msg, wParam, lParam);
}

static LRESULT CALLBACK MailLinkProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return LinkMessage("mlink", wnd, msg, wParam, lParam);
}

static void OnInitDialog(HWND dialog) {
    CenterWindow(dialog, GetWindow(dialog, GW_OWNER));
    SetFocus(GetDlgItem(dialog, ID_ABOUT_OK));
    HWND web = GetDlgItem(dialog, ID_ABOUT_WEB), mail = GetDlgItem(dialog, ID_ABOUT_MAIL);
    SubclassWithProperty(web, "hlink", WebLinkProc);
    SubclassWithProperty(mail, "mlink", MailLinkProc);
    CreateIconLabel(IDI_KORVEX, dialog, ID_ABOUT_ICON, 280, 30, 44, 44,
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_ICON);
    if (!Win.handCursor)
        Win.handCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_LINK));

    HWND title = GetDlgItem(dialog, ID_ABOUT_TITLE);
    titleFont = MakeWeightedFont("Arial", 16, 500);
    SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont), TRUE);
    RedrawWindow(title, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);

    SetToolTip(web, "Click To Visit The Korvex Web Site");
    SetToolTip(mail, "Click To Send An E-mail To Korvex");
}

// Links are blue on the dialog's own background, sampled from its client
// area, whatever the colour scheme.
static INT_PTR OnLinkColour(HWND dialog, HDC dc) {
    WindowDC dialogDc(dialog);
    COLORREF background = GetPixel(dialogDc.get(), 1, 1);
    if (background == CLR_INVALID) background = GetSysColor(COLOR_BTNFACE); // not on screen
    SetTextColor(dc, 0xFF0000);
    SetBkColor(dc, background);
    if (linkBrush) DeleteObject(linkBrush);
    linkBrush = CreateSolidBrush(background);
    return reinterpret_cast<INT_PTR>(linkBrush);
}

static void OpenLink(HWND dialog, int id) {
    std::string text = WindowText(GetDlgItem(dialog, id)).substr(0, 250);
    ShellExecuteA(nullptr, "open", AboutLinkTarget(id, text).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

static void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case ID_ABOUT_OK:
    case IDCANCEL: EndDialog(dialog, id); break; // OK, Esc
    case ID_ABOUT_WEB:
    case ID_ABOUT_MAIL:
        if (code == STN_CLICKED) OpenLink(dialog, id);
        break;
    }
}

// The shared tooltip outlives the box: the links' tools go with the links.
static void RemoveLinkTips(HWND dialog) {
    if (!Win.tooltip || !IsWindow(Win.tooltip)) return;
    for (int id : {ID_ABOUT_WEB, ID_ABOUT_MAIL}) {
        TOOLINFOA info = {};
        info.cbSize = TTTOOLINFOA_V1_SIZE;
        info.hwnd = dialog;
        info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id));
        SendMessageA(Win.tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

static void OnDestroy(HWND dialog) {
    RemoveLinkTips(dialog);
    HANDLE icon = reinterpret_cast<HANDLE>(
        SendDlgItemMessageA(dialog, ID_ABOUT_ICON, STM_GETIMAGE, IMAGE_ICON, 0));
    if (icon) DestroyIcon(static_cast<HICON>(icon));
    if (titleFont) DeleteObject(titleFont);
    if (linkBrush) DeleteObject(linkBrush);
    titleFont = nullptr;
    linkBrush = nullptr;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE; // the focus is set
    case WM_CTLCOLORSTATIC: {
        int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == ID_ABOUT_WEB || id == ID_ABOUT_MAIL)
            return OnLinkColour(dialog, reinterpret_cast<HDC>(wParam));
        return FALSE;
    }
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    }
    return FALSE;
}

void ShowAboutBox(HWND owner) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc,
                    0);
}
