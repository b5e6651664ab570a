#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/app_state.h"
#include "runtime/file_facts.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/tree/tree_fixture.h"
#include "ui/tree_pane.h"
#include "ui/tree_pane_parts.h"

namespace {

std::string ClassOf(HWND wnd) {
    char name[64] = "";
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

SIZE ClientSize(HWND wnd) {
    RECT r = {};
    GetClientRect(wnd, &r);
    return SIZE{r.right, r.bottom};
}

BOOL CALLBACK CollectDialogs(HWND wnd, LPARAM out) {
    if (ClassOf(wnd) == "#32770") reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
    return TRUE;
}

// The browser dialogs of the thread that owns a window.
std::vector<HWND> BrowserDialogsOf(HWND tree) {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetWindowThreadProcessId(tree, nullptr), CollectDialogs,
                      reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

std::string TipOf(HWND control) {
    std::string text(1024, '\0');
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = &text[0];
    SendMessageA(Win.tooltip, TTM_GETTEXTA, text.size(), reinterpret_cast<LPARAM>(&info));
    return text.c_str();
}

int SelectedRows() {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETSELECTEDCOUNT, 0, 0));
}

void AddRows(int count) {
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    SendMessageA(Win.list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < count; ++i) {
        std::string text = "row" + std::to_string(i);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = &text[0];
        SendMessageA(Win.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void SetAllRowsSelected(bool selected) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(Win.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

// The rectangle of an item's text in tree client coordinates.
RECT ItemRect(HWND tree, HTREEITEM item) {
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof item);
    if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) rect = RECT{};
    return rect;
}

} // namespace

TEST_F(TreePaneTest, BorrowsTheBrowserTreeIntoItsContainer) {
    FormLoaded = true;
    ASSERT_NO_FATAL_FAILURE(CreatePane());
    EXPECT_EQ(ID_TREE_PANE, GetDlgCtrlID(Win.treeContainer));
    EXPECT_EQ(Win.main, GetParent(Win.treeContainer));

    ASSERT_TRUE(PumpUntil([] { return TreeReady; }));
    HWND tree = Tree();
    ASSERT_NE(nullptr, tree);
    EXPECT_EQ("SysTreeView32", ClassOf(tree));
    EXPECT_EQ(Win.treeContainer, GetParent(tree));
    EXPECT_TRUE(IsWindowVisible(Win.treeContainer));
    EXPECT_TRUE(IsWindowVisible(tree));
    EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & TVS_SHOWSELALWAYS);
    // The tree belongs to the pane's own thread.
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(tree, nullptr));
    EXPECT_NE(nullptr, GetPropA(Win.treeContainer, "DTVDialogContainer"));
    EXPECT_NE(nullptr, GetPropA(tree, "DTVSystemTreeview"));

    // The tree fills the container, also after the container is resized.
    SIZE container = ClientSize(Win.treeContainer);
    RECT treeRect;
    GetWindowRect(tree, &treeRect);
    EXPECT_EQ(container.cx, treeRect.right - treeRect.left);
    EXPECT_EQ(container.cy, treeRect.bottom - treeRect.top);
    MoveWindow(Win.treeContainer, 0, 0, 300, 200, TRUE);
    container = ClientSize(Win.treeContainer);
    GetWindowRect(tree, &treeRect);
    EXPECT_EQ(container.cx, treeRect.right - treeRect.left);
    EXPECT_EQ(container.cy, treeRect.bottom - treeRect.top);

    // The browser's dialog is never seen.
    std::vector<HWND> dialogs = BrowserDialogsOf(tree);
    ASSERT_EQ(1u, dialogs.size());
    RECT dialogRect;
    GetWindowRect(dialogs[0], &dialogRect);
    EXPECT_TRUE(!IsWindowVisible(dialogs[0]) || dialogRect.right <= 0);
}

TEST_F(TreePaneTest, FirstNavigationWaitsForTheWindowBuild) {
    std::string folder = Folder("first1");
    WritePathSetting(folder + "\\");

    ASSERT_NO_FATAL_FAILURE(CreatePane());
    ASSERT_TRUE(PumpUntil([] { return MainLog.readies > 0; }));
    PumpMessages();
    EXPECT_FALSE(TreeReady);
    EXPECT_EQ(0, MainLog.selections);
    EXPECT_FALSE(IsWindowVisible(Win.list));

    FormLoaded = true;
    RunFirstNavigationIfReady();
    // The selection, the folder shown and the windows shown each come by a
    // message of their own.
    PumpUntil([&folder] {
        return MainLog.selections > 0 && TreeReady && CurrentFolder() == folder &&
               IsWindowVisible(Win.list) && IsWindowVisible(Win.treeContainer);
    });
    EXPECT_TRUE(TreeReady);
    EXPECT_EQ(folder, CurrentFolder());
    EXPECT_TRUE(PumpUntil([&folder] { return SelectedItemPath() == folder + "\\"; }))
        << SelectedItemPath();
    EXPECT_TRUE(IsWindowVisible(Win.list));
    EXPECT_TRUE(IsWindowVisible(Win.treeContainer));
    EXPECT_EQ("Select A Folder To View", TipOf(Tree()));

    RunFirstNavigationIfReady();
    PumpMessages();
    EXPECT_EQ(1, MainLog.selections);
}

TEST_F(TreePaneTest, TheCommandLineFolderComesBeforeThePathSetting) {
    std::string given = Folder("given"), saved = Folder("saved");
    WritePathSetting(saved + "\\");
    StartFolder = given;
    FormLoaded = true;
    ASSERT_NO_FATAL_FAILURE(CreatePane());
    EXPECT_TRUE(PumpUntil([&given] { return TreeReady && CurrentFolder() == given; }))
        << CurrentFolder();
    StartFolder.clear();
}

TEST_F(TreePaneTest, FirstNavigationRunsOnceWhenTheWindowWasBuiltFirst) {
    std::string folder = Folder("first2");
    WritePathSetting(folder + "\\");

    FormLoaded = true;
    ASSERT_NO_FATAL_FAILURE(CreatePane());
    ASSERT_TRUE(PumpUntil([] { return TreeReady && MainLog.selections > 0; }));
    PumpMessages();
    EXPECT_EQ(1, MainLog.readies);
    EXPECT_EQ(1, MainLog.selections);
    EXPECT_EQ(folder, CurrentFolder());
    EXPECT_TRUE(PumpUntil([&folder] { return SelectedItemPath() == folder + "\\"; }))
        << SelectedItemPath();

    RunFirstNavigationIfReady();
    PumpMessages();
    EXPECT_EQ(1, MainLog.selections);
}

TEST_F(TreePaneTest, NavigateToSelectsTheFolderWithoutTrailingBackslash) {
    std::string sub = Folder("nav\\Site Plans");
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());

    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(sub + "\\"));
    EXPECT_EQ(sub, CurrentFolder());
    EXPECT_EQ(sub + "\\", SelectedItemPath());

    ASSERT_NO_FATAL_FAILURE(NavigateAndWait("C:"));
    EXPECT_EQ("C:\\", CurrentFolder());
    EXPECT_EQ("C:\\", SelectedItemPath());
}

TEST_F(TreePaneTest, NavigateToAMissingFolderKeepsTheRequestedText) {
    std::string folder = Folder("missing");
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(folder));
    int selections = MainLog.selections;

    NavigateTo(folder + "\\missing\\");
    PumpMessages();
    EXPECT_EQ(folder + "\\missing", CurrentFolder());
    EXPECT_EQ(selections, MainLog.selections);
    EXPECT_EQ(folder + "\\", SelectedItemPath());
}

TEST_F(TreePaneTest, TreeItemPathWalksUpToTheDriveOrTheDesktop) {
    std::string folder = Folder("items");
    std::string sub = Folder("items\\Drawings");
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(sub));

    HWND tree = Tree();
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(sub + "\\", TreeItemPath(tree, item));
    auto parent = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
    EXPECT_EQ(folder + "\\", TreeItemPath(tree, parent));

    char desktop[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOP, FALSE));
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    EXPECT_EQ(std::string(desktop) + "\\", TreeItemPath(tree, root));
}

// With no folder the listing stops before it reaches the path box, so the
// request to remember the path is still there. (Superseding a running listing
// is tested in the main window.)
TEST(RestartListBuild, AsksTheListingToRememberThePath) {
    SetCurrentFolder("");
    RememberPath = false;
    RestartListBuild();
    EXPECT_TRUE(RememberPath);
    RememberPath = false;
}

TEST_F(TreePaneTest, DestroyTreePaneEndsThePaneThread) {
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    HWND container = Win.treeContainer;
    HWND tree = Tree();
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(tree, nullptr));
    ASSERT_NE(nullptr, thread);

    DestroyTreePane();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0));
    CloseHandle(thread);
    EXPECT_FALSE(IsWindow(container));
    EXPECT_FALSE(IsWindow(tree));
    EXPECT_EQ(nullptr, Win.treeContainer);
}

TEST_F(TreePaneTest, DestroyRightAfterCreateWaitsForTheBrowserAndEnds) {
    ASSERT_NO_FATAL_FAILURE(CreatePane());
    HWND container = Win.treeContainer;
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, PaneThreadId());
    ASSERT_NE(nullptr, thread);
    DestroyTreePane();
    EXPECT_EQ(nullptr, Win.treeContainer);
    EXPECT_FALSE(IsWindow(container));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0)) << "the pane's thread goes on";
    CloseHandle(thread);
    EXPECT_EQ(0u, PaneThreadId());
    // A pane made afterwards works as the first did.
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    EXPECT_EQ(Win.treeContainer, GetParent(Tree()));
}

TEST_F(TreePaneTest, KeysInTheTree) {
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    HWND tree = Tree();

    // F5 is handed to the main window, where the pane may be rebuilt.
    EXPECT_EQ(1, SendMessageA(tree, WM_KEYUP, VK_F5, 0));
    ASSERT_TRUE(PumpUntil([] { return MainLog.f5Keys > 0; }));
    EXPECT_EQ(1, MainLog.f5Keys);

    // Esc clears the list's selection, except right after a dialog closed
    // (the Esc that closed it). The tree asks the main thread to do it.
    AddRows(3);
    SetAllRowsSelected(true);
    ASSERT_EQ(3, SelectedRows());
    DialogClosed = true;
    SendMessageA(tree, WM_KEYUP, VK_ESCAPE, 0);
    PumpMessages();
    EXPECT_EQ(3, SelectedRows());
    DialogClosed = false;
    SelectionMode = true;
    SendMessageA(tree, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([] { return SelectedRows() == 0; }, 5000));
    EXPECT_FALSE(SelectionMode);

    // Ctrl+A selects every row; A alone selects nothing.
    INPUT ctrl[2] = {};
    ctrl[0].type = ctrl[1].type = INPUT_KEYBOARD;
    ctrl[0].ki.wVk = ctrl[1].ki.wVk = VK_CONTROL;
    ctrl[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &ctrl[0], sizeof(INPUT));
    SendMessageA(tree, WM_KEYUP, 'A', 0);
    SendInput(1, &ctrl[1], sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([] { return SelectedRows() == 3; }, 5000));
    EXPECT_TRUE(SelectionMode);
    EXPECT_TRUE(StatusUpdate);
    SetAllRowsSelected(false);
    SendMessageA(tree, WM_KEYUP, 'A', 0);
    PumpMessages();
    EXPECT_EQ(0, SelectedRows());
}

TEST_F(TreePaneTest, RightButtonNeitherSelectsNorLists) {
    std::string folder = Folder("rbutton");
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(folder));
    HWND tree = Tree();
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    auto parent = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
    RECT rect = ItemRect(tree, parent);
    ASSERT_LT(rect.left, rect.right);
    int selections = MainLog.selections;

    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    EXPECT_EQ(1, SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, at));
    PumpMessages();
    EXPECT_EQ(item,
              reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
    EXPECT_EQ(selections, MainLog.selections);
    EXPECT_EQ(folder, CurrentFolder());
}

// What the tree's thread sends to the main thread's windows is posted, so the
// tree answers while the main thread is busy (here: blocked), and the main
// thread acts on it once it is free.
struct TreeProbe {
    HWND tree;
    bool answered;
};

DWORD WINAPI SendTreeMessages(void* argument) {
    TreeProbe* probe = static_cast<TreeProbe*>(argument);
    const struct {
        UINT msg;
        WPARAM wParam;
    } messages[] = {{WM_MOUSEMOVE, 0}, {WM_MOUSEMOVE, 0}, {WM_LBUTTONUP, 0}, {WM_KEYUP, VK_ESCAPE}};
    for (const auto& m : messages) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(probe->tree, m.msg, m.wParam, MAKELPARAM(5, 5), SMTO_NORMAL, 3000,
                                 &result))
            probe->answered = false;
    }
    return 0;
}

TEST_F(TreePaneTest, TreeAnswersWhileTheMainThreadIsBusy) {
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NE(nullptr, Win.tooltip);
    AddRows(2);
    SetAllRowsSelected(true);
    TreeProbe probe = {Tree(), true};
    HANDLE helper = CreateThread(nullptr, 0, SendTreeMessages, &probe, 0, nullptr);
    ASSERT_NE(nullptr, helper);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(helper, 20000));
    CloseHandle(helper);
    EXPECT_TRUE(probe.answered) << "the tree waited for the main thread";
    EXPECT_TRUE(PumpUntil([] { return SelectedRows() == 0; }, 5000));
}

// F5 rebuilds the pane on a new thread, which goes back to the listed folder.
TEST_F(TreePaneTest, RefreshRebuildsThePaneAndReturnsToTheFolder) {
    std::string folder = Folder("refresh");
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(folder));
    HWND oldTree = Tree();
    HANDLE oldThread = OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(oldTree, nullptr));
    int selections = MainLog.selections;
    TreeReady = false;

    RefreshTreePane();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(oldThread, 0));
    CloseHandle(oldThread);
    ASSERT_TRUE(PumpUntil([&] { return TreeReady && MainLog.selections > selections; }));
    PumpMessages();
    EXPECT_EQ(selections + 1, MainLog.selections);
    EXPECT_EQ(folder, CurrentFolder());
    HWND tree = Tree();
    ASSERT_NE(nullptr, tree);
    EXPECT_NE(oldTree, tree);
    EXPECT_EQ(Win.treeContainer, GetParent(tree));
    EXPECT_EQ(ID_TREE_PANE, GetDlgCtrlID(Win.treeContainer));
    EXPECT_EQ(folder + "\\", SelectedItemPath());
}

namespace {

// Sends the tree a message over and over from a thread of its own, until
// told to stop, and counts the times it took longer than a second to answer.
struct AnswerWatch {
    HWND tree;
    volatile bool stop;
    int late;
};

DWORD WINAPI WatchAnswers(void* param) {
    AnswerWatch* watch = static_cast<AnswerWatch*>(param);
    while (!watch->stop) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(watch->tree, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result))
            ++watch->late;
        Sleep(10); // paces the questions; the answers are what is counted
    }
    return 0;
}

} // namespace

// A folder of 20,000 sub-folders opens within seconds, with all of them in
// order, and the tree answers within a second throughout.
TEST_F(TreePaneTest, AFolderOfTwentyThousandSubFoldersOpensWhileTheTreeAnswers) {
    const char* many = std::getenv("KORVEX_MANY_FOLDERS");
    if (!many) GTEST_SKIP() << "KORVEX_MANY_FOLDERS names no folder of 20,000 sub-folders";
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(many));
    HWND tree = Tree();
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    LRESULT itemsBefore = SendMessageA(tree, TVM_GETCOUNT, 0, 0);
    AnswerWatch watch = {tree, false, 0};
    HANDLE watcher = CreateThread(nullptr, 0, WatchAnswers, &watch, 0, nullptr);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    EXPECT_TRUE(PumpUntil(
        [&] { return SendMessageA(tree, TVM_GETITEMSTATE, (WPARAM)item, TVIS_EXPANDED) != 0; },
        60000));
    watch.stop = true;
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    EXPECT_EQ(0, watch.late);

    EXPECT_EQ(20000, SendMessageA(tree, TVM_GETCOUNT, 0, 0) - itemsBefore);
    std::vector<std::string> names; // the first three
    auto child = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    for (; child && names.size() < 3;
         child = reinterpret_cast<HTREEITEM>(
             SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        names.push_back(FileNamePart(Unslashed(TreeItemPath(tree, child))));
    EXPECT_EQ((std::vector<std::string>{"job0", "job1", "job10"}), names);
}
