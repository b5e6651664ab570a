// F5, Go and closing in quick succession: whatever the timing, the window
// ends on the folder last asked for, with one tree pane and one pane thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <atomic>
#include <string>
#include <vector>

#include "runtime/file_facts.h"
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

// What the user does, step by step at the user's own pace: each step's
// message is posted (as a key or click is queued) that many milliseconds after
// the previous one, whatever the program is busy with meanwhile. A step with
// a text first types it into the path box.
struct UserStep {
    DWORD afterMs;
    HWND window;
    UINT msg;
    WPARAM wParam;
    const char* pathText;
};

struct UserScript {
    std::vector<UserStep> steps;
    HANDLE thread = nullptr;
    std::atomic<bool> done{false};
};

DWORD WINAPI PlayUserScript(void* argument) {
    UserScript* script = static_cast<UserScript*>(argument);
    for (const UserStep& step : script->steps) {
        Sleep(step.afterMs); // the user's timing, not a wait for the program
        if (step.pathText) {
            // Typed as keys are: queued behind what came before, so that a
            // refresh still going on lists its folder before the text goes in.
            HWND edit = FindWindowExA(Win.pathBox, nullptr, "Edit", nullptr);
            PostMessageA(edit, EM_SETSEL, 0, -1);
            for (const char* c = step.pathText; *c; ++c)
                PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
        }
        LPARAM lParam = step.msg == WM_COMMAND ? reinterpret_cast<LPARAM>(Win.go) : 0;
        PostMessageA(step.window, step.msg, step.wParam, lParam);
    }
    script->done = true;
    return 0;
}

UserStep F5(DWORD afterMs, HWND control) {
    return UserStep{afterMs, control, WM_KEYUP, VK_F5, nullptr};
}

UserStep Go(DWORD afterMs, const std::string& folder) {
    return UserStep{afterMs, Win.main, WM_COMMAND, MAKEWPARAM(ID_GO, BN_CLICKED), folder.c_str()};
}

UserStep Close(DWORD afterMs) {
    return UserStep{afterMs, Win.main, WM_CLOSE, 0, nullptr};
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
            // The container is shown by the new pane's first navigation.
            return tree && GetParent(tree) == Win.treeContainer &&
                   IsWindowVisible(Win.treeContainer) && TreeReady && !ListingActive &&
                   WindowText(Win.main) == "Korvex - " + folder && RowCount() == rows &&
                   SelectedFolder() == folder;
        });
        EXPECT_TRUE(settled) << "title " << WindowText(Win.main) << ", rows " << RowCount()
                             << ", tree at " << SelectedFolder() << ", current " << CurrentFolder();
        EXPECT_EQ(folder, WithTrailingBackslash(CurrentFolder()));
        EXPECT_EQ(folder, WindowText(Win.pathBox));
        EXPECT_EQ(1, CountTreeContainers());
        EXPECT_EQ(1, CountBrowserDialogs());
        EXPECT_EQ(Win.list, GetFocus());
    }

    // Plays the steps while this thread handles the program's messages.
    void Play(std::vector<UserStep> steps) {
        UserScript script;
        script.steps = std::move(steps);
        script.thread = CreateThread(nullptr, 0, PlayUserScript, &script, 0, nullptr);
        ASSERT_NE(nullptr, script.thread);
        EXPECT_TRUE(PumpUntil([&script] { return script.done.load(); }));
        WaitForSingleObject(script.thread, INFINITE);
        CloseHandle(script.thread);
    }

    std::string SavedPath() {
        EXPECT_TRUE(PumpUntil([] { return !IsWindow(Win.main); })) << "the window stays open";
        return ReadMainText("Path");
    }
};

TEST_F(RefreshTest, TwoF5PressesInQuickSuccession) {
    int threads = CountThreads();
    for (DWORD gap : {10, 50, 150}) {
        SCOPED_TRACE(gap);
        Play({F5(0, Win.list), F5(gap, Win.list)});
        ASSERT_NO_FATAL_FAILURE(ExpectShowing(first, 1));
        EXPECT_EQ(threads, CountThreads()) << "a replaced pane's thread goes on";
    }
    Play({Close(0)});
    EXPECT_EQ(first, SavedPath());
}

TEST_F(RefreshTest, TwentyF5PressesInARow) {
    int threads = CountThreads();
    HWND controls[] = {Win.list, Win.pathBox, Win.filterBox, Win.main, Win.status};
    std::vector<UserStep> steps;
    for (int i = 0; i < 20; ++i)
        steps.push_back(F5(i % 4 == 0 ? 40 : 5, controls[i % 5]));
    Play(steps);
    ASSERT_NO_FATAL_FAILURE(ExpectShowing(first, 1));
    EXPECT_EQ(threads, CountThreads());
    // The pane still follows Go, and F5 in the tree.
    Play({Go(0, second)});
    ASSERT_NO_FATAL_FAILURE(ExpectShowing(second, 2));
    Play({F5(0, PaneTree()), F5(20, PaneTree())});
    ASSERT_NO_FATAL_FAILURE(ExpectShowing(second, 2));
    EXPECT_EQ(threads, CountThreads());
}

TEST_F(RefreshTest, GoRightAfterF5IsNotLost) {
    const struct {
        DWORD gap;
        const std::string& folder;
        int rows;
    } cases[] = {{0, second, 2}, {100, first, 1}, {300, second, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gap);
        Play({F5(0, Win.list), Go(c.gap, c.folder)});
        ASSERT_NO_FATAL_FAILURE(ExpectShowing(c.folder, c.rows));
    }
    Play({Close(0)});
    EXPECT_EQ(second, SavedPath());
}

// Closing at any moment of a refresh saves the folder shown, also one gone to
// while the new pane was starting.
TEST_F(RefreshTest, CloseDuringRefreshesSavesTheLastGo) {
    Play({F5(0, Win.list), Go(40, second), F5(10, Win.list), Close(30)});
    EXPECT_EQ(second, SavedPath());
}

TEST_F(RefreshTest, CloseWithinHalfASecondOfF5SavesTheFolder) {
    for (DWORD delay : {0, 150, 450}) {
        SCOPED_TRACE(delay);
        Play({F5(0, Win.list), Close(delay)});
        EXPECT_EQ(first, SavedPath());
        CloseMainWindow();
        ASSERT_TRUE(StartMainWindow(home));
        ASSERT_NO_FATAL_FAILURE(ExpectShowing(first, 1));
    }
}

} // namespace
