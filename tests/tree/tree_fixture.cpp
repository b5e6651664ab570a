#include "tests/tree/tree_fixture.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/support/dwg_builder.h"
#include "ui/tree_pane.h"

MainWindowLog MainLog;

// The tests' folders, on drive Z: beside the test program rather than in the
// shared temporary folder, which others keep changing.
static std::string runFolder;

static const char* const TestFolders[] = {"first1",
                                          "first2",
                                          "nav",
                                          "nav\\Site Plans",
                                          "missing",
                                          "items",
                                          "items\\Drawings",
                                          "rbutton",
                                          "refresh",
                                          "menu",
                                          "copy",
                                          "copy\\source",
                                          "copy\\target",
                                          "move",
                                          "move\\source",
                                          "move\\target",
                                          "setpath",
                                          "setpath\\source",
                                          "taken",
                                          "taken\\source",
                                          "taken\\target"};

static const char* const TestFiles[] = {"copy\\source\\one.dwg", "copy\\source\\two.dwg",
                                        "move\\source\\one.dwg", "move\\source\\two.dwg",
                                        "setpath\\source\\one.dwg"};

static void MakeTestFolders() {
    std::string base = ExeFolder() + "kvxtree";
    CreateDirectoryA(base.c_str(), nullptr);
    // Wine reuses process ids, so the name comes from the clock and a counter.
    for (unsigned n = 0;; ++n) {
        runFolder = base + "\\run" + std::to_string(GetTickCount()) + "x" + std::to_string(n);
        if (CreateDirectoryA(runFolder.c_str(), nullptr)) break;
    }
    for (const char* name : TestFolders)
        CreateDirectoryA((runFolder + "\\" + name).c_str(), nullptr);
    for (const char* name : TestFiles)
        WriteBytes(runFolder + "\\" + name, name);
}

std::string TreePaneTest::Folder(const std::string& name) {
    return runFolder + "\\" + name;
}

// What the program's main window does with the pane's messages.
static LRESULT CALLBACK TestMainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KVX_TREE_SELECTION:
        ++MainLog.selections;
        RestartListBuild();
        return 0;
    case WM_KVX_TREE_READY:
        ++MainLog.readies;
        RunFirstNavigationIfReady();
        return 0;
    case WM_KEYUP:
        if (wParam == VK_F5) ++MainLog.f5Keys;
        break;
    case WM_SIZE:
        Win.clientWidth = LOWORD(lParam);
        Win.clientHeight = HIWORD(lParam);
        break;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

void TreePaneTest::SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TestMainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "KvxTreeTest";
    RegisterClassA(&wc);
    MakeTestFolders();
}

void TreePaneTest::TearDownTestSuite() {
    // A listed folder is the process's working directory, which cannot go.
    SetCurrentDirectoryA("C:\\");
    RemoveTree(runFolder);
}

void TreePaneTest::SetUp() {
    MainLog = MainWindowLog();
    FormLoaded = false;
    TreeReady = false;
    ListingActive = false;
    RememberPath = false;
    Paths.settingsFile = scratch.file("KVX.ini");
    // A new browser starts at the current folder.
    SetCurrentFolder("");

    Win.main = CreateWindowExA(0, "KvxTreeTest", "Korvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               800, 500, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, Win.main);
    Win.list =
        CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 250,
                        22, 530, 430, Win.main, reinterpret_cast<HMENU>(INT_PTR(ID_FILE_LIST)),
                        GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, Win.list);
    // Start-up hides the list until the first navigation.
    ShowWindow(Win.list, SW_HIDE);
}

void TreePaneTest::TearDown() {
    if (Win.treeContainer) DestroyTreePane();
    DestroyWindow(Win.main);
    PumpMessages();
    Win.main = nullptr;
    Win.list = nullptr;
    FormLoaded = false;
    TreeReady = false;
}

void TreePaneTest::CreatePane() {
    Win.treeContainer = CreateTreePane(Win.main, ID_TREE_PANE, 2, 2, 246, 374);
    ASSERT_NE(nullptr, Win.treeContainer);
}

void TreePaneTest::CreateReadyPane() {
    FormLoaded = true;
    CreatePane();
    ASSERT_TRUE(PumpUntil([] { return TreeReady; })) << "the pane never became ready";
    PumpMessages();
}

void TreePaneTest::NavigateAndWait(const std::string& path) {
    int before = MainLog.selections;
    NavigateTo(path);
    ASSERT_TRUE(PumpUntil([&] { return MainLog.selections > before; }))
        << "no selection for " << path << "; selected " << SelectedItemPath() << ", current "
        << CurrentFolder();
}

HWND TreePaneTest::Tree() {
    return GetWindow(Win.treeContainer, GW_CHILD);
}

std::string TreePaneTest::SelectedItemPath() {
    HWND tree = Tree();
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    return item ? TreeItemPath(tree, item) : std::string();
}

void TreePaneTest::WritePathSetting(const std::string& path) {
    WritePrivateProfileStringA("MAIN", "Path", path.c_str(), Paths.settingsFile.c_str());
}
