// The main window as start-up builds it, and what closing it saves.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "filelist/list_columns.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/tree_pane.h"

namespace {

std::string MenuText(HMENU menu, UINT position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// A main window of its own, so that what start-up made is seen before any
// other test changes it.
class StartupTest : public MainWindowTest {};

bool Checked(int id) {
    return (GetMenuState(Win.viewMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST_F(StartupTest, ExtensionBoxOrderAndSelection) {
    const char* expected[] = {".DWG", ".DWT", ".BAK", ".SV$", "ALL TYPES"};
    ASSERT_EQ(5, SendMessageA(Win.extensionBox, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < 5; ++i) {
        char text[32] = {};
        SendMessageA(Win.extensionBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(expected[i], text);
    }
    EXPECT_EQ(0, SendMessageA(Win.extensionBox, CB_GETCURSEL, 0, 0)); // ".DWG"
}

TEST_F(StartupTest, WindowPlacementFromDefaultSettings) {
    RECT r;
    GetWindowRect(Win.main, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(400, r.bottom - r.top);
    EXPECT_EQ(CS_DBLCLKS, GetClassLongA(Win.main, GCL_STYLE));
}

TEST_F(StartupTest, ControlsOfTheWindow) {
    struct {
        HWND wnd;
        int id;
        const char* className;
    } controls[] = {
        {Win.shortcuts, ID_SHORTCUTS, "Static"},
        {Win.go, ID_GO, "Button"},
        {Win.pathBox, ID_PATH_BOX, "ComboBox"},
        {Win.filterBox, ID_FILTER_BOX, "Edit"},
        {Win.extensionBox, ID_EXTENSION_BOX, "ComboBox"},
        {Win.list, ID_FILE_LIST, "SysListView32"},
        {Win.status, ID_STATUS_BAR, "msctls_statusbar32"},
        {Win.progress, ID_PROGRESS_BAR, "msctls_progress32"},
        {Win.progressLabel, ID_PROGRESS_LABEL, "Static"},
        {Win.treeContainer, ID_TREE_PANE, "Static"},
    };
    for (const auto& c : controls) {
        ASSERT_TRUE(IsWindow(c.wnd)) << c.className;
        EXPECT_EQ(c.id, GetDlgCtrlID(c.wnd)) << c.className;
        char name[64] = {};
        GetClassNameA(c.wnd, name, sizeof name);
        EXPECT_STRCASEEQ(c.className, name);
        EXPECT_EQ(Win.main, GetParent(c.wnd));
    }
    EXPECT_EQ("*", WindowText(Win.filterBox));
    EXPECT_EQ("Go", WindowText(Win.go));
    EXPECT_EQ("Shortcuts", WindowText(Win.shortcuts));
    EXPECT_TRUE(IsWindowVisible(Win.list));
    EXPECT_TRUE(IsWindowVisible(Win.treeContainer));
    // Properties keep the previous procedures of the subclassed controls.
    EXPECT_NE(nullptr, GetPropA(Win.pathBox, "LBL1"));
    EXPECT_NE(nullptr, GetPropA(Win.filterBox, "INP10"));
    EXPECT_NE(nullptr, GetPropA(Win.extensionBox, "CBEXT"));
    EXPECT_NE(nullptr, GetPropA(Win.status, "STAT1"));
}

TEST_F(StartupTest, MenuBar) {
    HMENU bar = GetMenu(Win.main);
    ASSERT_EQ(5, GetMenuItemCount(bar));
    EXPECT_EQ("&File", MenuText(bar, 0));
    EXPECT_EQ("&View", MenuText(bar, 1));
    EXPECT_EQ("&Tools", MenuText(bar, 2));
    EXPECT_EQ("F&avorites", MenuText(bar, 3));
    EXPECT_EQ("&Help", MenuText(bar, 4));
    HMENU view = GetSubMenu(bar, 1);
    EXPECT_EQ(Win.viewMenu, view);
    const char* viewItems[] = {"Display Black Background",
                               "",
                               "Preview",
                               "FileName",
                               "Version",
                               "Size",
                               "Modified",
                               "Attributes",
                               "Title",
                               "Author",
                               "Last Saved By",
                               "",
                               "&List",
                               "&Details",
                               "",
                               "&Refresh"};
    ASSERT_EQ(16, GetMenuItemCount(view));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(viewItems[i], MenuText(view, i)) << i;
    EXPECT_TRUE(Checked(IDM_DETAILS));
    EXPECT_FALSE(Checked(IDM_LIST));
    EXPECT_FALSE(Checked(IDM_BLACK_BACKGROUND));
    HMENU favorites = GetSubMenu(bar, 3);
    EXPECT_EQ(22, GetMenuItemCount(favorites));
    for (int i = 0; i < 20; ++i) // the default settings have no favourites
        EXPECT_EQ("--Undefined--", MenuText(favorites, i)) << i;
    EXPECT_EQ("&Customize Favorites...", MenuText(favorites, 21));
    EXPECT_EQ("Search Sub-Folders For Dwg Files", MenuText(GetSubMenu(bar, 2), 11));
}

TEST_F(StartupTest, BlackBackgroundToggleAndHeaderMark) {
    SendMessageA(Win.main, WM_COMMAND, IDM_BLACK_BACKGROUND, 0);
    EXPECT_TRUE(BlackBackground);
    EXPECT_TRUE(Checked(IDM_BLACK_BACKGROUND));
    SendMessageA(Win.main, WM_COMMAND, IDM_BLACK_BACKGROUND, 0);
    EXPECT_FALSE(BlackBackground);
    EXPECT_FALSE(Checked(IDM_BLACK_BACKGROUND));

    HWND header = GetDlgItem(Win.list, 0);
    char text[64] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ("Filename ^", text); // start-up sorts ascending by file name
}

TEST_F(MainWindowTest, ColumnToggleRemembersTheWidth) {
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 3, 130);
    SendMessageA(Win.main, WM_COMMAND, IDM_COL_VERSION, 0);
    EXPECT_EQ(130, Settings.columnWidth[3]);
    EXPECT_EQ("FALSE", Settings.showColumn[3]);
    EXPECT_EQ(0, SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, 3, 0));
    EXPECT_FALSE(Checked(IDM_COL_VERSION));
    SendMessageA(Win.main, WM_COMMAND, IDM_COL_VERSION, 0);
    EXPECT_EQ(130, SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, 3, 0));
    EXPECT_TRUE(Checked(IDM_COL_VERSION));
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 3, 100);

    SendMessageA(Win.main, WM_COMMAND, IDM_LIST, 0);
    EXPECT_TRUE(Checked(IDM_LIST));
    EXPECT_FALSE(Checked(IDM_DETAILS));
    EXPECT_TRUE(GetMenuState(Win.viewMenu, IDM_COL_SIZE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(Checked(IDM_COL_PREVIEW));
    EXPECT_FALSE(Checked(IDM_COL_SIZE));
    SendMessageA(Win.main, WM_COMMAND, IDM_LIST, 0); // a second time changes nothing
    EXPECT_TRUE(Checked(IDM_LIST));
    SendMessageA(Win.main, WM_COMMAND, IDM_DETAILS, 0);
    EXPECT_TRUE(Checked(IDM_COL_SIZE));
    EXPECT_FALSE(GetMenuState(Win.viewMenu, IDM_COL_SIZE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(SelectionSummary, Texts) {
    EXPECT_EQ("0 File(s) Selected = 0 KB", SelectionSummaryText(0, 0));
    EXPECT_EQ("3 File(s) Selected = 7 KB", SelectionSummaryText(3, 8000));
    EXPECT_EQ("1 File(s) Selected = 1,024 KB", SelectionSummaryText(1, 1048576));
}

TEST_F(MainWindowTest, SelectionSummaryOfSelectedRows) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), std::string(1000, 'a')));
    ASSERT_TRUE(WriteBytes(folder.file("b.dwg"), std::string(2000, 'b')));
    ASSERT_TRUE(WriteBytes(folder.file("c.dwg"), std::string(5000, 'c')));
    ListFolder(Unslashed(folder.path()));
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageA(Win.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
    ASSERT_TRUE(PumpUntil([] { return StatusText(1) == "3 File(s) Selected = 7 KB"; }, 5000))
        << StatusText(1);
    state.state = 0;
    SendMessageA(Win.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
    EXPECT_TRUE(PumpUntil([] { return StatusText(1) == "0 File(s) Selected = 0 KB"; }, 5000));
}

// Closing the window saves [MAIN]: a maximised window keeps the restored
// placement and writes its state.
TEST(MainWindowClose, SavesTheMainSection) {
    ScratchFolder home;
    ASSERT_TRUE(StartMainWindow(home));
    ShowWindow(Win.main, SW_MAXIMIZE);
    SendMessageA(Win.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return !IsWindow(Win.main); }));
    std::string ini = ReadBytes(Paths.settingsFile);
    EXPECT_NE(std::string::npos, ini.find("State= 2\r\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("Width=600\r\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("Path=" + home.file("temp\\") + "\r\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("SortColumn= 2\r\n")) << ini;
    Win = MainWindow();
}

// Exit works at once whatever the window is doing: in the middle of a
// listing, and while the tree reads a folder of thousands of sub-folders;
// the settings are saved either way.
TEST(MainWindowClose, ExitDuringAListingOrATreeOpeningClosesAndSaves) {
    const char* many = std::getenv("KORVEX_MANY_FOLDERS");
    for (bool treeOpening : {false, true}) {
        if (treeOpening && !many) GTEST_SKIP() << "KORVEX_MANY_FOLDERS names no folder";
        ScratchFolder home, folder;
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(WriteBytes(folder.file("d" + std::to_string(i) + ".dwg"), "AC1015"));
        std::string listed = treeOpening ? std::string(many) : Unslashed(folder.path());
        ASSERT_TRUE(StartMainWindow(home));
        if (treeOpening) {
            NavigateTo(listed);
            ASSERT_TRUE(PumpUntil([&] { return CurrentFolder() == listed && !ListingActive; }));
            HWND tree = GetWindow(Win.treeContainer, GW_CHILD);
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND,
                         SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        } else {
            SetCurrentFolder(listed);
            PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
        }
        // Handled inside the listing, or while the tree reads.
        PostMessageA(Win.main, WM_COMMAND, IDM_EXIT, 0);
        ASSERT_TRUE(PumpUntil([] { return !IsWindow(Win.main); }, 10000)) << treeOpening;
        std::string ini = ReadBytes(Paths.settingsFile);
        EXPECT_NE(std::string::npos, ini.find("Path=" + listed + "\\\r\n")) << ini;
        Win = MainWindow();
    }
}

} // namespace

namespace {

// Runs Korvex.exe from the build folder with an arguments text; its exit code.
DWORD RunKorvex(const std::string& arguments) {
    std::string exe = ExeFolder() + "..\\Korvex.exe";
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(CommandLineSwitches, EndTheProgramWithoutAWindow) {
    EXPECT_EQ(0u, RunKorvex("SHELLON"));
    EXPECT_EQ(0u, RunKorvex("SHELLOFF"));
}

} // namespace
