#include "tests/settings/settings_fixture.h"

#include <commctrl.h>

#include <cstdio>

#include "runtime/app_state.h"
#include "runtime/handles.h"
#include "runtime/ids.h"

std::vector<std::string> FileLines(const std::string& path) {
    std::string bytes = ReadBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

static const char* const FixtureClass = "KvxSettingsTestMain";

MainWindowFixture::MainWindowFixture() {
    static bool registered = false;
    if (!registered) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = FixtureClass;
        RegisterClassA(&wc);
        registered = true;
    }

    Win.viewMenu = CreatePopupMenu();
    AppendMenuA(Win.viewMenu, MF_STRING, IDM_BLACK_BACKGROUND, "Display Black Background");
    AppendMenuA(Win.viewMenu, MF_SEPARATOR, 0, nullptr);
    const char* const items[6] = {"Preview", "FileName", "Version",
                                  "Size",    "Modified", "Attributes"};
    for (int c = 0; c < 6; ++c)
        // Unchecked, so that the reader must check what the settings show.
        AppendMenuA(Win.viewMenu, MF_STRING, IDM_COL_PREVIEW + c, items[c]);
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Win.viewMenu), "&View");

    Win.main = CreateWindowExA(0, FixtureClass, "Korvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60,
                               300, 200, nullptr, bar, GetModuleHandleA(nullptr), nullptr);
    Win.list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                               WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 500, 300, Win.main,
                               reinterpret_cast<HMENU>(103), GetModuleHandleA(nullptr), nullptr);
    const char* const headers[10] = {"SortItem", "Preview",      "Filename",   "Version",
                                     "Size",     "Modified",     "Attributes", "Title",
                                     "Author",   "Last Saved By"};
    for (int c = 0; c < 10; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.cx = c == 0 ? 0 : 50;
        col.pszText = const_cast<char*>(headers[c]);
        col.iSubItem = c;
        SendMessageA(Win.list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
}

MainWindowFixture::~MainWindowFixture() {
    // Destroying the window also destroys its menu bar and the View popup.
    DestroyWindow(Win.main);
    Win.main = nullptr;
    Win.list = nullptr;
    Win.viewMenu = nullptr;
}

RECT MainWindowFixture::WindowRect() const {
    RECT r = {};
    GetWindowRect(Win.main, &r);
    return r;
}

int MainWindowFixture::ColumnWidth(int column) const {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, column, 0));
}

bool MainWindowFixture::IsChecked(UINT id) const {
    return (GetMenuState(Win.viewMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}
