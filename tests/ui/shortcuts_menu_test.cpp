// The Shortcuts button's menu, made from real shortcut files of the listed
// folder: which shortcuts it offers, how it names them, and where a choice goes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/shortcut_maker.h"
#include "tests/ui/main_window_fixture.h"

namespace {

// What a test does once the menu is open, given the menu window and the
// entries' texts: it must close the menu.
using MenuAction = std::function<void(HWND menuWindow, const std::vector<std::string>& items)>;

MenuAction pendingAction;
std::vector<std::string> seenItems;
bool menuOpened = false;

void CALLBACK WatchForMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (!menuWindow || !IsWindowVisible(menuWindow)) return;
    KillTimer(nullptr, id);
    auto menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[512] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        seenItems.push_back(text);
    }
    menuOpened = true;
    pendingAction(menuWindow, seenItems);
}

// Picks the entry whose text starts with the name, by keys.
MenuAction Choose(const std::string& name, std::function<void()> first = nullptr) {
    return [name, first](HWND menuWindow, const std::vector<std::string>& items) {
        if (first) first();
        auto at = std::find_if(items.begin(), items.end(), [&](const std::string& item) {
            return item.compare(0, name.size(), name) == 0;
        });
        if (at == items.end()) {
            PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
        for (auto i = items.begin(); i <= at; ++i)
            PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    };
}

class ShortcutsMenuTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        for (const char* name : {"Dwg Folder", "Archive"})
            CreateDirectoryA(targets.file(name).c_str(), nullptr);
        ASSERT_TRUE(WriteBytes(targets.file("report.txt"), "x"));
        drawings = Unslashed(targets.file("Dwg Folder\\"));
        archive = Unslashed(targets.file("Archive\\"));
        seenItems.clear();
        menuOpened = false;
    }

    // Lists the folder of shortcuts and presses the Shortcuts button.
    void PressShortcuts(const MenuAction& action) {
        ListFolder(Unslashed(links.path()));
        pendingAction = action;
        UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchForMenu);
        SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_SHORTCUTS, 0),
                     reinterpret_cast<LPARAM>(Win.shortcuts));
        KillTimer(nullptr, timer);
    }

    ScratchFolder links, targets;
    std::string drawings, archive;
};

TEST_F(ShortcutsMenuTest, OffersFolderShortcutsAndGoesToTheChosenOne) {
    ASSERT_TRUE(MakeShortcut(links.file("Drawings.lnk"), drawings));
    ASSERT_TRUE(MakeShortcut(links.file("ARCHIVE.LNK"), archive));
    ASSERT_TRUE(MakeShortcut(links.file("Report.lnk"), targets.file("report.txt")));
    ASSERT_TRUE(MakeShortcut(links.file("Gone.lnk"), targets.file("never made")));
    // A shortcut file under another extension is found by its short name only.
    ASSERT_TRUE(MakeShortcut(links.file("Old.lnkold"), drawings));

    PressShortcuts(Choose("Drawings"));
    ASSERT_TRUE(menuOpened);
    std::vector<std::string> items = seenItems;
    std::sort(items.begin(), items.end());
    EXPECT_EQ(
        (std::vector<std::string>{"ARCHIVE  (" + archive + ")", "Drawings  (" + drawings + ")"}),
        items);
    EXPECT_TRUE(PumpUntil([&] { return CurrentFolder() == drawings; })) << CurrentFolder();
}

TEST_F(ShortcutsMenuTest, ATargetGoneSinceTheMenuOpenedIsIgnored) {
    ASSERT_TRUE(MakeShortcut(links.file("Drawings.lnk"), drawings));
    PressShortcuts(Choose("Drawings", [&] { RemoveDirectoryA(drawings.c_str()); }));
    ASSERT_TRUE(menuOpened);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(Unslashed(links.path()), CurrentFolder());
}

TEST_F(ShortcutsMenuTest, DismissingTheMenuChangesNothing) {
    ASSERT_TRUE(MakeShortcut(links.file("Drawings.lnk"), drawings));
    PressShortcuts([](HWND menuWindow, const std::vector<std::string>&) {
        PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ASSERT_TRUE(menuOpened);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(Unslashed(links.path()), CurrentFolder());
}

TEST_F(ShortcutsMenuTest, NoFolderShortcutsNoMenu) {
    ASSERT_TRUE(MakeShortcut(links.file("Report.lnk"), targets.file("report.txt")));
    PressShortcuts(Choose("Report"));
    EXPECT_FALSE(menuOpened);
    EXPECT_FALSE(IsWindowEnabled(Win.shortcuts));
}

} // namespace
