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
#include "settings/settings_file.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/trash.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/file_operations.h"
#include "ui/list_context_menu.h"

namespace {

struct MenuEntry {
    int id; // 0 for a separator or a submenu's entry
    std::string text;
    std::vector<MenuEntry> submenu;
    bool isDefault = false;
};

std::vector<MenuEntry> Entries(HMENU menu) {
    std::vector<MenuEntry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[512] = "";
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_TYPE | MIIM_SUBMENU | MIIM_STATE;
        item.dwTypeData = text;
        item.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &item);
        MenuEntry entry{static_cast<int>(item.wID), item.fType & MFT_SEPARATOR ? "-" : text, {}};
        if (item.hSubMenu) {
            entry.id = 0;
            entry.submenu = Entries(item.hSubMenu);
        }
        entry.isDefault = (item.fState & MFS_DEFAULT) != 0;
        entries.push_back(entry);
    }
    return entries;
}

// The texts of a menu, a submenu's entry followed by its texts in brackets.
std::string Texts(const std::vector<MenuEntry>& entries) {
    std::string all;
    for (const MenuEntry& e : entries) {
        all += (all.empty() ? "" : "|") + e.text;
        if (!e.submenu.empty()) all += "[" + Texts(e.submenu) + "]";
    }
    return all;
}

std::string MenuTexts(const std::string& name, int selected, int count, bool preview) {
    HMENU menu = BuildListContextMenu(name, selected, count, preview);
    std::string texts = Texts(Entries(menu));
    DestroyMenu(menu);
    return texts;
}

// The screen point in the middle of a row's name.
POINT RowPoint(int row) {
    SendMessageA(Win.list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT rect = {};
    rect.left = LVIR_LABEL;
    SendMessageA(Win.list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    POINT p = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(Win.list, &p);
    return p;
}

void Select(const std::vector<int>& rows) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    SendMessageA(Win.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : rows)
        SendMessageA(Win.list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int SelectedCount() {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETSELECTEDCOUNT, 0, 0));
}

void KeyUp(WPARAM key) {
    SendMessageA(Win.list, WM_KEYUP, key, 0);
}

// The shell's own confirmation under Wine ("Confirm file deletion", "Confirm
// file overwrite") answered with Yes.
void AnswerYes(DialogAnswerer& answers) {
    answers.Add([](HWND dlg) { ClickButton(dlg, IDYES); });
}

class ListActionsTest : public MainWindowTest {
  protected:
    ScratchFolder folder, target;

    void SetUp() override {
        MainWindowTest::SetUp();
        for (int n = 1; n <= 5; ++n) {
            Settings.copyTo[n] = Settings.moveTo[n] = "";
            Settings.showCopyTo[n] = Settings.showMoveTo[n] = "FALSE";
        }
        DialogClosed = false;
    }

    // Drawings named a.dwg, b.dwg... with contents of their own, listed.
    void ListDrawings(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            ASSERT_TRUE(WriteBytes(folder.file(name), MakeDrawingWithoutImages("AC1015") + name));
        ListFolder(Unslashed(folder.path()));
        ASSERT_EQ(names.size(), Column(2).size());
    }

    int RowOf(const std::string& name) {
        std::vector<std::string> names = Column(2);
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return static_cast<int>(i);
        return -1;
    }

    // Clears the summary so that WaitForRelisting sees the next listing's.
    static void ClearSummary() {
        SendMessageA(Win.status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    }
    // A tree refresh ends in a listing of its own, after the command.
    static void WaitForRelisting() {
        EXPECT_TRUE(PumpUntil([] {
            return TreeReady && !ListingActive &&
                   StatusText(0).find("Total Object(s) Found") != std::string::npos;
        }));
    }

    std::string Contents(const std::string& name) {
        return MakeDrawingWithoutImages("AC1015") + name;
    }
};

// --------------------------------------------------------------------------
// The context menu

TEST_F(ListActionsTest, MenuItemsFollowTheSelection) {
    const std::string tail = "Export &HTML...|-|&Zip Files...";
    const std::string targets =
        "&Copy To[-|Browse...|-|Ne&w Folder...|-|Customize...]|&Move To[-|Browse...|-|Ne&w "
        "Folder...|-|Customize...]|&Delete|-|";
    struct Case {
        const char* name;
        int selected, count;
        bool preview;
        std::string texts;
    } cases[] = {
        {"", 0, 0, false, "-|Create Ne&w Folder..."},
        {"", 0, 3, false, "Select &All|-|" + tail + "|-|Create Ne&w Folder..."},
        {"plan.dwg", 1, 3, false,
         "&Open plan.dwg|-|Select &All|-|" + targets + tail +
             "|Create plan.zip|-|Create Ne&w Folder...|-|P&roperties"},
        {"plan.dwg", 1, 3, true,
         "&Open plan.dwg|-|&3X Enlarged View|-|Select &All|-|" + targets + tail +
             "|Create plan.zip|-|Create Ne&w Folder...|-|P&roperties"},
        {"plan.dwg", 2, 3, true,
         "&Open 2 Selected Files|-|Select &All|-|" + targets + tail + "|-|Create Ne&w Folder..."},
        {"plan.dwg", 3, 3, false,
         "&Open 3 Selected Files|-|" + targets + tail + "|-|Create Ne&w Folder..."},
        {"plan.dwg", 1, 1, true,
         "&Open plan.dwg|-|&3X Enlarged View|-|" + targets + tail +
             "|Create plan.zip|-|Create Ne&w Folder...|-|P&roperties"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.texts, MenuTexts(c.name, c.selected, c.count, c.preview))
            << c.selected << " of " << c.count;
}

TEST_F(ListActionsTest, MenuIdsAndTheDefaultOpenItem) {
    HMENU menu = BuildListContextMenu("plan.dwg", 1, 2, true);
    std::vector<MenuEntry> e = Entries(menu);
    DestroyMenu(menu);
    std::vector<int> ids;
    for (const MenuEntry& entry : e)
        if (entry.text != "-" && entry.submenu.empty()) ids.push_back(entry.id);
    EXPECT_EQ((std::vector<int>{7101, 7102, 7103, 7104, 7105, 7106, 7109, 7107, 7108}), ids);
    EXPECT_TRUE(e[0].isDefault);
    EXPECT_FALSE(e[2].isDefault);
    ASSERT_EQ("&Copy To", e[6].text);
    ASSERT_EQ("&Move To", e[7].text);
    std::vector<int> copyIds, moveIds;
    for (const MenuEntry& entry : e[6].submenu)
        if (entry.text != "-") copyIds.push_back(entry.id);
    for (const MenuEntry& entry : e[7].submenu)
        if (entry.text != "-") moveIds.push_back(entry.id);
    EXPECT_EQ((std::vector<int>{7116, 7118, 7117}), copyIds);
    EXPECT_EQ((std::vector<int>{7126, 7128, 7127}), moveIds);
}

TEST_F(ListActionsTest, OnlyShownTargetsWithAPathGetItems) {
    Settings.copyTo[1] = "C:\\One";
    Settings.showCopyTo[1] = "TRUE";
    Settings.copyTo[2] = "C:\\Hidden";
    Settings.showCopyTo[2] = "FALSE";
    Settings.copyTo[3] = "";
    Settings.showCopyTo[3] = "TRUE";
    Settings.copyTo[5] = "C:\\Five\\";
    Settings.showCopyTo[5] = "TRUE";
    Settings.moveTo[4] = "D:\\Four";
    Settings.showMoveTo[4] = "TRUE";
    HMENU menu = BuildListContextMenu("plan.dwg", 1, 1, false);
    std::vector<MenuEntry> e = Entries(menu);
    DestroyMenu(menu);
    ASSERT_EQ(8u, e[2].submenu.size());
    EXPECT_EQ("C:\\One\\", e[2].submenu[0].text);
    EXPECT_EQ(7111, e[2].submenu[0].id);
    EXPECT_EQ("C:\\Five\\", e[2].submenu[1].text);
    EXPECT_EQ(7115, e[2].submenu[1].id);
    ASSERT_EQ(7u, e[3].submenu.size());
    EXPECT_EQ("D:\\Four\\", e[3].submenu[0].text);
    EXPECT_EQ(7124, e[3].submenu[0].id);
}

// A point of the list's client area below its last row.
POINT BelowTheRows() {
    int last = RowCount(Win.list) - 1;
    SendMessageA(Win.list, LVM_ENSUREVISIBLE, last, FALSE);
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageA(Win.list, LVM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&rect));
    RECT client;
    GetClientRect(Win.list, &client);
    EXPECT_LT(rect.bottom + 5, client.bottom) << "no empty space below the rows";
    return POINT{10, rect.bottom + 5};
}

// The menu as a right-click opens it: read while it is shown, then dismissed.
std::string ShownMenu;
void CALLBACK ReadShownMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    ShownMenu = Texts(Entries(reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1, 0, 0))));
    EndMenu();
}

TEST_F(ListActionsTest, RightClickOnARowOffersTheEnlargedViewOfItsPreview) {
    DibRecipe recipe;
    recipe.width = 30;
    recipe.height = 20;
    recipe.color = [](int x, int) { return x < 15 ? 0x000000u : 0xFFFFFFu; };
    recipe.palette = DrawingPalette();
    ASSERT_TRUE(WriteBytes(folder.file("shown.dwg"),
                           MakeDrawing("AC1015", {{1, "header"}, {2, MakeDib(recipe)}})));
    ASSERT_TRUE(WriteBytes(folder.file("plain.dwg"), MakeDrawingWithoutImages("AC1015")));
    ListFolder(Unslashed(folder.path()));
    for (const char* name : {"shown.dwg", "plain.dwg"}) {
        Select({RowOf(name)});
        ShownMenu.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadShownMenu);
        POINT at = RowPoint(RowOf(name));
        SendMessageA(Win.list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Win.list),
                     MAKELPARAM(at.x, at.y));
        KillTimer(nullptr, timer);
        EXPECT_EQ(std::string(name) == "shown.dwg",
                  ShownMenu.find("&3X Enlarged View") != std::string::npos)
            << ShownMenu;
        EXPECT_EQ(0u, ShownMenu.find(std::string("&Open ") + name)) << ShownMenu;
        // The Esc that closed the menu must not clear the selection.
        EXPECT_TRUE(DialogClosed);
        KeyUp(VK_ESCAPE);
        EXPECT_EQ(1, SelectedCount());
        EXPECT_TRUE(PumpUntil([] { return !DialogClosed; }));
    }
    // Below the rows, where a click clears the selection: no row, and no
    // preview of the last one.
    Select({});
    ShownMenu.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadShownMenu);
    POINT below = BelowTheRows();
    ClientToScreen(Win.list, &below);
    SendMessageA(Win.list, WM_CONTEXTMENU, 0, MAKELPARAM(below.x, below.y));
    KillTimer(nullptr, timer);
    EXPECT_EQ(std::string::npos, ShownMenu.find("Enlarged")) << ShownMenu;
    EXPECT_EQ(0u, ShownMenu.find("Select &All|")) << ShownMenu;

    // A drag with the right button opens the menu too.
    ShownMenu.clear();
    timer = SetTimer(nullptr, 0, 20, ReadShownMenu);
    NMLISTVIEW drag = {};
    drag.hdr.hwndFrom = Win.list;
    drag.hdr.idFrom = ID_FILE_LIST;
    drag.hdr.code = LVN_BEGINRDRAG;
    EXPECT_EQ(1, SendMessageA(Win.main, WM_NOTIFY, ID_FILE_LIST, reinterpret_cast<LPARAM>(&drag)));
    KillTimer(nullptr, timer);
    EXPECT_NE(std::string::npos, ShownMenu.find("Create Ne&w Folder...")) << ShownMenu;
}

// --------------------------------------------------------------------------
// Keys and double-clicks

TEST_F(ListActionsTest, EscDeselectsAndCtrlASelectsAll) {
    ListDrawings({"a.dwg", "b.dwg", "c.dwg"});
    Select({1});
    DialogClosed = true; // a dialog has just closed
    KeyUp(VK_ESCAPE);
    EXPECT_EQ(1, SelectedCount());
    DialogClosed = false;
    KeyUp(VK_ESCAPE);
    EXPECT_EQ(0, SelectedCount());
    EXPECT_FALSE(SelectionMode);

    KeyUp('A'); // without Ctrl
    EXPECT_EQ(0, SelectedCount());
    INPUT ctrl[2] = {};
    ctrl[0].type = ctrl[1].type = INPUT_KEYBOARD;
    ctrl[0].ki.wVk = ctrl[1].ki.wVk = VK_CONTROL;
    ctrl[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &ctrl[0], sizeof(INPUT));
    PumpUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }, 2000);
    KeyUp('A');
    SendInput(1, &ctrl[1], sizeof(INPUT));
    PumpUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0; }, 2000);
    EXPECT_EQ(3, SelectedCount());
    EXPECT_TRUE(SelectionMode);
}

TEST_F(ListActionsTest, DoubleClickOpensOnlyDrawingsAndReportsAFailure) {
    ListDrawings({"a.dwg"});
    POINT at = RowPoint(0);
    ScreenToClient(Win.list, &at);
    // Nothing here opens drawings: the shell fails and the user is told.
    DialogAnswerer answers;
    answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
    SendMessageA(Win.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ASSERT_EQ(1, answers.Answered());
    EXPECT_EQ("Error", answers.Seen(0).caption);
    EXPECT_EQ("Error opening " + folder.path() + "a.dwg", answers.Seen(0).text);

    // Another extension, or empty space, opens nothing.
    SetRowText(0, 2, "a.txt");
    SendMessageA(Win.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    POINT below = BelowTheRows();
    SendMessageA(Win.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(below.x, below.y));
    EXPECT_EQ(1, answers.Answered());
}

// Drawings and backups "open" by being copied into a folder, so that a test
// sees which files the shell was asked to open.
class OpenRecorder {
  public:
    explicit OpenRecorder(const std::string& into) {
        std::string command = "C:\\windows\\system32\\cmd.exe /c copy \"%1\" \"" + into + "\"";
        for (const char* extension : {".dwg", ".bak"})
            SetValue(std::string("") + extension, "KorvexTest.Drawing");
        SetValue("KorvexTest.Drawing\\shell\\open\\command", command);
    }
    ~OpenRecorder() {
        for (const char* key : {".dwg", ".bak"})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
        for (const char* key :
             {"KorvexTest.Drawing\\shell\\open\\command", "KorvexTest.Drawing\\shell\\open",
              "KorvexTest.Drawing\\shell", "KorvexTest.Drawing"})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    }

  private:
    static void SetValue(const std::string& key, const std::string& value) {
        HKEY h;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                            nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(h);
    }
};

TEST_F(ListActionsTest, EnterOpensTheSelectedDrawingsButNoBackups) {
    SelectExtension("ALL TYPES");
    ListDrawings({"a.bak", "b.dwg", "c.dwg", "x.BAK"});
    OpenRecorder recorder(target.path());
    Select({RowOf("a.bak"), RowOf("x.BAK")});
    KeyUp(VK_RETURN);
    Select({RowOf("b.dwg")});
    KeyUp(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return PathExists(target.file("b.dwg")); }));
    // The context menu's Open takes the row under the menu and the selection.
    Select({RowOf("a.bak"), RowOf("c.dwg")});
    RunListCommand(IDM_LIST_OPEN, RowPoint(RowOf("c.dwg")));
    EXPECT_TRUE(PumpUntil([&] { return PathExists(target.file("c.dwg")); }));
    EXPECT_FALSE(PathExists(target.file("a.bak")));
    EXPECT_FALSE(PathExists(target.file("x.BAK")));
    SelectExtension(".DWG");
}

TEST_F(ListActionsTest, PropertiesNeedARowWhoseFileIsThere) {
    ListDrawings({"a.dwg"});
    Select({0});
    POINT above = RowPoint(0);
    above.y -= 2000;
    DialogAnswerer answers;
    ShowFileProperties(above); // silently nothing
    ASSERT_TRUE(DeleteFileA(folder.file("a.dwg").c_str()));
    answers.Add([](HWND box) { ClickButton(box, IDOK); });
    RunListCommand(IDM_LIST_PROPERTIES, RowPoint(0));
    ASSERT_EQ(1, answers.Answered());
    EXPECT_EQ("File Not Found", answers.Seen(0).text);
}

// --------------------------------------------------------------------------
// File operations

TEST_F(ListActionsTest, DeleteKeySendsTheSelectionToTheTrashAndRelists) {
    std::string name = "deleted" + std::to_string(GetTickCount()) + ".dwg";
    ListDrawings({name, "kept.dwg"});
    Select({RowOf(name)});
    DialogAnswerer answers;
    AnswerYes(answers);
    KeyUp(VK_DELETE);
    EXPECT_EQ(1, answers.Answered());
    EXPECT_FALSE(PathExists(folder.file(name)));
    EXPECT_EQ(Contents(name), ReadBytes(TrashFilesFolder() + name));
    EXPECT_EQ((std::vector<std::string>{"kept.dwg"}), Column(2));
    EXPECT_EQ(Contents("kept.dwg"), ReadBytes(folder.file("kept.dwg")));
}

TEST_F(ListActionsTest, RowsUnderThePointStartWithTheHitRow) {
    ListDrawings({"a.dwg", "b.dwg", "c.dwg", "d.dwg"});
    DialogAnswerer none; // a point off the rows says nothing
    Select({0, 1, 3});
    EXPECT_EQ((std::vector<int>{1, 0, 3}), RowsUnderPoint(RowPoint(1)));
    EXPECT_EQ((std::vector<int>{2, 0, 1}), RowsUnderPoint(RowPoint(2))); // not selected itself
    POINT outside = {0, 0};
    ClientToScreen(Win.list, &outside);
    outside.y -= 50;
    EXPECT_TRUE(RowsUnderPoint(outside).empty());
    EXPECT_FALSE(TransferSelection(outside, false, target.path()));
}

TEST_F(ListActionsTest, CopyToATargetCopiesTheFilesAndKeepsTheList) {
    ListDrawings({"a.dwg", "b.dwg", "c.dwg"});
    Settings.copyTo[2] = Unslashed(target.path());
    Select({0, 2});
    RunListCommand(IDM_COPY_TO_BASE + 2, RowPoint(2));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(target.file("a.dwg")));
    EXPECT_EQ(Contents("c.dwg"), ReadBytes(target.file("c.dwg")));
    EXPECT_FALSE(PathExists(target.file("b.dwg")));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("a.dwg")));
    EXPECT_EQ(2, SelectedCount()); // not relisted
}

TEST_F(ListActionsTest, MoveToATargetMovesTheFilesAndRelists) {
    ListDrawings({"a.dwg", "b.dwg"});
    Settings.moveTo[5] = Unslashed(target.path());
    Select({1});
    RunListCommand(IDM_MOVE_TO_BASE + 5, RowPoint(1));
    EXPECT_EQ(Contents("b.dwg"), ReadBytes(target.file("b.dwg")));
    EXPECT_FALSE(PathExists(folder.file("b.dwg")));
    EXPECT_EQ((std::vector<std::string>{"a.dwg"}), Column(2));
}

TEST_F(ListActionsTest, FilesIntoTheirOwnFolderStayIntact) {
    ListDrawings({"a.dwg", "b.dwg"});
    Select({0});
    // A move into the folder the files are in has nothing to do.
    Settings.moveTo[1] = Unslashed(folder.path());
    RunListCommand(IDM_MOVE_TO_BASE + 1, RowPoint(0));
    // A copy: the shell renames, or (Wine) asks about overwriting, then
    // leaves the file as it was.
    Settings.copyTo[1] = folder.path();
    DialogAnswerer answers;
    AnswerYes(answers);
    RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(0));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("a.dwg")));
    EXPECT_EQ(Contents("b.dwg"), ReadBytes(folder.file("b.dwg")));
    EXPECT_EQ(2u, Column(2).size());
}

TEST_F(ListActionsTest, BadDestinationsAreReportedAndTransferNothing) {
    ListDrawings({"a.dwg"});
    Select({0});
    DialogAnswerer answers;
    for (int i = 0; i < 3; ++i)
        answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
    Settings.copyTo[1] = target.file("missing");
    RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(0));
    Settings.moveTo[1] = target.file("*");
    RunListCommand(IDM_MOVE_TO_BASE + 1, RowPoint(0));
    ASSERT_TRUE(WriteBytes(target.file("file.txt"), "x")); // a file is no folder
    Settings.copyTo[1] = target.file("file.txt");
    RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(0));
    answers.Add([](HWND browser) { ClickButton(browser, IDCANCEL); });
    answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
    RunListCommand(IDM_COPY_BROWSE, RowPoint(0));
    ASSERT_EQ(5, answers.Answered());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ("Destination Directory Does Not Exist", answers.Seen(i).text);
        EXPECT_EQ("File Error!", answers.Seen(i).caption);
    }
    EXPECT_EQ("Function Cancelled", answers.Seen(4).text);
    EXPECT_EQ("", answers.Seen(4).caption);
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("a.dwg")));
}

TEST_F(ListActionsTest, BrowseCopiesIntoTheChosenFolder) {
    ListDrawings({"a.dwg"});
    Select({0});
    std::string chosen = Unslashed(target.path());
    DialogAnswerer answers;
    answers.Add([&](HWND browser) {
        EXPECT_NE(nullptr, FindWindowExA(browser, nullptr, "static", "Select a Directory"));
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(chosen.c_str()));
        ClickButton(browser, IDOK);
    });
    RunListCommand(IDM_COPY_BROWSE, RowPoint(0));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(target.file("a.dwg")));
}

TEST_F(ListActionsTest, NewFolderTransfersIntoTheFolderItMakes) {
    ListDrawings({"a.dwg", "b.dwg"});
    Select({0});
    DialogAnswerer answers;
    answers.Add([](HWND input) {
        EXPECT_EQ("Create New Folder", WindowText(input));
        EXPECT_EQ("Enter new folder name", DialogMessageText(input));
        SetDlgItemTextA(input, 103, "  Made  ");
        ClickButton(input, 104);
    });
    ClearSummary();
    RunListCommand(IDM_MOVE_NEW_FOLDER, RowPoint(0));
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("Made\\a.dwg")));
    EXPECT_FALSE(PathExists(folder.file("a.dwg")));
    WaitForRelisting();
    EXPECT_EQ((std::vector<std::string>{"b.dwg"}), Column(2));

    // A name that exists, or that no folder can have: a message, nothing made.
    Select({0});
    for (const char* name : {"Made", "b.dwg", "a<b", "..\\Out"}) {
        answers.Add([name](HWND input) {
            SetDlgItemTextA(input, 103, name);
            ClickButton(input, 104);
        });
        answers.Add([](HWND box) { ClickButton(box, IDOK); });
    }
    for (int i = 0; i < 4; ++i)
        RunListCommand(IDM_COPY_NEW_FOLDER, RowPoint(0));
    ASSERT_EQ(9, answers.Answered());
    EXPECT_EQ("Directory Already Exists!", answers.Seen(2).text);
    EXPECT_EQ("Error!", answers.Seen(2).caption);
    EXPECT_EQ("Directory Already Exists!", answers.Seen(4).text);
    EXPECT_EQ("Can't Create Directory!", answers.Seen(6).text);
    EXPECT_EQ("Can't Create Directory!", answers.Seen(8).text);
    EXPECT_FALSE(PathExists(folder.file("Made\\b.dwg")));
    EXPECT_EQ(Contents("b.dwg"), ReadBytes(folder.file("b.dwg")));
}

TEST_F(ListActionsTest, CreateNewFolderOfTheToolsMenu) {
    ListDrawings({"a.dwg"});
    DialogAnswerer answers;
    answers.Add([](HWND input) {
        SetDlgItemTextA(input, 103, "Fresh");
        ClickButton(input, 104);
    });
    ClearSummary();
    SendMessageA(Win.main, WM_COMMAND, IDM_NEW_FOLDER, 0);
    EXPECT_TRUE(DialogClosed);
    WaitForRelisting();
    EXPECT_TRUE(GetFileAttributesA(folder.file("Fresh").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(PathExists(folder.file("Fresh")));
    // Cancel makes nothing and says nothing.
    answers.Add([](HWND input) { ClickButton(input, 101); });
    RunListCommand(IDM_LIST_NEW_FOLDER, RowPoint(0));
    EXPECT_EQ(2, answers.Answered());
}

TEST_F(ListActionsTest, RowsWhoseFilesAreNotAsListedAreLeftOut) {
    ListDrawings({"a.dwg", "b.dwg", "c.dwg"});
    Settings.copyTo[1] = target.path();
    ASSERT_TRUE(DeleteFileA(folder.file("b.dwg").c_str())); // behind the program's back
    SetRowText(2, 2, "a.dwg ");                             // reads as another file's name
    Select({0, 1, 2});
    DialogAnswerer answers;
    answers.Add([](HWND box) { ClickButton(box, IDOK); });
    RunListCommand(IDM_COPY_TO_BASE + 1, RowPoint(0));
    ASSERT_EQ(1, answers.Answered());
    EXPECT_EQ("File Not Found", answers.Seen(0).text);
    EXPECT_EQ("File Error!", answers.Seen(0).caption);
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(target.file("a.dwg")));
    EXPECT_FALSE(PathExists(target.file("c.dwg")));

    // Nothing left to delete: only the message.
    Select({1, 2});
    answers.Add([](HWND box) { ClickButton(box, IDOK); });
    KeyUp(VK_DELETE);
    EXPECT_EQ(2, answers.Answered());
    EXPECT_EQ(Contents("a.dwg"), ReadBytes(folder.file("a.dwg")));
    EXPECT_EQ(Contents("c.dwg"), ReadBytes(folder.file("c.dwg")));
}

TEST_F(ListActionsTest, AThousandSelectedRowsAreMoved) {
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(WriteBytes(folder.file("d" + std::to_string(i) + ".dwg"), "AC1015"));
    ListFolder(Unslashed(folder.path()));
    ASSERT_EQ(1000u, Column(2).size());
    RunListCommand(IDM_LIST_SELECT_ALL, RowPoint(0));
    EXPECT_EQ(1000, SelectedCount());
    Settings.moveTo[3] = target.path();
    RunListCommand(IDM_MOVE_TO_BASE + 3, RowPoint(500));
    EXPECT_EQ(0u, Column(2).size());
    for (int i : {0, 1, 500, 999})
        EXPECT_EQ("AC1015", ReadBytes(target.file("d" + std::to_string(i) + ".dwg"))) << i;
    WIN32_FIND_DATAA found;
    int moved = 0;
    HANDLE h = FindFirstFileA(target.file("*.dwg").c_str(), &found);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found))
        ++moved;
    FindClose(h);
    EXPECT_EQ(1000, moved);
}

} // namespace
