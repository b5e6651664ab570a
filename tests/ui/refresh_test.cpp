// F5, Go and closing in quick succession: whatever the timing, the window
// ends on the folder last asked for, with one tree pane and one pane thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <string>

#include "inspect/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "settings/settings_file.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"
#include "ui/tree_pane.h"
#include "ui/tree_pane_parts.h"

namespace {

int CountThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

BOOL CALLBACK CountBrowserDialog(HWND wnd, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    char name[16] = {};
    GetClassNameA(wnd, name, sizeof name);
    if (process == GetCurrentProcessId() && std::string(name) == "#32770")
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Hidden folder browsers of this process: one per pane thread.
int CountBrowserDialogs() {
    int count = 0;
    EnumWindows(CountBrowserDialog, reinterpret_cast<LPARAM>(&count));
    return count;
}

int CountTreeContainers() {
    int count = 0;
    for (HWND child = GetWindow(Win.main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == ID_TREE_PANE) ++count;
    return count;
}

std::string SelectedFolder() {
    HWND tree = PaneTree();
    if (!tree) return std::string();
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    return item ? TreeItemPath(tree, item) : std::string();
}

int RowCount() {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
}

// Handles messages for a while, as the user's next key would find them.
void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

void PressF5(HWND control) {
    PostMessageA(control, WM_KEYUP, VK_F5, 0);
}

void ClickGo(const std::string& folder) {
    SetWindowTextA(Win.pathBox, folder.c_str());
    PostMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_GO, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Win.go));
}

class RefreshTest : public ::testing::Test {
  protected:
    ScratchFolder home;
    std::string first, second; // with trailing backslash; one drawing each

    void SetUp() override {
        first = home.file("temp\\");
        second = home.file("other\\");
        CreateDirectoryA(first.c_str(), nullptr);
        CreateDirectoryA(second.c_str(), nullptr);
        WriteBytes(first + "a.dwg", MakeDrawingWithoutImages("AC1015"));
        WriteBytes(second + "b1.dwg", MakeDrawingWithoutImages("AC1015"));
        WriteBytes(second + "b2.dwg", MakeDrawingWithoutImages("AC1018"));
        ASSERT_TRUE(StartMainWindow(home));
        ASSERT_NO_FATAL_FAILURE(ExpectShowing(first, 1));
    }

    void TearDown() override { CloseMainWindow(); }

    // Waits until the pane is in and the folder listed, then checks that the
    // window shows it everywhere, with one pane on one thread.
    void ExpectShowing(const std::string& folder, int rows) {
        bool settled = PumpUntil([&] {
            HWND tree = PaneTree();
            return tree && GetParent(tree) == Win.treeContainer && TreeReady && !ListingActive &&
                   WindowText(Win.main) == "Korvex - " + folder && RowCount() == rows &&
                   SelectedFolder() == folder;
        });
        EXPECT_TRUE(settled) << "title " << WindowText(Win.main) << ", rows " << RowCount()
                             << ", tree at " << SelectedFolder() << ", current "
                             << CurrentFolder();
        EXPECT_EQ(folder, WithTrailingBackslash(CurrentFolder()));
        EXPECT_EQ(folder, WindowText(Win.pathBox));
        EXPECT_EQ(1, CountTreeContainers());
        EXPECT_EQ(1, CountBrowserDialogs());
        EXPECT_TRUE(IsWindowVisible(Win.treeContainer));
    }

    std::string SavedPathAfterClose() {
        SendMessageA(Win.main, WM_CLOSE, 0, 0);
        PumpUntil([] { return !IsWindow(Win.main); });
        return ReadMainText("Path");
    }
};

TEST_F(RefreshTest, TwoF5PressesInQuickSuccession) {
    int threads = CountThreads();
    for (DWORD gap : {10, 50, 150}) {
        SCOPED_TRACE(gap);
        PressF5(Win.list);
        PumpFor(gap);
        PressF5(Win.list);
        ASSERT_NO_FATAL_FAILURE(ExpectShowing(first, 1));
        EXPECT_EQ(threads, CountThreads()) << "a replaced pane's thread goes on";
    }
    EXPECT_EQ(first, SavedPathAfterClose());
}

TEST_F(RefreshTest, TwentyF5PressesInARow) {
    int threads = CountThreads();
    HWND controls[] = {Win.list, Win.pathBox, Win.filterBox, Win.main, PaneTree()};
    for (int i = 0; i < 20; ++i) {
        PressF5(controls[i % 5] ? controls[i % 5] : Win.list);
        PumpFor(i % 4 == 0 ? 30 : 0);
    }
    ASSERT_NO_FATAL_FAILURE(ExpectShowing(first, 1));
    EXPECT_EQ(threads, CountThreads());
    // The pane still follows Go.
    ClickGo(second);
    ASSERT_NO_FATAL_FAILURE(ExpectShowing(second, 2));
}

TEST_F(RefreshTest, GoRightAfterF5IsNotLost) {
    PressF5(Win.list);
    PumpFor(100);
    ClickGo(second);
    ASSERT_NO_FATAL_FAILURE(ExpectShowing(second, 2));
    EXPECT_EQ(second, SavedPathAfterClose());
}

TEST_F(RefreshTest, CloseRightAfterF5SavesTheFolder) {
    PressF5(Win.list);
    PostMessageA(Win.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first, SavedPathAfterClose());
}

TEST_F(RefreshTest, CloseWhileTheNewPaneStartsSavesTheLastGo) {
    ClickGo(second);
    ASSERT_NO_FATAL_FAILURE(ExpectShowing(second, 2));
    PressF5(Win.list);
    PumpFor(200);
    EXPECT_EQ(second, SavedPathAfterClose());
}

} // namespace
