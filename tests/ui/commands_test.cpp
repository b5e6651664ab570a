// The main window's commands and layout: Go, favourites, view switches, the
// splitter and the rectangles of every pane.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/strings.h"
#include "settings/favorites_menu.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/mouse.h"
#include "tests/support/pump_until.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/tree_pane_parts.h"

namespace {

bool Checked(int id) {
    return (GetMenuState(Win.viewMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool Grayed(int id) {
    return (GetMenuState(Win.viewMenu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

// A control's rectangle in the main window's client coordinates.
RECT ClientRectOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, Win.main, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Puts the mouse on a point of the main window's client area.
bool MoveCursorTo(int x, int y) {
    POINT at = {x, y};
    ClientToScreen(Win.main, &at);
    return MoveCursorTo(at);
}

void Click(HWND wnd, UINT down, UINT up) {
    SendMessageA(wnd, down, MK_LBUTTON, 0);
    SendMessageA(wnd, up, 0, 0);
}

TEST_F(MainWindowTest, GoRelistsTheCurrentFolderWhateverItsSpelling) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), "AC1015"));
    ListFolder(Unslashed(folder.path()));
    ASSERT_EQ((std::vector<std::string>{"a.dwg"}), Column(2));

    // The same folder in capitals and without its backslash is not navigated
    // to: the list is built again for the folder as the tree holds it.
    ASSERT_TRUE(WriteBytes(folder.file("b.dwg"), "AC1015"));
    SetWindowTextA(Win.pathBox, Upper(Unslashed(folder.path())).c_str());
    SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_GO, 0), reinterpret_cast<LPARAM>(Win.go));
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.dwg"}), Column(2));
    EXPECT_EQ("Korvex - " + folder.path(), Title());
    EXPECT_EQ(Unslashed(folder.path()), CurrentFolder());
    EXPECT_FALSE(GetWindowLongA(Win.go, GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_EQ(Win.list, GetFocus());

    // A notification other than a click is not a Go.
    ASSERT_TRUE(WriteBytes(folder.file("c.dwg"), "AC1015"));
    SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_GO, BN_SETFOCUS),
                 reinterpret_cast<LPARAM>(Win.go));
    EXPECT_EQ(2u, Column(2).size());
}

TEST_F(MainWindowTest, FavoriteItemsGoToTheirFolders) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("fav.dwg"), "AC1015"));
    Settings.favorites[3] = Unslashed(folder.path());
    SendMessageA(Win.main, WM_COMMAND, IDM_FAVORITE_FIRST + 2, 0);
    EXPECT_TRUE(PumpUntil([] { return Column(2) == std::vector<std::string>{"fav.dwg"}; }));
    EXPECT_EQ("Korvex - " + folder.path(), Title());
    Settings.favorites[3].clear();

    // An undefined favourite leaves the folder as it is.
    SendMessageA(Win.main, WM_COMMAND, IDM_FAVORITE_FIRST + 2, 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ("Korvex - " + folder.path(), Title());
}

std::string FavoriteLabel(int n) {
    char text[300] = "";
    GetMenuStringA(Win.favoritesMenu, IDM_FAVORITE_FIRST + n - 1, text, sizeof text, MF_BYCOMMAND);
    return text;
}

TEST_F(MainWindowTest, FavoriteLabelsTellWhichFolderIsThere) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("file.dwg"), "AC1015"));
    std::string existing = Unslashed(folder.path());
    Settings.favorites[1] = existing;
    Settings.favorites[2] = folder.path(); // with its backslash
    Settings.favorites[3] = folder.file("file.dwg");
    Settings.favorites[4] = folder.file("gone");
    Settings.favorites[5] = "";
    RefreshFavoritesMenu();
    EXPECT_EQ(existing, FavoriteLabel(1));
    EXPECT_EQ(folder.path(), FavoriteLabel(2));
    EXPECT_EQ("***Invalid Directory***", FavoriteLabel(3)); // a file is no folder
    EXPECT_EQ("***Invalid Directory***", FavoriteLabel(4));
    EXPECT_EQ("--Undefined--", FavoriteLabel(5));
    for (int n = 1; n <= 5; ++n) {
        UINT state = GetMenuState(Win.favoritesMenu, IDM_FAVORITE_FIRST + n - 1, MF_BYCOMMAND);
        EXPECT_EQ(0u, state & (MF_GRAYED | MF_DISABLED)) << n;
    }
    // The folder goes: the next refresh says so.
    std::string sub = folder.file("sub");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    Settings.favorites[1] = sub;
    RefreshFavoritesMenu();
    EXPECT_EQ(sub, FavoriteLabel(1));
    ASSERT_TRUE(RemoveDirectoryA(sub.c_str()));
    RefreshFavoritesMenu();
    EXPECT_EQ("***Invalid Directory***", FavoriteLabel(1));
    for (int n = 1; n <= 5; ++n)
        Settings.favorites[n].clear();
    RefreshFavoritesMenu();
}

TEST_F(MainWindowTest, DetailsFromListFollowTheVisibilitySettings) {
    SendMessageA(Win.main, WM_COMMAND, IDM_COL_SIZE, 0); // hide Size
    ASSERT_EQ("FALSE", Settings.showColumn[4]);
    SendMessageA(Win.main, WM_COMMAND, IDM_COL_FILENAME, 0); // hide FileName
    ASSERT_EQ("FALSE", Settings.showColumn[2]);

    SendMessageA(Win.main, WM_COMMAND, IDM_LIST, 0);
    EXPECT_EQ("LIST", Settings.viewMode);
    EXPECT_EQ("TRUE", Settings.showColumn[2]); // forced on in LIST
    for (int id = IDM_COL_PREVIEW; id <= IDM_COL_ATTRIBUTES; ++id) {
        EXPECT_TRUE(Grayed(id)) << id;
        EXPECT_EQ(id <= IDM_COL_FILENAME, Checked(id)) << id;
    }
    SendMessageA(Win.main, WM_COMMAND, IDM_LIST, 0); // again: nothing changes
    EXPECT_TRUE(Checked(IDM_LIST));
    EXPECT_FALSE(Checked(IDM_DETAILS));
    EXPECT_EQ(LVS_LIST, GetWindowLongA(Win.list, GWL_STYLE) & LVS_TYPEMASK);

    SendMessageA(Win.main, WM_COMMAND, IDM_DETAILS, 0);
    EXPECT_EQ("DETAIL", Settings.viewMode);
    EXPECT_EQ(LVS_REPORT, GetWindowLongA(Win.list, GWL_STYLE) & LVS_TYPEMASK);
    EXPECT_TRUE(Checked(IDM_DETAILS));
    EXPECT_FALSE(Checked(IDM_LIST));
    for (int id = IDM_COL_PREVIEW; id <= IDM_COL_ATTRIBUTES; ++id) {
        EXPECT_FALSE(Grayed(id)) << id;
        EXPECT_EQ(Settings.showColumn[id - 9029] == "TRUE", Checked(id)) << id;
    }
    EXPECT_TRUE(Checked(IDM_COL_FILENAME));
    // Checked again by LIST view, and so visible at its stored width.
    EXPECT_EQ(Settings.columnWidth[2], SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, 2, 0));
    EXPECT_NE(0, Settings.columnWidth[2]);
    EXPECT_FALSE(Checked(IDM_COL_SIZE));

    SendMessageA(Win.main, WM_COMMAND, IDM_COL_SIZE, 0); // show Size again
    EXPECT_TRUE(Checked(IDM_COL_SIZE));
    EXPECT_EQ(Settings.columnWidth[4], SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, 4, 0));
}

class LayoutTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ShowWindow(Win.main, SW_RESTORE);
        savedTreeWidth = Settings.treeWidth;
        GetWindowRect(Win.main, &savedRect);
    }
    void TearDown() override {
        Settings.treeWidth = savedTreeWidth;
        MoveWindow(Win.main, savedRect.left, savedRect.top, savedRect.right - savedRect.left,
                   savedRect.bottom - savedRect.top, TRUE);
    }
    // Sizes the window so that its client area is w x h.
    static void SetClientSize(int w, int h) {
        RECT window, client;
        GetWindowRect(Win.main, &window);
        GetClientRect(Win.main, &client);
        int frameW = (window.right - window.left) - client.right;
        int frameH = (window.bottom - window.top) - client.bottom;
        SetWindowPos(Win.main, nullptr, 0, 0, w + frameW, h + frameH, SWP_NOMOVE | SWP_NOZORDER);
    }
    static void ExpectRect(HWND control, int x, int y, int w, int h, const char* name) {
        RECT r = ClientRectOf(control);
        EXPECT_EQ(x, r.left) << name;
        EXPECT_EQ(y, r.top) << name;
        EXPECT_EQ(w, r.right - r.left) << name;
        if (h >= 0) {
            EXPECT_EQ(h, r.bottom - r.top) << name;
        }
    }
    int savedTreeWidth = 0;
    RECT savedRect = {};
};

TEST_F(LayoutTest, RectanglesForTheClientSizeAndTreeWidth) {
    Settings.treeWidth = 250;
    SetClientSize(600, 400);
    ASSERT_EQ(600, Win.clientWidth);
    ASSERT_EQ(400, Win.clientHeight);
    // R = 520: the path box takes R - R * 0.3334, the two boxes R * 0.1667 each.
    ExpectRect(Win.shortcuts, 0, 0, 50, 20, "shortcuts");
    ExpectRect(Win.go, 50, 0, 30, 20, "go");
    ExpectRect(Win.pathBox, 80, 0, 346, -1, "path box");
    ExpectRect(Win.filterBox, 426, 0, 86, 20, "filter box");
    ExpectRect(Win.extensionBox, 513, 0, 86, -1, "extension box");
    ExpectRect(Win.treeContainer, 0, 20, 250, 360, "tree");
    ExpectRect(Win.splitter, 250, 20, 4, 360, "splitter");
    ExpectRect(Win.list, 254, 20, 346, 360, "list");
    ExpectRect(Win.progressLabel, 0, 382, 150, 18, "progress label");
    ExpectRect(Win.progress, 150, 382, 449, 18, "progress bar");

    int parts[2] = {};
    SendMessageA(Win.status, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    EXPECT_EQ(600 - Win.selectionTextWidth, parts[0]);
    EXPECT_EQ(-1, parts[1]);
    RECT status = ClientRectOf(Win.status);
    EXPECT_EQ(400, status.bottom); // the status bar sits at the bottom

    // A narrower tree moves the splitter and widens the list.
    Settings.treeWidth = 100;
    SetClientSize(800, 500);
    ExpectRect(Win.treeContainer, 0, 20, 100, 460, "narrow tree");
    ExpectRect(Win.splitter, 100, 20, 4, 460, "splitter after");
    ExpectRect(Win.list, 104, 20, 696, 460, "list after");
    ExpectRect(Win.progress, 150, 482, 649, 18, "progress bar after");
}

TEST_F(LayoutTest, SplitterDragSetsTheTreeWidth) {
    Settings.treeWidth = 250;
    // Room on the screen left of the window for the drag past its edge.
    SetWindowPos(Win.main, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetClientSize(600, 400);
    ASSERT_TRUE(MoveCursorTo(300, 100));
    Click(Win.splitter, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(298, Settings.treeWidth);
    ExpectRect(Win.splitter, 298, 20, 4, 360, "splitter");
    ExpectRect(Win.list, 302, 20, 298, 360, "list");
    EXPECT_NE(Win.splitter, GetCapture());

    // Past the window's left edge the width goes negative; only the next
    // start limits it.
    ASSERT_TRUE(MoveCursorTo(-40, 100));
    Click(Win.splitter, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(-42, Settings.treeWidth);
}

} // namespace

namespace {

// The file list hands its mouse messages to the shared tooltip itself.
// F5 anywhere in the main window rebuilds the tree pane, which lists the
// same folder again.
TEST_F(MainWindowTest, F5InTheControlsRebuildsTheTreePane) {
    std::string folder = CurrentFolder();
    for (HWND control : {Win.list, Win.filterBox, Win.extensionBox, Win.status}) {
        HWND before = PaneTree();
        SendMessageA(Win.status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
        SendMessageA(control, WM_KEYUP, VK_F5, 0);
        // The new pane starts from no folder, then goes back to the old one
        // and lists it again.
        EXPECT_TRUE(PumpUntil([before, &folder] {
            return TreeReady && PaneTree() && PaneTree() != before && !ListingActive &&
                   CurrentFolder() == folder &&
                   StatusText(0).find("Total Object(s) Found") != std::string::npos;
        })) << GetDlgCtrlID(control)
            << ": " << CurrentFolder();
    }
}

// Timer 4998 ends the grace time after a dialog closed.
TEST_F(MainWindowTest, DialogClosedFlagEndsWithItsTimer) {
    DialogClosed = true;
    SetTimer(Win.main, TIMER_DIALOG_CLOSED, 100, nullptr);
    EXPECT_TRUE(PumpUntil([] { return !DialogClosed; }, 3000));
}

// Rests the mouse in the middle of a control and expects the shared tooltip
// to show the control's tip.
void ExpectTipWhenTheMouseRests(HWND control, const char* tip) {
    RECT rect;
    GetWindowRect(control, &rect);
    POINT inside = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ScreenToClient(Win.main, &inside);
    ASSERT_TRUE(MoveCursorTo(inside.x, inside.y));
    POINT at = inside;
    MapWindowPoints(Win.main, control, &at, 1);
    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(Win.tooltip) != FALSE; }, 5000));
    char text[128] = {};
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.lpszText = text;
    ASSERT_TRUE(SendMessageA(Win.tooltip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(control), info.uId);
    EXPECT_STREQ(tip, text);
    SendMessageA(Win.tooltip, TTM_POP, 0, 0);
}

// Both relay their mouse messages to the tooltip: the list for speed, the
// tree because it belongs to the pane's thread.
TEST_F(MainWindowTest, FileListAndFolderTreeShowTheirTipsWhenTheMouseRests) {
    // The tree first: a tooltip that is already showing follows the mouse
    // to the next tool by itself.
    ExpectTipWhenTheMouseRests(PaneTree(), "Select A Folder To View");
    ExpectTipWhenTheMouseRests(Win.list, "Right-Click For Context Menu");
}

} // namespace
