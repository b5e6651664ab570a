#include "ui/main_window.h"

#include <commctrl.h>

#include "filelist/list_columns.h"
#include "filelist/list_sorting.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "settings/favorites_menu.h"
#include "settings/settings_file.h"
#include "ui/menu_bar.h"
#include "runtime/subclass.h"
#include "ui/tree_pane.h"

static bool RegisterMainClass() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, 0x33F};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), "KVX", &wc)) return true;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(IDI_KORVEX));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "KVX";
    return RegisterClassA(&wc) != 0;
}

static void CreateNavigationControls() {
    Win.shortcuts = CreateLabel("Shortcuts", Win.main, ID_SHORTCUTS, 250, 2, 50, 20,
                                WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTER, WS_EX_CLIENTEDGE);
    SetToolTip(Win.shortcuts, "Click For a List of Shortcuts (.lnk)");
    Win.go = CreateButton("Go", Win.main, ID_GO, 250, 2, 30, 20, 0, -1);
    SetToolTip(Win.go, "Click To Update List");
    Win.pathBox = CreateComboBox("", Win.main, ID_PATH_BOX, 280, 2, 300, 200, 0, -1);
    SetToolTip(Win.pathBox, "Copy/Paste/Select Path And Click The Go Button!");
    SetToolTip(GetWindow(Win.pathBox, GW_CHILD), "Copy/Paste/Select Path And Click The Go Button!");
    Win.filterBox = CreateEdit("*", Win.main, ID_FILTER_BOX, 400, 2, 49, 20,
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_CENTER, -1);
    SetToolTip(Win.filterBox, "Change The Filter And Click The Go Button!");
    Win.extensionBox = CreateComboBox(
        "", Win.main, ID_EXTENSION_BOX, 450, 2, 49, 100,
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_SORT | CBS_DROPDOWNLIST, -1);
    SetToolTip(Win.extensionBox, "Change The Extension And Click The Go Button!");
    for (const char* item : {"ALL TYPES", ".SV$", ".BAK", ".DWT", ".DWG"})
        SendMessageA(Win.extensionBox, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(Win.extensionBox, CB_SETCURSEL, 0, 0);
}

static void CreateFileListControl() {
    Win.list = CreateControl("SysListView32", "", Win.main, ID_FILE_LIST, 250, 22, 349, 354,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                 LVS_AUTOARRANGE,
                             WS_EX_CLIENTEDGE);
    Win.previousListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Win.list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FileListProc)));
    Win.previousMainProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Win.main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainNotifyProc)));
    SetToolTip(Win.list, "Right-Click For Context Menu", true); // FileListProc relays
    ShowWindow(Win.list, SW_HIDE);
}

static void CreateStatusControls() {
    int whole = -1;
    Win.status = CreateStatusBar(Win.main, ID_STATUS_BAR, 1, &whole);
    // The creator sets the range 0..100 and the step 1.
    Win.progress = CreateProgressBar(Win.main, ID_PROGRESS_BAR, 0, 0, 5, 5, WS_CHILD | PBS_SMOOTH,
                                     WS_EX_TOPMOST);
    Win.progressLabel =
        CreateLabel("", Win.main, ID_PROGRESS_LABEL, 0, 0, 5, 5, WS_CHILD, WS_EX_CLIENTEDGE);
    SubclassProgressBar(Win.progress);
    SubclassProgressLabel(Win.progressLabel);
    Win.scratchList = CreateListBox("", Win.main, ID_SCRATCH_LIST, -1, -1, 1, 1, 0, -1);
}

HWND CreateMainWindow() {
    ListingActive = RememberPath = TreeReady = SelectionMode = FormLoaded = false;
    Win.closing = false;
    StatusUpdate = true;
    if (!RegisterMainClass()) return nullptr;

    WindowBox box = ReadWindowBox();
    Win.main = CreateWindowExA(0, "KVX", "Korvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, box.left,
                               box.top, box.width + 8, box.height + 27, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!Win.main) return nullptr;
    SendMessageA(Win.main, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);

    CreateNavigationControls();
    CreateFileListControl();
    CreateStatusControls();
    DragAcceptFiles(Win.main, TRUE);
    DragAcceptFiles(Win.list, TRUE);
    BuildMenuBar();
    LoadMainSettings();
    SetUpFileList();
    RefreshFavoritesMenu();
    ApplyViewMode();
    Win.handCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_LINK));

    Win.treeContainer = CreateTreePane(Win.main, ID_TREE_PANE, 2, 2, 246, 374);
    ShowWindow(Win.treeContainer, SW_HIDE);

    Win.splitter = CreateLabel("", Win.main, ID_SPLITTER, 248, 2, 5, 74,
                               WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_GRAYRECT, 0);
    Win.previousSplitterProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Win.splitter, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SplitterProc)));
    Win.splitterCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_SPLITTER));

    SetClassLongA(Win.main, GCL_STYLE, CS_DBLCLKS);
    SubclassWithProperty(Win.pathBox, "LBL1", PathBoxProc);
    SubclassWithProperty(Win.filterBox, "INP10", FilterBoxProc);
    SubclassWithProperty(Win.extensionBox, "CBEXT", ExtensionBoxProc);
    SubclassWithProperty(Win.status, "STAT1", StatusBarProc);

    RedrawWindow(Win.main, nullptr, nullptr, RDW_INVALIDATE);
    ShowWindow(Win.main, SW_SHOW);
    FormLoaded = true;
    SortAscending = false; // toggled once: every start sorts ascending
    MarkSortHeader(true);
    // After the marks: a pane that is ready already lists at once.
    RunFirstNavigationIfReady();
    return Win.main;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND active = GetActiveWindow();
        if (active && IsWindow(active) && IsDialogMessageA(active, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
