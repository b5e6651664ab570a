// The search window's dialog procedure; the search runs in its WM_INITDIALOG.
#include "search/search_window.h"

#include <commctrl.h>

#include <string>

#include "runtime/file_facts.h"
#include "filelist/list_rows.h"
#include "runtime/app_state.h"
#include "runtime/dialog_template.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "search/drawing_search.h"
#include "search/search_results.h"

static const char kSearchingTitle[] = "Searching for AutoCAD files (Press ESC to cancel)... ";

// The field left of the button takes what room there is; in a window too
// narrow for both, the button moves right of the field rather than over it.
constexpr int kPropertyLabelWidth = 100;
constexpr int kLeastFieldWidth = 80;

static void LayOut(HWND dlg, int w, int h) {
    MoveWindow(GetDlgItem(dlg, ID_SEARCH_LIST), 0, 0, w, h - 30, TRUE);
    const int fieldLeft = kPropertyLabelWidth + 6;
    int fieldWidth = w / 2 - 56 - fieldLeft;
    if (fieldWidth < kLeastFieldWidth) fieldWidth = kLeastFieldWidth;
    int buttonLeft = w / 2 - 50;
    if (buttonLeft < fieldLeft + fieldWidth + 6) buttonLeft = fieldLeft + fieldWidth + 6;
    MoveWindow(GetDlgItem(dlg, ID_SEARCH_BUTTON), buttonLeft, h - 28, 100, 27, TRUE);
    MoveWindow(GetDlgItem(dlg, ID_SEARCH_PROPERTY_LABEL), 4, h - 23, kPropertyLabelWidth, 18, TRUE);
    MoveWindow(GetDlgItem(dlg, ID_SEARCH_PROPERTY_TEXT), fieldLeft, h - 26, fieldWidth, 23, TRUE);
}

// Enter in "Text in properties" searches again for that text.
static void SearchAgainForField(HWND dlg) {
    SearchPropertyText = WindowText(GetDlgItem(dlg, ID_SEARCH_PROPERTY_TEXT));
    PostMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
}

static void OnInitDialog(HWND dlg) {
    std::string root = WithTrailingBackslash(CurrentFolder());
    HWND list = CreateControl("SysListView32", "", dlg, ID_SEARCH_LIST, 0, 0, 250, 80,
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                  LVS_AUTOARRANGE,
                              WS_EX_CLIENTEDGE);
    HWND button = CreateButton("Cancel", dlg, ID_SEARCH_BUTTON, 0, 0, 100, 27,
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_NOPARENTNOTIFY);
    CreateLabel("Text in properties", dlg, ID_SEARCH_PROPERTY_LABEL, 0, 0, kPropertyLabelWidth, 18,
                WS_CHILD | WS_VISIBLE);
    HWND field =
        CreateEdit(SearchPropertyText.c_str(), dlg, ID_SEARCH_PROPERTY_TEXT, 0, 0, 100, 23);
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
    SendMessageA(GetDlgItem(dlg, ID_SEARCH_PROPERTY_LABEL), WM_SETFONT,
                 reinterpret_cast<WPARAM>(ControlFont()), FALSE);
    SetUpResultList(list, root);
    SubclassSearchList(list);

    // Over the main window's top-left corner, half its width and height.
    RECT main;
    GetWindowRect(Win.main, &main);
    MoveWindow(dlg, main.left, main.top, (main.right - main.left) / 2, (main.bottom - main.top) / 2,
               TRUE);
    RECT client;
    GetClientRect(dlg, &client);
    LayOut(dlg, client.right, client.bottom);
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ShowWindow(dlg, SW_SHOW);
    LastSearchWindow = dlg;

    SearchActive = true;
    SetFocus(list);
    SetTimer(dlg, TIMER_SEARCH_ROWS, 100, nullptr);
    SearchDrawings(root, list);
    SearchActive = false;

    // The sort state is reset by every search, even a cancelled one.
    ResultSortAscending = true;
    ResultSortColumn = 2;
    if (!IsWindow(dlg)) return; // cancelled: the window is gone
    KillTimer(dlg, TIMER_SEARCH_ROWS);
    ShowHeldResults(list, true);
    int rows = RowCount(list);
    SetWindowTextA(dlg, ("Search Complete - Found " + std::to_string(rows) + " Item(s)").c_str());
    SetWindowTextA(button, "Close");
    // The rows already stand in this order, each placed by the same key,
    // unless a header click during the search sorted them otherwise.
    ReturnToSearchOrder(list);
    MarkResultHeaders(list);
}

static void OnClose(HWND dlg) {
    SearchActive = false;
    DestroyWindow(dlg);
}

static void OnDestroy(HWND dlg) {
    if (LastSearchWindow == dlg) LastSearchWindow = nullptr;
}

INT_PTR CALLBACK SearchWindowProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: OnInitDialog(dlg); return FALSE;
    case WM_SIZE: LayOut(dlg, LOWORD(lParam), HIWORD(lParam)); return TRUE;
    case WM_KEYUP:
        if (wParam == VK_ESCAPE) SendMessageA(dlg, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_COMMAND:
        // Esc with the dialog active arrives as IDCANCEL from the dialog manager.
        if (LOWORD(wParam) == IDOK && GetFocus() == GetDlgItem(dlg, ID_SEARCH_PROPERTY_TEXT))
            SearchAgainForField(dlg);
        else if ((LOWORD(wParam) == ID_SEARCH_BUTTON && HIWORD(wParam) == BN_CLICKED) ||
                 LOWORD(wParam) == IDCANCEL)
            SendMessageA(dlg, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_TIMER:
        if (wParam == TIMER_SEARCH_ROWS) ShowHeldResults(GetDlgItem(dlg, ID_SEARCH_LIST), false);
        return TRUE;
    case WM_CLOSE: OnClose(dlg); return TRUE;
    case WM_DESTROY: OnDestroy(dlg); return TRUE;
    }
    return FALSE;
}

void OpenSearchWindow() {
    if (CurrentFolder().empty()) return; // a search needs a folder to start in
    if (LastSearchWindow && IsWindow(LastSearchWindow))
        SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);
    // An empty template: the controls are made at WM_INITDIALOG.
    DialogTemplate tmpl;
    tmpl.Header(DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, 0,
                0, 400, 100, kSearchingTitle, 8, "MS Sans Serif");
    ShowModelessDialog(tmpl.Get(), Win.main, SearchWindowProc, 0);
}

void CloseSearchWindowForExit() {
    if (!LastSearchWindow || !IsWindow(LastSearchWindow)) return;
    // A running walk is given time to see the stop; a finished one needs none.
    if (SearchActive) {
        SearchActive = false;
        for (int i = 0; i < 49; ++i) {
            Sleep(10);
            PumpMessages();
        }
    }
    if (LastSearchWindow && IsWindow(LastSearchWindow))
        SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);
}
