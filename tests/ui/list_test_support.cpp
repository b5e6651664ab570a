#include "tests/ui/list_test_support.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include "filelist/list_rows.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/support/pump_until.h"

// A menu's texts joined with "|", a submenu's in brackets after its entry,
// the default item starred.
std::string Texts(HMENU menu) {
    std::string all;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[512] = "";
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_TYPE | MIIM_SUBMENU | MIIM_STATE;
        item.dwTypeData = text;
        item.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &item);
        all += (i ? "|" : "") + std::string(item.fType & MFT_SEPARATOR ? "-" : text);
        if (item.fState & MFS_DEFAULT) all += "*";
        if (item.hSubMenu) all += "[" + Texts(item.hSubMenu) + "]";
    }
    return all;
}

// The ids of a menu's commands, in order.
std::vector<int> Ids(HMENU menu) {
    std::vector<int> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (int id = static_cast<int>(GetMenuItemID(menu, i)); id > 0) ids.push_back(id);
    return ids;
}

// The screen point in the middle of a row's name.
POINT RowPoint(int row) {
    SendMessageA(Win.list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT rect = {LVIR_LABEL, 0, 0, 0};
    SendMessageA(Win.list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    POINT p = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(Win.list, &p);
    return p;
}

// A point of the list's client area below its last row.
POINT BelowTheRows() {
    int last = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0)) - 1;
    SendMessageA(Win.list, LVM_ENSUREVISIBLE, last, FALSE);
    RECT rect = {LVIR_BOUNDS, 0, 0, 0}, client;
    SendMessageA(Win.list, LVM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&rect));
    GetClientRect(Win.list, &client);
    EXPECT_LT(rect.bottom + 5, client.bottom) << "no empty space below the rows";
    return POINT{10, rect.bottom + 5};
}

void Select(const std::vector<int>& rows) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    SendMessageA(Win.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : rows)
        SendMessageA(Win.list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int SelectedCount() {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETSELECTEDCOUNT, 0, 0));
}

// A key pressed in the list, as the window's message loop hands it over.
void KeyDown(WPARAM key) {
    SendMessageA(Win.list, WM_KEYDOWN, key, 1);
}

// The menu a right-click opens, read while it is shown and then dismissed.
static std::string ShownMenu;
static void CALLBACK ReadShownMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    ShownMenu = Texts(reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1, 0, 0))); // MN_GETHMENU
    EndMenu();
}
std::string RightClick(HWND to, UINT msg, WPARAM wParam, LPARAM lParam) {
    ShownMenu.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadShownMenu);
    SendMessageA(to, msg, wParam, lParam);
    KillTimer(nullptr, timer);
    return ShownMenu;
}

static void SetClassKey(const char* key, const std::string& value) {
    RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
}

OpenRecorder::OpenRecorder(const std::string& into) {
    SetClassKey(".dwg", "KorvexTest.Drawing");
    SetClassKey(".bak", "KorvexTest.Drawing");
    SetClassKey("KorvexTest.Drawing\\shell\\open\\command",
                "C:\\windows\\system32\\cmd.exe /c copy \"%1\" \"" + into + "\"");
}

OpenRecorder::~OpenRecorder() {
    for (const char* key :
         {".dwg", ".bak", "KorvexTest.Drawing\\shell\\open\\command",
          "KorvexTest.Drawing\\shell\\open", "KorvexTest.Drawing\\shell", "KorvexTest.Drawing"})
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
}

std::vector<std::string> SearchFor(const std::string& text) {
    HWND field = GetDlgItem(LastSearchWindow, ID_SEARCH_PROPERTY_TEXT);
    SetWindowTextA(field, text.c_str());
    SetFocus(field);
    SendMessageA(LastSearchWindow, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([] { return WindowText(LastSearchWindow).find("Complete") == 7; }));
    return SearchResultColumn(1);
}

std::vector<std::string> SearchResultColumn(int column) {
    HWND list = GetDlgItem(LastSearchWindow, ID_SEARCH_LIST);
    std::vector<std::string> texts;
    for (int i = 0; i < RowCount(list); ++i)
        texts.push_back(RowText(list, i, column));
    return texts;
}

// The list tells its parent of each row inserted; the first such notice runs
// the action once the row is in.
static std::function<void()> FirstRowAction;
static bool FirstRowActed;
static WNDPROC FirstRowPrevious;
static LRESULT CALLBACK FirstRowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(FirstRowPrevious, wnd, msg, wParam, lParam);
    const NMHDR* notice = reinterpret_cast<const NMHDR*>(lParam);
    if (msg == WM_NOTIFY && notice->hwndFrom == Win.list && notice->code == LVN_INSERTITEM &&
        !FirstRowActed) {
        FirstRowActed = true;
        FirstRowAction();
    }
    return result;
}

AtFirstRow::AtFirstRow(std::function<void()> action) {
    FirstRowAction = std::move(action);
    FirstRowActed = false;
    FirstRowPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        GetParent(Win.list), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FirstRowProc)));
}

AtFirstRow::~AtFirstRow() {
    SetWindowLongPtrA(GetParent(Win.list), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(FirstRowPrevious));
    FirstRowAction = nullptr;
}

bool AtFirstRow::ran() const {
    return FirstRowActed;
}
