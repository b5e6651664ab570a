#include <gtest/gtest.h>

#include <cstring>
#include <cstdio>
#include <string>

#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/tree/tree_fixture.h"
#include "ui/tree_pane.h"
#include "ui/tree_pane_parts.h"

namespace {

struct MenuEntry {
    UINT id;
    UINT type;
    std::string text;
};

std::vector<MenuEntry> Entries(HMENU menu) {
    std::vector<MenuEntry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[512] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        entries.push_back({info.wID, info.fType, text});
    }
    return entries;
}

// Drops files on the tree's selected folder as the system does, by posting;
// the tree's menu then takes the keys, which wait in the pane thread's queue
// behind the drop. The menu opens with no entry chosen, Down steps over
// separators.
void DropOnSelectedFolder(const std::vector<std::string>& files,
                          const std::vector<std::pair<UINT, WPARAM>>& keys) {
    // Wide enough that the deep test folders are not scrolled out of sight.
    MoveWindow(Win.treeContainer, 0, 0, 780, 460, TRUE);
    HWND tree = GetWindow(Win.treeContainer, GW_CHILD);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof item);
    ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    POINT pt = {rect.left + 3, (rect.top + rect.bottom) / 2};
    TVHITTESTINFO hit = {};
    hit.pt = pt;
    SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    ASSERT_EQ(item, hit.hItem);

    HDROP drop = MakeDrop(files, pt);
    ASSERT_TRUE(PostMessageA(tree, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
    for (const auto& key : keys)
        PostMessageA(tree, key.first, key.second, 0);
}

} // namespace

TEST(TreeDropMenu, OffersCopyAndMoveOnlyForAValidTarget) {
    HMENU menu = BuildTreeDropMenu("Z:\\plans\\", true, "C:\\in\\");
    std::vector<MenuEntry> entries = Entries(menu);
    DestroyMenu(menu);
    ASSERT_EQ(6u, entries.size());
    EXPECT_EQ(8001u, entries[0].id);
    EXPECT_EQ("C&opy To Z:\\plans\\", entries[0].text);
    EXPECT_EQ(8002u, entries[1].id);
    EXPECT_EQ("&Move To Z:\\plans\\", entries[1].text);
    EXPECT_TRUE(entries[2].type & MFT_SEPARATOR);
    EXPECT_EQ(8003u, entries[3].id);
    EXPECT_EQ("Set Path To C:\\in\\", entries[3].text);
    EXPECT_TRUE(entries[4].type & MFT_SEPARATOR);
    EXPECT_EQ(8010u, entries[5].id);
    EXPECT_EQ("&Cancel", entries[5].text);

    // A folder's "&" is no mnemonic.
    menu = BuildTreeDropMenu("Z:\\R&D\\", true, "C:\\A&B\\");
    entries = Entries(menu);
    DestroyMenu(menu);
    EXPECT_EQ("&Move To Z:\\R&&D\\", entries[1].text);
    EXPECT_EQ("Set Path To C:\\A&&B\\", entries[3].text);

    menu = BuildTreeDropMenu("", false, "C:\\in\\");
    entries = Entries(menu);
    DestroyMenu(menu);
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(8003u, entries[0].id);
    EXPECT_EQ("Set Path To C:\\in\\", entries[0].text);
    EXPECT_TRUE(entries[1].type & MFT_SEPARATOR);
    EXPECT_EQ(8010u, entries[2].id);
}

TEST_F(TreePaneTest, DropCopiesBothFilesToTheFolder) {
    std::string source = Folder("copy\\source"), target = Folder("copy\\target");
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(target));

    ASSERT_NO_FATAL_FAILURE(DropOnSelectedFolder({source + "\\one.dwg", source + "\\two.dwg"},
                                                 {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}}));
    EXPECT_TRUE(PumpUntil(
        [&] { return PathExists(target + "\\one.dwg") && PathExists(target + "\\two.dwg"); }));
    EXPECT_TRUE(PathExists(source + "\\one.dwg"));
    EXPECT_TRUE(PathExists(source + "\\two.dwg"));
}

TEST_F(TreePaneTest, DropMovesBothFilesToTheFolder) {
    std::string source = Folder("move\\source"), target = Folder("move\\target");
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(target));

    ASSERT_NO_FATAL_FAILURE(DropOnSelectedFolder(
        {source + "\\one.dwg", source + "\\two.dwg"},
        {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}}));
    EXPECT_TRUE(PumpUntil([&] {
        return PathExists(target + "\\one.dwg") && PathExists(target + "\\two.dwg") &&
               !PathExists(source + "\\one.dwg") && !PathExists(source + "\\two.dwg");
    }));
}

// The question about a taken name is asked on the tree's thread; skipping
// leaves both files as they were.
TEST_F(TreePaneTest, ADropOntoATakenNameAsksAndSkipsIt) {
    std::string source = Folder("taken\\source"), target = Folder("taken\\target");
    ASSERT_TRUE(WriteBytes(source + "\\one.dwg", "new"));
    ASSERT_TRUE(WriteBytes(target + "\\one.dwg", "old"));
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(target));
    ASSERT_NO_FATAL_FAILURE(DropOnSelectedFolder(
        {source + "\\one.dwg"},
        {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}}));
    HWND question = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (question = FindWindowA("#32770", "Move Files")) != nullptr; }));
    PostMessageA(question, WM_COMMAND, ID_TAKEN_SKIP, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(question); }));
    EXPECT_EQ("new", ReadBytes(source + "\\one.dwg"));
    EXPECT_EQ("old", ReadBytes(target + "\\one.dwg"));
}

TEST_F(TreePaneTest, DropCanGoToTheFolderOfTheDroppedFiles) {
    std::string source = Folder("setpath\\source");
    ASSERT_NO_FATAL_FAILURE(CreateReadyPane());
    ASSERT_NO_FATAL_FAILURE(NavigateAndWait(Folder("setpath")));
    int selections = MainLog.selections;

    // Down to the third entry, past the separator: "Set Path To ".
    ASSERT_NO_FATAL_FAILURE(
        DropOnSelectedFolder({source + "\\one.dwg"}, {{WM_KEYDOWN, VK_DOWN},
                                                      {WM_KEYDOWN, VK_DOWN},
                                                      {WM_KEYDOWN, VK_DOWN},
                                                      {WM_KEYDOWN, VK_RETURN}}));
    // The folder shown and the tree's selection follow by messages of their own.
    PumpUntil([&] {
        return MainLog.selections > selections && CurrentFolder() == source &&
               SelectedItemPath() == source + "\\";
    });
    EXPECT_EQ(source, CurrentFolder());
    EXPECT_EQ(source + "\\", SelectedItemPath());
    EXPECT_FALSE(PathExists(Folder("setpath\\one.dwg")));
}

TEST_F(TreePaneTest, FolderMenuRefusesFileManagementEntries) {
    std::string folder = Folder("menu");
    POINT pt = {10, 10};
    for (char key : {'d', 'u'}) { // "&Delete" and "C&ut" of the shell's folder menu
        DialogAnswerer answers;
        answers.Add([](HWND dialog) { ClickButton(dialog, IDOK); });
        PostMessageA(Win.main, WM_CHAR, static_cast<WPARAM>(key), 0);
        EXPECT_EQ(0, ShowFolderContextMenu(Win.main, folder, pt));
        ASSERT_EQ(1, answers.Answered()) << key;
        EXPECT_EQ("Inactive Item", answers.Seen(0).caption);
        EXPECT_EQ("File Management Functions Are Not Active!", answers.Seen(0).text);
        EXPECT_TRUE(PathExists(folder));
    }
}

TEST_F(TreePaneTest, FolderMenuDismissedDoesNothing) {
    DialogAnswerer answers;
    PostMessageA(Win.main, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0, ShowFolderContextMenu(Win.main, Folder("menu"), POINT{10, 10}));
    EXPECT_EQ(0, answers.Answered());
}

TEST_F(TreePaneTest, FolderMenuRunsOtherEntries) {
    DialogAnswerer answers;
    answers.Add([](HWND dialog) { ClickButton(dialog, IDCANCEL); });
    PostMessageA(Win.main, WM_CHAR, 'p', 0); // "&Properties"
    EXPECT_EQ(1, ShowFolderContextMenu(Win.main, Folder("menu"), POINT{10, 10}));
    PumpUntil([&] { return answers.Answered() == 1; });
    EXPECT_EQ(1, answers.Answered());
}
