// Nothing the user owns is replaced, lost or acted on by mistake: taken names
// are asked about, replaced files go to the trash, the rows acted on are the
// selected ones, and a key that closed a dialog does nothing in the list.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "filemanager/drag_drop.h"
#include "filemanager/file_operations.h"
#include "filemanager/list_context_menu.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/long_paths.h"
#include "runtime/win_helpers.h"
#include "runtime/file_facts.h"
#include "settings/favorites_menu.h"
#include "settings/shortcuts.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/drop_maker.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/trash.h"
#include "tests/ui/list_test_support.h"
#include "tests/ui/main_window_fixture.h"

namespace {

class SafeTransfersTest : public MainWindowTest {
  protected:
    ScratchFolder folder, target;
    DialogAnswerer answers; // any dialog not answered fails the test
    // Names of this run's own, so that files in the shared trash are told apart.
    std::string run = std::to_string(GetTickCount());

    void SetUp() override {
        MainWindowTest::SetUp();
        for (int n = 1; n <= 5; ++n) {
            Settings.copyTo[n] = Settings.moveTo[n] = "";
            Settings.showCopyTo[n] = Settings.showMoveTo[n] = "FALSE";
        }
        Settings.moveTo[1] = Settings.copyTo[1] = target.path();
        DialogClosed = false;
    }
    static std::string New(const std::string& name) { return "new " + name; }
    static std::string Old(const std::string& name) { return "old " + name; }
    // The drawings in the listed folder, and older ones of the same names in
    // the target.
    void Prepare(const std::vector<std::string>& listed, const std::vector<std::string>& taken) {
        Prepare(listed, taken, folder, target);
    }
    static void Prepare(const std::vector<std::string>& listed,
                        const std::vector<std::string>& taken, const ScratchFolder& from,
                        const ScratchFolder& into) {
        for (const std::string& name : listed)
            ASSERT_TRUE(WriteBytes(from.file(name), New(name)));
        for (const std::string& name : taken)
            ASSERT_TRUE(WriteBytes(into.file(name), Old(name)));
        ListFolder(Unslashed(from.path()));
    }
    // Clicks a button of the question and keeps what it said.
    void AnswerQuestion(int button, std::string* said = nullptr) {
        answers.Add([button, said](HWND dlg) {
            if (said) *said = WindowText(GetDlgItem(dlg, ID_TAKEN_TEXT));
            ClickButton(dlg, button);
        });
    }
};

// --------------------------------------------------------------------------
// Taken names

TEST_F(SafeTransfersTest, AMoveOntoTakenNamesAsksOnceAndFollowsTheAnswer) {
    struct Case {
        int button;
        bool threeRows;
    } cases[] = {{ID_TAKEN_REPLACE, false},  {ID_TAKEN_REPLACE, true}, {ID_TAKEN_KEEP_BOTH, false},
                 {ID_TAKEN_KEEP_BOTH, true}, {ID_TAKEN_SKIP, true},    {IDCANCEL, true}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.button) + (c.threeRows ? " three rows" : " one row"));
        std::string prefix = run + "-" + std::to_string(++n) + " ";
        std::string a = prefix + "a.dwg", b = prefix + "b.dwg", free = prefix + "c.dwg";
        ScratchFolder from, into;
        Settings.moveTo[1] = into.path();
        ASSERT_NO_FATAL_FAILURE(Prepare({a, b, free}, {a, b}, from, into));
        const ScratchFolder &folder = from, &target = into;
        Select(c.threeRows ? std::vector<int>{0, 1, 2} : std::vector<int>{0});
        std::string said;
        AnswerQuestion(c.button, &said);
        RunListCommand(IDM_MOVE_TO_BASE + 1, RowPoint(0));
        ASSERT_EQ(n, answers.Answered());
        EXPECT_EQ("Move Files", answers.Seen(n - 1).caption);
        EXPECT_NE(std::string::npos, said.find(a)) << said;
        EXPECT_EQ(c.threeRows, said.find(b) != std::string::npos) << said;

        bool replaced = c.button == ID_TAKEN_REPLACE, kept = c.button == ID_TAKEN_KEEP_BOTH;
        bool moved = replaced || kept;
        EXPECT_EQ(replaced ? New(a) : Old(a), ReadBytes(target.file(a)));
        EXPECT_EQ(moved ? "" : New(a), ReadBytes(folder.file(a)));
        EXPECT_EQ(kept ? New(a) : "", ReadBytes(target.file(prefix + "a (2).dwg")));
        // What was replaced can be brought back from the trash.
        EXPECT_EQ(replaced ? Old(a) : "", ReadBytes(TrashFilesFolder() + a));
        if (c.threeRows) {
            EXPECT_EQ(replaced ? New(b) : Old(b), ReadBytes(target.file(b)));
            // The file whose name was free moves unless the whole was cancelled.
            EXPECT_EQ(c.button == IDCANCEL ? "" : New(free), ReadBytes(target.file(free)));
        }
    }
}

TEST_F(SafeTransfersTest, ACopyIntoTheFolderItLiesInIsMadeBesideIt) {
    std::string name = "r" + run + ".dwg";
    ASSERT_NO_FATAL_FAILURE(Prepare({name}, {}));
    Settings.copyTo[2] = folder.path();
    Settings.showCopyTo[2] = "TRUE";
    Select({0});
    RunListCommand(IDM_COPY_TO_BASE + 2, RowPoint(0));
    EXPECT_EQ(New(name), ReadBytes(folder.file("Copy of " + name)));
    EXPECT_EQ(0, answers.Answered());
    // A copy into the listed folder shows the copy.
    EXPECT_EQ((std::vector<std::string>{"Copy of " + name, name}), Column(2));
}

TEST_F(SafeTransfersTest, DropsOnTheListAskBeforeATakenName) {
    std::string name = run + " dropped.dwg";
    ASSERT_NO_FATAL_FAILURE(Prepare({name}, {name}));
    ListFolder(Unslashed(target.path()));
    AnswerQuestion(ID_TAKEN_KEEP_BOTH);
    // "&Move To" is the second entry of the drop menu.
    PostMessageA(Win.list, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder.file(name)})),
                 0);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
        PostMessageA(Win.list, WM_KEYDOWN, key, 0);
    EXPECT_TRUE(PumpUntil([&] { return Column(2).size() == 2; }));
    EXPECT_EQ(1, answers.Answered());
    EXPECT_EQ(Old(name), ReadBytes(target.file(name)));
    EXPECT_EQ(New(name), ReadBytes(target.file(run + " dropped (2).dwg")));
    EXPECT_FALSE(PathExists(folder.file(name)));
}

// A dropped folder is copied with all it holds; one whose name is taken is
// kept beside under a numbered name.
TEST_F(SafeTransfersTest, DroppedFoldersAreCopiedWhole) {
    ASSERT_TRUE(CreateDirectoryA(folder.file("sheets").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder.file("sheets\\a.dwg"), "inside"));
    ASSERT_TRUE(CreateDirectoryA(target.file("sheets").c_str(), nullptr));
    ListFolder(Unslashed(target.path()));
    AnswerQuestion(ID_TAKEN_KEEP_BOTH);
    PostMessageA(Win.list, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({folder.file("sheets")})), 0);
    for (WPARAM key : {VK_DOWN, VK_RETURN}) // "C&opy To"
        PostMessageA(Win.list, WM_KEYDOWN, key, 0);
    EXPECT_TRUE(PumpUntil([&] { return PathExists(target.file("sheets (2)\\a.dwg")); }));
    EXPECT_EQ("inside", ReadBytes(target.file("sheets (2)\\a.dwg")));
    EXPECT_FALSE(PathExists(target.file("sheets\\a.dwg")));
    EXPECT_EQ("inside", ReadBytes(folder.file("sheets\\a.dwg")));
}

// --------------------------------------------------------------------------
// The rows acted on

TEST_F(SafeTransfersTest, TheKeyboardsMenuOpensAtTheSelectionAndActsOnIt) {
    ASSERT_NO_FATAL_FAILURE(Prepare({"a.dwg", "b.dwg", "c.dwg"}, {}));
    Settings.showCopyTo[1] = "TRUE";
    Select({1, 2});
    ListView_SetItemState(Win.list, 2, LVIS_FOCUSED, LVIS_FOCUSED);
    // The mouse rests over a row that is not selected.
    POINT resting = RowPoint(0);
    SetCursorPos(resting.x, resting.y);
    // "&Copy To", then its first entry: the target.
    PostMessageA(Win.main, WM_CHAR, 'c', 0);
    PostMessageA(Win.main, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(Win.list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Win.list), -1);
    EXPECT_EQ(New("b.dwg"), ReadBytes(target.file("b.dwg")));
    EXPECT_EQ(New("c.dwg"), ReadBytes(target.file("c.dwg")));
    EXPECT_FALSE(PathExists(target.file("a.dwg")));
}

// A key whose press closed a dialog or a message box is released over the
// list: the release must neither open nor deselect the selected drawings.
TEST_F(SafeTransfersTest, AKeyThatClosedADialogDoesNothingInTheList) {
    ScratchFolder opened;
    OpenRecorder recorder(opened.path());
    ASSERT_NO_FATAL_FAILURE(Prepare({"a.dwg", "b.dwg"}, {}));
    auto about = [] { SendMessageA(Win.main, WM_COMMAND, IDM_ABOUT, 0); };
    auto cancelledBrowse = [] { RunListCommand(IDM_COPY_BROWSE, RowPoint(0)); };
    struct Case {
        const char* what;
        WPARAM key;
        std::function<void()> open;
        bool browserFirst;
    } cases[] = {
        {"About, Enter", VK_RETURN, about, false},
        {"About, Esc", VK_ESCAPE, about, false},
        {"Function Cancelled, Enter", VK_RETURN, cancelledBrowse, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Select({0});
        if (c.browserFirst) answers.Add([](HWND browser) { ClickButton(browser, IDCANCEL); });
        WPARAM key = c.key;
        // The press closes the dialog; its release follows to the window
        // that has the focus then, the list.
        answers.Add([key](HWND dlg) {
            // Enter presses the default button, Esc cancels.
            LRESULT defaultId = SendMessageA(dlg, DM_GETDEFID, 0, 0);
            WPARAM id =
                key == VK_ESCAPE || HIWORD(defaultId) != DC_HASDEFID ? IDCANCEL : LOWORD(defaultId);
            SendMessageA(dlg, WM_COMMAND, id, 0);
        });
        c.open();
        SetFocus(Win.list);
        SendMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
        EXPECT_EQ(1, SelectedCount());
    }
    // The list's own Enter opens its selection: b.dwg, and never a.dwg.
    Select({1});
    PostMessageA(Win.list, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(PumpUntil([&] {
        MSG msg;
        // Through the window's own loop, where the dialog manager sees keys.
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageA(Win.main, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        return PathExists(opened.file("b.dwg"));
    }));
    EXPECT_FALSE(PathExists(opened.file("a.dwg")));
}

// --------------------------------------------------------------------------
// Names

TEST_F(SafeTransfersTest, AnAmpersandInANameIsNoMnemonicInAnyMenu) {
    ASSERT_NO_FATAL_FAILURE(Prepare({"R&D.dwg"}, {}));
    Select({0});
    std::string menu = RightClick(Win.list, WM_CONTEXTMENU, 0, [] {
        POINT at = RowPoint(0);
        return MAKELPARAM(at.x, at.y);
    }());
    EXPECT_EQ(0u, menu.find("&Open R&&D.dwg*")) << menu;
    EXPECT_NE(std::string::npos, menu.find("Create R&&D.zip")) << menu;

    HMENU drop = BuildListDropMenu("Z:\\R&D\\");
    EXPECT_EQ("C&opy To Z:\\R&&D\\|&Move To Z:\\R&&D\\|-|Cancel", Texts(drop));
    DestroyMenu(drop);
    EXPECT_EQ("a&&b  (C:\\R&&D)", ShortcutMenuText("a&b", "C:\\R&D"));
    ASSERT_TRUE(CreateDirectoryA(target.file("R&D").c_str(), nullptr));
    Settings.favorites[1] = target.file("R&D");
    RefreshFavoritesMenu();
    char label[MAX_PATH * 2] = "";
    GetMenuStringA(Win.favoritesMenu, IDM_FAVORITE_FIRST, label, sizeof label, MF_BYCOMMAND);
    EXPECT_EQ(target.file("R&&D"), label);
    Settings.favorites[1].clear();
    RefreshFavoritesMenu();
}

TEST_F(SafeTransfersTest, AnInvalidFavouriteSaysSoAndLeavesTheWindowWhereItIs) {
    ASSERT_NO_FATAL_FAILURE(Prepare({"a.dwg"}, {}));
    Settings.favorites[2] = target.file("gone");
    answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
    SendMessageA(Win.main, WM_COMMAND, IDM_FAVORITE_FIRST + 1, 0);
    ASSERT_EQ(1, answers.Answered());
    EXPECT_EQ("Invalid Directory: " + target.file("gone"), answers.Seen(0).text);
    EXPECT_EQ(folder.path(), WithTrailingBackslash(CurrentFolder()));
    EXPECT_EQ((std::vector<std::string>{"a.dwg"}), Column(2));
}

// Files whose full path passes MAX_PATH are copied, moved and sent to the
// trash as the listing shows them.
TEST_F(SafeTransfersTest, FilesOfLongPathsAreActedOnLikeAnyOther) {
    std::string deep = MakeFolderOfLength(folder, MAX_PATH - 12);
    ASSERT_FALSE(deep.empty());
    std::vector<std::string> names = {"copied " + run + ".dwg", "deleted " + run + ".dwg"};
    for (const std::string& name : names) {
        ASSERT_GE((deep + name).size(), static_cast<size_t>(MAX_PATH));
        ASSERT_TRUE(WriteBytes(deep + name, New(name)));
    }
    ListFolder(Unslashed(deep));
    ASSERT_EQ(names, Column(2));
    Select({0});
    RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(0));
    EXPECT_EQ(New(names[0]), ReadBytes(target.file(names[0])));
    Select({1});
    answers.Add([](HWND dlg) { ClickButton(dlg, IDYES); }); // the shell's confirmation
    RunListCommand(IDM_LIST_DELETE, RowPoint(1));
    EXPECT_EQ(FileAttributesOf(deep + names[1]), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(New(names[1]), TrashedContents(names[1]));
}

} // namespace

namespace {
TEST_F(SafeTransfersTest, PropertiesShowTheFilesFacts) {
    ASSERT_NO_FATAL_FAILURE(Prepare({"a.dwg"}, {}));
    Select({0});
    std::string text;
    answers.Add([&](HWND dlg) {
        text = DialogMessageText(dlg);
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    RunListCommand(IDM_LIST_PROPERTIES, RowPoint(0));
    PumpUntil([&] { return answers.Answered() == 1; });
    ASSERT_EQ(1, answers.Answered());
    EXPECT_EQ("Properties", answers.Seen(0).caption);
    EXPECT_EQ(0u,
              text.find("Name:\ta.dwg\r\nFolder:\t" + folder.path() + "\r\nSize:\t0 KB (9 bytes)"))
        << text;
}
} // namespace
