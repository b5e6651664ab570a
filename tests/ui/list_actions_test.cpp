// What the user does with the listed drawings: the context menu, the keys,
// double-clicks and the file operations, checked on disk.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "filelist/list_rows.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/trash.h"
#include "tests/ui/list_test_support.h"
#include "tests/ui/main_window_fixture.h"
#include "filemanager/file_operations.h"
#include "filemanager/list_context_menu.h"

namespace {

class ListActionsTest : public MainWindowTest {
  protected:
    ScratchFolder folder, target;
    DialogAnswerer answers; // any dialog not answered fails the test

    void SetUp() override {
        MainWindowTest::SetUp();
        for (int n = 1; n <= 5; ++n) {
            Settings.copyTo[n] = Settings.moveTo[n] = "";
            Settings.showCopyTo[n] = Settings.showMoveTo[n] = "FALSE";
        }
        DialogClosed = false;
    }

    // Drawings with contents of their own, listed in name order.
    void ListDrawings(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            ASSERT_TRUE(WriteBytes(folder.file(name), Contents(name)));
        ListFolder(Unslashed(folder.path()));
        ASSERT_EQ(names, Column(2));
    }
    static std::string Contents(const std::string& name) {
        return MakeDrawingWithoutImages("AC1015") + name;
    }
    void Answer(int button) {
        answers.Add([button](HWND dlg) { ClickButton(dlg, button); });
    }
    void ExpectMessage(int index, const std::string& text, const std::string& caption) {
        ASSERT_LT(index, answers.Answered());
        EXPECT_EQ(text, answers.Seen(index).text);
        EXPECT_EQ(caption, answers.Seen(index).caption);
    }
    // A tree refresh ends in a listing of its own, after the command.
    static void ClearSummary() {
        SendMessageA(Win.status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    }
    static void WaitForRelisting() {
        EXPECT_TRUE(PumpUntil([] {
            return TreeReady && !ListingActive &&
                   StatusText(0).find("Total Object(s) Found") != std::string::npos;
        }));
    }
};

// --------------------------------------------------------------------------
// The context menu

TEST_F(ListActionsTest, MenuItemsFollowTheSelection) {
    const std::string targets = "&Copy To[-|Browse...|-|Ne&w Folder...|-|Customize...]|&Move "
                                "To[-|Browse...|-|Ne&w Folder...|-|Customize...]|&Delete|-|";
    const std::string exports = "Export &HTML...|-|&Zip Files...";
    const std::string one = "|Create plan.zip|-|Create Ne&w Folder...|-|P&roperties";
    struct Case {
        int selected, count;
        bool preview;
        std::string texts;
    } cases[] = {
        {0, 0, false, "-|Create Ne&w Folder..."},
        {0, 3, false, "Select &All|-|" + exports + "|-|Create Ne&w Folder..."},
        {1, 3, false, "&Open plan.dwg*|-|Select &All|-|" + targets + exports + one},
        {1, 3, true,
         "&Open plan.dwg*|-|&3X Enlarged View|-|Select &All|-|" + targets + exports + one},
        {1, 1, true, "&Open plan.dwg*|-|&3X Enlarged View|-|" + targets + exports + one},
        {2, 3, true,
         "&Open 2 Selected Files*|-|Select &All|-|" + targets + exports +
             "|-|Create Ne&w Folder..."},
        {3, 3, false,
         "&Open 3 Selected Files*|-|" + targets + exports + "|-|Create Ne&w Folder..."},
    };
    for (const Case& c : cases) {
        HMENU menu =
            BuildListContextMenu(c.selected ? "plan.dwg" : "", c.selected, c.count, c.preview);
        EXPECT_EQ(c.texts, Texts(menu)) << c.selected << " of " << c.count;
        DestroyMenu(menu);
    }
}

TEST_F(ListActionsTest, ShownTargetsWithAPathGetItemsAndEveryItemItsId) {
    Settings.copyTo[1] = "C:\\One";
    Settings.copyTo[2] = "C:\\Hidden";
    Settings.copyTo[5] = "C:\\Five\\";
    Settings.showCopyTo[1] = Settings.showCopyTo[3] = Settings.showCopyTo[5] = "TRUE";
    Settings.moveTo[4] = "D:\\Four";
    Settings.showMoveTo[4] = "TRUE";
    HMENU menu = BuildListContextMenu("plan.dwg", 1, 2, true);
    EXPECT_EQ((std::vector<int>{7101, 7102, 7103, 7104, 7105, 7106, 7109, 7107, 7108}), Ids(menu));
    HMENU copy = GetSubMenu(menu, 6), move = GetSubMenu(menu, 7);
    EXPECT_EQ("C:\\One\\|C:\\Five\\|-|Browse...|-|Ne&w Folder...|-|Customize...", Texts(copy));
    EXPECT_EQ((std::vector<int>{7111, 7115, 7116, 7118, 7117}), Ids(copy));
    EXPECT_EQ("D:\\Four\\|-|Browse...|-|Ne&w Folder...|-|Customize...", Texts(move));
    EXPECT_EQ((std::vector<int>{7124, 7126, 7128, 7127}), Ids(move));
    DestroyMenu(menu);
}

TEST_F(ListActionsTest, RightClickOffersTheEnlargedViewOnlyForARowWithAPreview) {
    DibRecipe recipe;
    recipe.width = 30;
    recipe.height = 20;
    recipe.color = [](int x, int) { return x < 15 ? 0x000000u : 0xFFFFFFu; };
    recipe.palette = DrawingPalette();
    ASSERT_TRUE(WriteBytes(folder.file("plain.dwg"), Contents("plain.dwg")));
    ASSERT_TRUE(WriteBytes(folder.file("shown.dwg"),
                           MakeDrawing("AC1015", {{1, "header"}, {2, MakeDib(recipe)}})));
    ListFolder(Unslashed(folder.path()));
    for (int row : {1, 0}) {
        Select({row});
        POINT at = RowPoint(row);
        std::string menu = RightClick(Win.list, WM_CONTEXTMENU, 0, MAKELPARAM(at.x, at.y));
        EXPECT_EQ(row == 1, menu.find("&3X Enlarged View") != std::string::npos) << menu;
        EXPECT_EQ(0u, menu.find("&Open " + Column(2)[row])) << menu;
        // The release of the Esc that closed the menu does not clear the
        // selection.
        EXPECT_TRUE(DialogClosed);
        SendMessageA(Win.list, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        EXPECT_EQ(1, SelectedCount());
        EXPECT_TRUE(PumpUntil([] { return !DialogClosed; }));
    }
    // Below the rows, where a click clears the selection: no row.
    Select({});
    POINT below = BelowTheRows();
    ClientToScreen(Win.list, &below);
    EXPECT_EQ(
        0u,
        RightClick(Win.list, WM_CONTEXTMENU, 0, MAKELPARAM(below.x, below.y)).find("Select &All|"));
    // A drag with the right button opens the menu too.
    NMHDR drag = {Win.list, ID_FILE_LIST, static_cast<UINT>(LVN_BEGINRDRAG)};
    std::string menu =
        RightClick(Win.main, WM_NOTIFY, ID_FILE_LIST, reinterpret_cast<LPARAM>(&drag));
    EXPECT_NE(std::string::npos, menu.find("Create Ne&w Folder...")) << menu;
}

// --------------------------------------------------------------------------
// Keys and double-clicks

TEST_F(ListActionsTest, EscDeselectsAndCtrlASelectsAll) {
    ListDrawings({"a.dwg", "b.dwg", "c.dwg"});
    Select({1});
    DialogClosed = true; // a dialog has just closed
    KeyDown(VK_ESCAPE);
    EXPECT_EQ(1, SelectedCount());
    DialogClosed = false;
    KeyDown(VK_ESCAPE);
    EXPECT_EQ(0, SelectedCount());
    KeyDown('A'); // without Ctrl
    EXPECT_EQ(0, SelectedCount());
    INPUT ctrl[2] = {};
    ctrl[0].type = ctrl[1].type = INPUT_KEYBOARD;
    ctrl[0].ki.wVk = ctrl[1].ki.wVk = VK_CONTROL;
    ctrl[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &ctrl[0], sizeof(INPUT));
    PumpUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }, 2000);
    KeyDown('A');
    SendInput(1, &ctrl[1], sizeof(INPUT));
    PumpUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0; }, 2000);
    EXPECT_EQ(3, SelectedCount());
    EXPECT_TRUE(SelectionMode);
}

TEST_F(ListActionsTest, DoubleClickOpensOnlyDrawingsAndReportsAFailure) {
    ListDrawings({"a.dwg"});
    POINT at = RowPoint(0);
    ScreenToClient(Win.list, &at);
    Answer(IDOK); // nothing here opens drawings: the shell fails
    SendMessageA(Win.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ExpectMessage(0, "Error opening " + folder.path() + "a.dwg", "Error");
    // Another extension, or empty space, opens nothing.
    POINT below = BelowTheRows();
    SendMessageA(Win.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(below.x, below.y));
    SetRowText(0, 2, "a.txt");
    SendMessageA(Win.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(1, answers.Answered());
}

TEST_F(ListActionsTest, EnterAndOpenSkipBackups) {
    SelectExtension("ALL TYPES");
    ListDrawings({"a.bak", "b.dwg", "c.dwg", "x.BAK"});
    SelectExtension(".DWG");
    OpenRecorder recorder(target.path());
    Select({0, 3});
    KeyDown(VK_RETURN);
    Select({1});
    KeyDown(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return PathExists(target.file("b.dwg")); }));
    // The menu's Open takes the row under the menu and the selection.
    Select({0, 2});
    RunListCommand(IDM_LIST_OPEN, RowPoint(2));
    EXPECT_TRUE(PumpUntil([&] { return PathExists(target.file("c.dwg")); }));
    EXPECT_FALSE(PathExists(target.file("a.bak")));
    EXPECT_FALSE(PathExists(target.file("x.BAK")));
}

// --------------------------------------------------------------------------
// File operations

TEST_F(ListActionsTest, DeleteSendsTheSelectionToTheTrashAndRelists) {
    std::string name = "deleted" + std::to_string(GetTickCount()) + ".dwg";
    ListDrawings({name, "kept.dwg"});
    Select({0});
    Answer(IDYES); // the shell's confirmation
    KeyDown(VK_DELETE);
    EXPECT_FALSE(PathExists(folder.file(name)));
    EXPECT_EQ(Contents(name), ReadBytes(TrashFilesFolder() + name));
    EXPECT_EQ((std::vector<std::string>{"kept.dwg"}), Column(2));
    EXPECT_EQ(Contents("kept.dwg"), ReadBytes(folder.file("kept.dwg")));
}

TEST_F(ListActionsTest, TheRowsActedOnAreTheSelectedRowsTheOneUnderThePointFirst) {
    ListDrawings({"a.dwg", "b.dwg", "c.dwg", "d.dwg"});
    Select({0, 1, 3});
    EXPECT_EQ((std::vector<int>{1, 0, 3}), RowsActedOn(RowPoint(1)));
    // A row that is not selected is never acted on, wherever the point is.
    EXPECT_EQ((std::vector<int>{0, 1, 3}), RowsActedOn(RowPoint(2)));
    POINT off = RowPoint(0);
    off.y -= 2000;
    EXPECT_EQ((std::vector<int>{0, 1, 3}), RowsActedOn(off));
    Select({});
    EXPECT_TRUE(RowsActedOn(RowPoint(0)).empty());
    EXPECT_FALSE(TransferSelection(RowPoint(0), false, target.path()));
    ShowFileProperties(RowPoint(0));
}

TEST_F(ListActionsTest, CopyAndMoveToTargets) {
    ListDrawings({"a.dwg", "b.dwg", "c.dwg"});
    Settings.copyTo[2] = Unslashed(target.path());
    Settings.moveTo[5] = target.file("moved");
    ASSERT_TRUE(CreateDirectoryA(Settings.moveTo[5].c_str(), nullptr));
    Select({0, 2});
    RunListCommand(IDM_COPY_TO_BASE + 2, RowPoint(2));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(target.file("a.dwg")));
    EXPECT_EQ(Contents("c.dwg"), ReadBytes(target.file("c.dwg")));
    EXPECT_FALSE(PathExists(target.file("b.dwg")));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("a.dwg")));
    EXPECT_EQ(2, SelectedCount()); // a copy does not relist

    RunListCommand(IDM_MOVE_TO_BASE + 5, RowPoint(0));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(target.file("moved\\a.dwg")));
    EXPECT_EQ(Contents("c.dwg"), ReadBytes(target.file("moved\\c.dwg")));
    EXPECT_EQ((std::vector<std::string>{"b.dwg"}), Column(2));

    // Into their own folder: a move has nothing to do; a copy is made beside
    // the file under a new name, without a question.
    Settings.moveTo[1] = Settings.copyTo[1] = folder.path();
    Select({0});
    RunListCommand(IDM_MOVE_TO_BASE + 1, RowPoint(0));
    for (int copies = 0; copies < 2; ++copies) {
        Select({0}); // each move or copy relists
        RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(0));
    }
    EXPECT_EQ(Contents("b.dwg"), ReadBytes(folder.file("b.dwg")));
    EXPECT_EQ(Contents("b.dwg"), ReadBytes(folder.file("Copy of b.dwg")));
    EXPECT_EQ(Contents("b.dwg"), ReadBytes(folder.file("Copy (2) of b.dwg")));
}

TEST_F(ListActionsTest, BadDestinationsAreReportedAndTransferNothing) {
    ListDrawings({"a.dwg"});
    Select({0});
    ASSERT_TRUE(WriteBytes(target.file("file.txt"), "x")); // a file is no folder
    for (std::string bad : {target.file("missing"), target.file("*"), target.file("file.txt")}) {
        Answer(IDOK);
        Settings.copyTo[1] = Settings.moveTo[1] = bad;
        RunListCommand(IDM_MOVE_TO_BASE + 1, RowPoint(0));
    }
    Answer(IDCANCEL); // the browser
    Answer(IDOK);
    RunListCommand(IDM_COPY_BROWSE, RowPoint(0));
    for (int i = 0; i < 3; ++i)
        ExpectMessage(i, "Destination Directory Does Not Exist", "File Error!");
    ExpectMessage(4, "Function Cancelled", "");
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("a.dwg")));

    std::string chosen = Unslashed(target.path());
    answers.Add([&](HWND browser) {
        EXPECT_NE(nullptr, FindWindowExA(browser, nullptr, "static", "Select a Directory"));
        // Wine's browser can miss a folder it reads for the first time; the
        // program asks three times for the same reason.
        for (int attempt = 0; attempt < 3; ++attempt)
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(chosen.c_str()));
        ClickButton(browser, IDOK);
    });
    Select({0}); // the moves relisted
    RunListCommand(IDM_COPY_BROWSE, RowPoint(0));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(target.file("a.dwg")));
}

TEST_F(ListActionsTest, NewFoldersAreMadeInTheListedFolder) {
    ListDrawings({"a.dwg", "b.dwg"});
    Select({0});
    auto type = [this](const std::string& name) {
        answers.Add([name](HWND input) {
            SetDlgItemTextA(input, 103, name.c_str());
            ClickButton(input, 104);
        });
    };
    type("  Made  ");
    ClearSummary();
    RunListCommand(IDM_MOVE_NEW_FOLDER, RowPoint(0));
    EXPECT_EQ("Create New Folder", answers.Seen(0).caption);
    EXPECT_EQ("Enter new folder name", answers.Seen(0).text);
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("Made\\a.dwg")));
    WaitForRelisting();
    EXPECT_EQ((std::vector<std::string>{"b.dwg"}), Column(2));

    // A name that exists, or that no folder of this one can have.
    Select({0});
    for (const char* name : {"Made", "b.dwg", "a<b", "..\\Out"}) {
        type(name);
        Answer(IDOK);
        RunListCommand(IDM_COPY_NEW_FOLDER, RowPoint(0));
    }
    ExpectMessage(2, "Directory Already Exists!", "Error!");
    ExpectMessage(4, "Directory Already Exists!", "Error!");
    ExpectMessage(6,
                  "Can't Create Directory!\r\n\"a<b\" holds a character Windows does not allow "
                  "in names.",
                  "Error!");
    ExpectMessage(8,
                  "Can't Create Directory!\r\n\"..\\Out\" holds a character Windows does not "
                  "allow in names.",
                  "Error!");
    EXPECT_EQ(Contents("b.dwg"), ReadBytes(folder.file("b.dwg")));

    type("Fresh");
    ClearSummary();
    SendMessageA(Win.main, WM_COMMAND, IDM_NEW_FOLDER, 0);
    EXPECT_TRUE(DialogClosed);
    EXPECT_TRUE(GetFileAttributesA(folder.file("Fresh").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    WaitForRelisting();
    Answer(101); // Cancel makes nothing and says nothing
    RunListCommand(IDM_LIST_NEW_FOLDER, RowPoint(0));
    EXPECT_EQ(11, answers.Answered());
}

TEST_F(ListActionsTest, RowsWhoseFilesAreNotAsListedAreLeftOut) {
    ListDrawings({"a.dwg", "b.dwg", "c.dwg"});
    Settings.copyTo[1] = target.path();
    ASSERT_TRUE(DeleteFileA(folder.file("b.dwg").c_str())); // behind the program's back
    SetRowText(2, 2, "a.dwg ");                             // reads as another file's name
    Select({0, 1, 2});
    Answer(IDOK);
    RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(0));
    ExpectMessage(0,
                  "These files cannot be acted on:\r\nb.dwg was not found\r\na.dwg  ends in a "
                  "dot or a space, which Windows drops from names",
                  "File Error!");
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(target.file("a.dwg")));
    EXPECT_FALSE(PathExists(target.file("c.dwg")));
    // Nothing left to show or delete: only the message.
    Select({1});
    Answer(IDOK);
    RunListCommand(IDM_LIST_PROPERTIES, RowPoint(1));
    Select({1, 2});
    Answer(IDOK);
    KeyDown(VK_DELETE);
    EXPECT_EQ(3, answers.Answered());
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("a.dwg")));
    EXPECT_EQ(Contents("c.dwg"), ReadBytes(folder.file("c.dwg")));
}

TEST_F(ListActionsTest, AThousandSelectedRowsAreMoved) {
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(WriteBytes(folder.file("d" + std::to_string(i) + ".dwg"), "AC1015"));
    ListFolder(Unslashed(folder.path()));
    RunListCommand(IDM_LIST_SELECT_ALL, RowPoint(0));
    EXPECT_EQ(1000, SelectedCount());
    Settings.moveTo[3] = target.path();
    RunListCommand(IDM_MOVE_TO_BASE + 3, RowPoint(500));
    EXPECT_EQ(0u, Column(2).size());
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ("AC1015", ReadBytes(target.file("d" + std::to_string(i) + ".dwg"))) << i;
}

} // namespace
