// The search window in the real main window: the command, the rows as they
// come, the completion texts, header sorting, opening, and every way of
// stopping a running search.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawindex/drawing_index.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "filelist/list_rows.h"
#include "search/search_results.h"
#include "tests/search/search_tree.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/mouse.h"
#include "tests/support/pixels.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"

namespace {

HWND ResultList() {
    return GetDlgItem(LastSearchWindow, ID_SEARCH_LIST);
}

std::vector<std::string> Column(int column) {
    std::vector<std::string> texts;
    HWND list = ResultList();
    int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        texts.push_back(RowText(list, i, column));
    return texts;
}

std::string HeaderText(int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(ResultList(), LVM_GETHEADER, 0, 0));
    char buf[64] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    return buf;
}

// A left click on a column's header, as the mouse gives it. The window is
// widened first when the column lies beyond the visible header.
void ClickHeader(int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(ResultList(), LVM_GETHEADER, 0, 0));
    RECT r, visible;
    SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&r));
    GetClientRect(header, &visible);
    if (r.right > visible.right)
        SetWindowPos(LastSearchWindow, nullptr, 0, 0, r.right + 100, 300,
                     SWP_NOMOVE | SWP_NOZORDER);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
}

class SearchWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        home = new ScratchFolder;
        ASSERT_TRUE(StartMainWindow(*home));
    }
    static void TearDownTestSuite() {
        CloseMainWindow();
        delete home;
        home = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(Win.main && IsWindow(Win.main)); }
    void TearDown() override {
        if (LastSearchWindow && IsWindow(LastSearchWindow))
            SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);
        PumpUntil([] { return true; });
    }

    // Runs the menu command on a folder; it returns when the search has ended.
    static HWND Search(const std::string& folder) {
        SetCurrentFolder(folder);
        SendMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
        return LastSearchWindow;
    }

    // The tree of drawings the examples use.
    void MakeExampleTree() {
        for (const char* name : {"a.dwg", "b.DWG", "c.dwt", "S\\d.dwg", "S\\T\\e.dwg"})
            MakeDrawingFile(root.file(name));
    }

    static ScratchFolder* home;
    ScratchFolder root;
};

ScratchFolder* SearchWindowTest::home = nullptr;

TEST_F(SearchWindowTest, RowsInSearchOrderAndCompletionTexts) {
    MakeExampleTree();
    ASSERT_TRUE(SetFileAttributesA(root.file("b.DWG").c_str(), FILE_ATTRIBUTE_HIDDEN |
                                                                   FILE_ATTRIBUTE_SYSTEM |
                                                                   FILE_ATTRIBUTE_ARCHIVE));
    // The current folder is kept without its trailing backslash.
    HWND dlg = Search(Unslashed(root.path()));
    ASSERT_TRUE(dlg && IsWindow(dlg));
    EXPECT_EQ("Search Complete - Found 4 Item(s)", WindowText(dlg));
    EXPECT_EQ("Close", WindowText(GetDlgItem(dlg, ID_SEARCH_BUTTON)));
    EXPECT_EQ(std::vector<std::string>({"a.dwg", "b.DWG", "d.dwg", "e.dwg"}), Column(1));
    EXPECT_EQ(
        std::vector<std::string>({root.path(), root.path(), root.file("S\\"), root.file("S\\T\\")}),
        Column(2));
    const std::string zeros(20, '0');
    EXPECT_EQ(std::vector<std::string>({"00000A.DWG", "00000B.DWG", "S\\" + zeros + "D.DWG",
                                        "S\\T\\" + zeros + "E.DWG"}),
              Column(0));
    EXPECT_EQ(std::vector<std::string>(4, "2000"), Column(3));
    // The walk's own entries give the facts; they read as each path gives them.
    for (int row = 0; row < 4; ++row) {
        std::string path = ResultPath(ResultList(), row);
        EXPECT_EQ(SizeText(path), Column(4)[row]) << path;
        EXPECT_EQ(ModifiedText(path), Column(5)[row]) << path;
        EXPECT_EQ(AttributeText(path), Column(6)[row]) << path;
    }
    EXPECT_FALSE(Column(5)[3].empty());
    EXPECT_EQ("HSA", Column(6)[1]);

    const char* headers[] = {"SortItem", "Filename", "Directory ^", "Version",
                             "Size",     "Modified", "Attributes"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(headers[c], HeaderText(c));
    EXPECT_EQ(2, ResultSortColumn);
    EXPECT_TRUE(ResultSortAscending);
    EXPECT_FALSE(SearchActive);
}

TEST_F(SearchWindowTest, NoFolderNoSearch) {
    EXPECT_EQ(nullptr, Search(""));
}

// A drawing whose full path is longer than MAX_PATH: every fact is read, and
// its path is taken whole for opening.
TEST_F(SearchWindowTest, DrawingBeyondMaxPath) {
    std::string folder = MakeFolderOfLength(root, 240);
    ASSERT_FALSE(folder.empty());
    std::string path = folder + std::string(60, 'd') + ".dwg";
    ASSERT_TRUE(WriteBytes(path, "AC1015" + std::string(5000, 'x')));
    ASSERT_TRUE(Search(root.path()));
    ASSERT_EQ(1u, Column(1).size());
    EXPECT_EQ("2000", Column(3)[0]);
    EXPECT_EQ("4 KB", Column(4)[0]);
    EXPECT_EQ(19u, Column(5)[0].size());
    EXPECT_EQ(path, ResultPath(ResultList(), 0));
}

TEST_F(SearchWindowTest, WindowOverTheMainWindowAtHalfItsSize) {
    // A folder that is not there is searched like an empty one.
    HWND dlg = Search(root.file("gone"));
    ASSERT_TRUE(dlg && IsWindow(dlg));
    EXPECT_EQ("Search Complete - Found 0 Item(s)", WindowText(dlg));
    dlg = Search(root.path());
    ASSERT_TRUE(dlg && IsWindow(dlg));
    EXPECT_EQ("Search Complete - Found 0 Item(s)", WindowText(dlg));
    EXPECT_EQ(Win.main, GetWindow(dlg, GW_OWNER));
    RECT main, own;
    GetWindowRect(Win.main, &main);
    GetWindowRect(dlg, &own);
    EXPECT_EQ(main.left, own.left);
    EXPECT_EQ(main.top, own.top);
    EXPECT_EQ((main.right - main.left) / 2, own.right - own.left);
    EXPECT_EQ((main.bottom - main.top) / 2, own.bottom - own.top);
    LONG style = GetWindowLongA(dlg, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_THICKFRAME | WS_CAPTION | WS_SYSMENU | WS_VISIBLE),
              style & (WS_THICKFRAME | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));

    // The list fills the window but 30 pixels; the button sits centred below.
    ASSERT_TRUE(SetWindowPos(dlg, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER));
    RECT client, list, button;
    GetClientRect(dlg, &client);
    GetWindowRect(ResultList(), &list);
    GetWindowRect(GetDlgItem(dlg, ID_SEARCH_BUTTON), &button);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&list), 2);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(0, list.left);
    EXPECT_EQ(0, list.top);
    EXPECT_EQ(client.right, list.right);
    EXPECT_EQ(client.bottom - 30, list.bottom);
    EXPECT_EQ(client.right / 2 - 50, button.left);
    EXPECT_EQ(client.bottom - 28, button.top);
    EXPECT_EQ(100, button.right - button.left);
    EXPECT_EQ(27, button.bottom - button.top);
    // Half a window of the default size: the property field keeps its room
    // and the button stands right of it.
    ASSERT_TRUE(SetWindowPos(dlg, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER));
    RECT field;
    GetWindowRect(GetDlgItem(dlg, ID_SEARCH_PROPERTY_TEXT), &field);
    GetWindowRect(GetDlgItem(dlg, ID_SEARCH_BUTTON), &button);
    EXPECT_GE(field.right - field.left, 80);
    EXPECT_LT(field.right, button.left);

    LONG listStyle = GetWindowLongA(ResultList(), GWL_STYLE);
    EXPECT_EQ(LVS_REPORT, listStyle & LVS_TYPEMASK);
    EXPECT_TRUE(listStyle & LVS_SHOWSELALWAYS);
    DWORD ex = static_cast<DWORD>(SendMessageA(ResultList(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT), ex);
    int widths[] = {0, 250, 375, 60, 75, 120, 60};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(widths[c], SendMessageA(ResultList(), LVM_GETCOLUMNWIDTH, c, 0)) << c;
}

TEST_F(SearchWindowTest, HeaderClicksSortAndMark) {
    // File names in the opposite order of their folders.
    for (const char* name : {"z.dwg", "M\\m.dwg", "M\\y.dwg", "N\\a.dwg", "N\\P\\b.dwg"})
        MakeDrawingFile(root.file(name));
    ASSERT_TRUE(Search(root.path()));
    const std::vector<std::string> byFolder = {"z.dwg", "m.dwg", "y.dwg", "a.dwg", "b.dwg"};
    ASSERT_EQ(byFolder, Column(1));

    ClickHeader(1);
    EXPECT_EQ("Filename ^", HeaderText(1));
    EXPECT_EQ("Directory", HeaderText(2));
    EXPECT_EQ(std::vector<std::string>({"a.dwg", "b.dwg", "m.dwg", "y.dwg", "z.dwg"}), Column(1));
    EXPECT_EQ(std::vector<std::string>({"0000", "0001", "0002", "0003", "0004"}), Column(0));

    ClickHeader(1);
    EXPECT_EQ("Filename v", HeaderText(1));
    EXPECT_EQ(std::vector<std::string>({"z.dwg", "y.dwg", "m.dwg", "b.dwg", "a.dwg"}), Column(1));
    EXPECT_EQ(std::vector<std::string>({"0000", "0001", "0002", "0003", "0004"}), Column(0));

    // Another column keeps the direction; the same column again flips it.
    ClickHeader(2);
    EXPECT_EQ("Directory v", HeaderText(2));
    EXPECT_EQ("Filename", HeaderText(1));
    EXPECT_EQ(std::vector<std::string>({"b.dwg", "a.dwg", "y.dwg", "m.dwg", "z.dwg"}), Column(1));
    ClickHeader(2);
    EXPECT_EQ("Directory ^", HeaderText(2));
    EXPECT_EQ(byFolder, Column(1));

    // The next search starts over in search order, ascending.
    ClickHeader(1);
    ClickHeader(1);
    ASSERT_EQ("Filename v", HeaderText(1));
    ASSERT_TRUE(Search(root.path()));
    EXPECT_EQ("Directory ^", HeaderText(2));
    EXPECT_EQ("Filename", HeaderText(1));
    EXPECT_EQ(byFolder, Column(1));
}

// A drawing that vanishes after the walk has met it gets a row without
// attributes; such rows come first by attributes.
TEST_F(SearchWindowTest, EmptyAttributesFirstWhenAscending) {
    for (const char* name : {"a.dwg", "n.dwg", "r.dwg", "S\\b.dwg"})
        MakeDrawingFile(root.file(name));
    ASSERT_TRUE(SetFileAttributesA(root.file("r.dwg").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA(root.file("S\\b.dwg").c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::string vanishing = root.file("n.dwg");
    WalkWatch watch([&vanishing](const std::string& path) {
        if (path == vanishing) DeleteFileA(path.c_str());
    });
    ASSERT_TRUE(Search(root.path()));
    ASSERT_EQ(std::vector<std::string>({"a.dwg", "n.dwg", "r.dwg", "b.dwg"}), Column(1));
    EXPECT_EQ("File Not Found", Column(3)[1]);
    EXPECT_EQ("", Column(6)[1]);
    ClickHeader(6); // from "Directory ^": ascending
    EXPECT_EQ("Attributes ^", HeaderText(6));
    EXPECT_EQ(std::vector<std::string>({"n.dwg", "a.dwg", "b.dwg", "r.dwg"}), Column(1));
    EXPECT_EQ("", Column(6)[0]);
    ClickHeader(6);
    EXPECT_EQ("Attributes v", HeaderText(6));
    EXPECT_EQ(std::vector<std::string>({"r.dwg", "b.dwg", "a.dwg", "n.dwg"}), Column(1));
}

TEST_F(SearchWindowTest, VersionAndSizeSortKeepSearchOrderForTies) {
    MakeDrawingFile(root.file("b.dwg"));
    MakeDrawingFile(root.file("S\\a.dwg"));
    WriteBytes(root.file("c.dwg"), MakeDrawingWithoutImages("AC1018", 3000)); // "2004", 2 KB
    WriteBytes(root.file("d.dwg"), MakeDrawingWithoutImages("AC1009"));       // "11/12"
    ASSERT_TRUE(Search(root.path()));
    ClickHeader(3);
    EXPECT_EQ(std::vector<std::string>({"11/12", "2000", "2000", "2004"}), Column(3));
    EXPECT_EQ(std::vector<std::string>({"d.dwg", "b.dwg", "a.dwg", "c.dwg"}), Column(1));
    ClickHeader(4);
    EXPECT_EQ(std::vector<std::string>({"0 KB", "0 KB", "0 KB", "2 KB"}), Column(4));
    EXPECT_EQ(std::vector<std::string>({"b.dwg", "d.dwg", "a.dwg", "c.dwg"}), Column(1));
}

// Registers an "open" command for .dwg files that copies the opened file into
// a folder, so that opening can be seen; undone when the object goes.
class OpenCommand {
  public:
    explicit OpenCommand(const std::string& intoFolder) {
        std::string command = "cmd.exe /c copy \"%1\" \"" + intoFolder + "\"";
        ok_ = Set(".dwg", "KvxTestDrawing") && Set("KvxTestDrawing\\shell\\open\\command", command);
    }
    ~OpenCommand() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "KvxTestDrawing");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".dwg");
    }
    bool ok() const { return ok_; }

  private:
    static bool Set(const char* key, const std::string& value) {
        HKEY h;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                            nullptr) != ERROR_SUCCESS)
            return false;
        LONG r = RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
        RegCloseKey(h);
        return r == ERROR_SUCCESS;
    }
    bool ok_ = false;
};

// A double click where the cursor is, delivered through the message queue so
// that the list sees the cursor position with it.
void DoubleClickAt(HWND list, POINT client) {
    POINT screen = client;
    ClientToScreen(list, &screen);
    ASSERT_TRUE(MoveCursorTo(screen));
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PumpUntil([] { return true; });
}

TEST_F(SearchWindowTest, DoubleClickOpensTheRowUnderTheCursorOnly) {
    MakeDrawingFile(root.file("a.dwg"));
    MakeDrawingFile(root.file("S\\b.dwg"));
    ScratchFolder opened;
    OpenCommand command(Unslashed(opened.path()));
    ASSERT_TRUE(command.ok());
    ASSERT_TRUE(Search(root.path()));
    HWND list = ResultList();
    ShowWindow(LastSearchWindow, SW_SHOW);
    SetForegroundWindow(LastSearchWindow);
    // The first row selected, in case an implementation opened the selection.
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));

    RECT last;
    last.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&last)));
    DoubleClickAt(list, POINT{40, last.bottom + 20}); // below the last row
    DoubleClickAt(list, POINT{40, (last.top + last.bottom) / 2});
    EXPECT_TRUE(PumpUntil([&] {
        return GetFileAttributesA(opened.file("b.dwg").c_str()) != INVALID_FILE_ATTRIBUTES;
    })) << "the second row's drawing was not opened";
    // Opening runs in a process of its own: an open from the click below the
    // rows, made first, is given time to show.
    EXPECT_FALSE(PumpUntil(
        [&] { return GetFileAttributesA(opened.file("a.dwg").c_str()) != INVALID_FILE_ATTRIBUTES; },
        2000))
        << "a click below the rows opened one";
}

TEST_F(SearchWindowTest, DrawingWithoutAProgramToOpenItIsReported) {
    MakeDrawingFile(root.file("a.dwg"));
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".dwg"); // no program for drawings
    ASSERT_TRUE(Search(root.path()));
    HWND list = ResultList();
    SetForegroundWindow(LastSearchWindow);
    RECT row;
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    DialogAnswerer answers;
    answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
    DoubleClickAt(list, POINT{40, (row.top + row.bottom) / 2});
    ASSERT_TRUE(PumpUntil([&] { return answers.Answered() == 1; }, 5000));
    EXPECT_EQ("Error", answers.Seen(0).caption);
    EXPECT_EQ("Error opening " + root.file("a.dwg"), answers.Seen(0).text);
}

TEST_F(SearchWindowTest, EscInTheListClosesTheFinishedWindow) {
    MakeExampleTree();
    HWND dlg = Search(root.path());
    ASSERT_TRUE(dlg && IsWindow(dlg));
    PostMessageA(ResultList(), WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([dlg] { return !IsWindow(dlg); }));
    EXPECT_EQ(nullptr, LastSearchWindow);
}

// A drawing that vanishes after the walk met it reads as a missing file.
TEST_F(SearchWindowTest, DrawingGoneWhenReached) {
    MakeExampleTree();
    const std::string gone = root.file("S\\d.dwg");
    WalkWatch watch([&gone](const std::string& path) {
        if (path == gone) DeleteFileA(path.c_str());
    });
    ASSERT_TRUE(Search(root.path()));
    std::vector<std::string> names = Column(1);
    auto at = std::find(names.begin(), names.end(), "d.dwg");
    ASSERT_NE(names.end(), at);
    size_t row = at - names.begin();
    EXPECT_EQ("File Not Found", Column(3)[row]);
    EXPECT_EQ("0 KB", Column(4)[row]);
    EXPECT_EQ("", Column(5)[row]);
    EXPECT_EQ("", Column(6)[row]);
}

// Dark pixels in the rows' part of the list as the screen shows it.
int DarkRowPixels(HWND list) {
    RECT client, header;
    GetClientRect(list, &client);
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
    HDC screen = GetDC(list);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(list, screen);
    Pixels pixels = ReadPixels(bitmap);
    DeleteObject(bitmap);
    int dark = 0;
    for (int y = header.bottom - header.top; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            dark += pixels.dark(x, y);
    return dark;
}

// The rows found so far are drawn while the walk goes on, not only at its end.
TEST_F(SearchWindowTest, RowsShownWhileSearching) {
    for (const char* name : {"a.dwg", "b.dwg", "S\\c.dwg", "T\\d.dwg"})
        MakeDrawingFile(root.file(name));
    bool shown = false, waited = false;
    WalkWatch watch([&](const std::string&) {
        HWND list = ResultList();
        if (waited || !list || SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 2) return;
        waited = true;
        shown = PumpUntil([list] { return DarkRowPixels(list) > 0; }, 3000);
    });
    ASSERT_TRUE(Search(root.path()));
    ASSERT_TRUE(waited);
    EXPECT_TRUE(shown);
    EXPECT_EQ(4u, Column(1).size());
}

// What stops a running search, posted while the walk is in a deep folder.
enum class Stop { EscInList, CancelButton, CloseBox };

class StopTest : public SearchWindowTest, public ::testing::WithParamInterface<Stop> {};

TEST_P(StopTest, StopsTheWalkInADeepFolderAtOnce) {
    for (const char* name :
         {"a.dwg", "A\\B\\C\\D\\c.dwg", "A\\B\\C\\D\\E1\\e.dwg", "A\\B\\C\\D\\E2\\e.dwg",
          "A\\B\\C\\D\\E3\\e.dwg", "A\\B\\b.dwg", "A\\F\\f.dwg", "G\\g.dwg", "z.dwg"})
        MakeDrawingFile(root.file(name));
    const std::string deep = root.file("A\\B\\C\\D\\");
    HWND dlg = nullptr;
    size_t postedAt = 0;
    int rowsAtStop = -1;
    WalkWatch* watchPtr = nullptr;
    WalkWatch watch([&](const std::string& path) {
        if (postedAt || !Inside(path, deep) || IsDots(path)) return;
        dlg = LastSearchWindow;
        HWND list = GetDlgItem(dlg, ID_SEARCH_LIST);
        rowsAtStop = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ("Searching for AutoCAD files (Press ESC to cancel)... ", WindowText(dlg));
        EXPECT_EQ("Cancel", WindowText(GetDlgItem(dlg, ID_SEARCH_BUTTON)));
        EXPECT_TRUE(SearchActive);
        switch (GetParam()) {
        case Stop::EscInList: PostMessageA(list, WM_KEYUP, VK_ESCAPE, 0); break;
        case Stop::CancelButton:
            PostMessageA(GetDlgItem(dlg, ID_SEARCH_BUTTON), BM_CLICK, 0, 0);
            break;
        case Stop::CloseBox: PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
        postedAt = watchPtr->entries().size();
    });
    watchPtr = &watch;
    ResultSortColumn = 1; // the search starts over at Directory, ascending
    ResultSortAscending = false;
    Search(root.path());
    ASSERT_NE(0u, postedAt) << "the walk never reached " << deep;
    EXPECT_EQ(postedAt, watch.entries().size()) << "the walk went on after the stop";
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(nullptr, LastSearchWindow);
    EXPECT_FALSE(SearchActive);
    EXPECT_GE(rowsAtStop, 0);
    EXPECT_EQ(2, ResultSortColumn);
    EXPECT_TRUE(ResultSortAscending);
}

INSTANTIATE_TEST_SUITE_P(EachWay, StopTest,
                         ::testing::Values(Stop::EscInList, Stop::CancelButton, Stop::CloseBox));

TEST_F(SearchWindowTest, NewSearchClosesTheRunningOne) {
    MakeExampleTree();
    ScratchFolder second;
    MakeDrawingFile(second.file("only.dwg"));
    const std::string deep = root.file("S\\");
    HWND first = nullptr;
    size_t postedAt = 0, rootEntriesAfter = 0;
    WalkWatch* watchPtr = nullptr;
    WalkWatch watch([&](const std::string& path) {
        if (postedAt) {
            if (Inside(path, root.path())) ++rootEntriesAfter;
            return;
        }
        if (!Inside(path, deep) || IsDots(path)) return;
        first = LastSearchWindow;
        SetCurrentFolder(second.path());
        PostMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
        postedAt = watchPtr->entries().size();
    });
    watchPtr = &watch;
    Search(root.path());
    ASSERT_NE(0u, postedAt);
    EXPECT_FALSE(IsWindow(first));
    HWND now = LastSearchWindow;
    ASSERT_TRUE(now && IsWindow(now));
    EXPECT_NE(first, now);
    EXPECT_EQ("Search Complete - Found 1 Item(s)", WindowText(now));
    EXPECT_EQ(std::vector<std::string>({"only.dwg"}), Column(1));
    EXPECT_EQ(0u, rootEntriesAfter) << "the first walk went on";
    EXPECT_FALSE(SearchActive);
}

// A header click during the search sorts the rows found so far; the finished
// search shows every row in search order again, as its header mark says.
TEST_F(SearchWindowTest, HeaderClickWhileSearching) {
    // Names run against the search order: root drawings come first but have
    // the last names, and the folders' drawings are named in reverse.
    for (const char* name : {"y.dwg", "z.dwg", "S\\c.dwg", "S\\T\\b.dwg", "U\\a.dwg"})
        MakeDrawingFile(root.file(name));
    ResultSortColumn = 2; // as any earlier search leaves it
    ResultSortAscending = true;
    bool clicked = false;
    std::vector<std::string> namesBefore, namesAtClick;
    WalkWatch watch([&](const std::string&) {
        HWND list = ResultList();
        if (clicked || !list || SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 3) return;
        namesBefore = Column(1);
        ClickHeader(1);
        namesAtClick = Column(1);
        clicked = true;
    });
    ASSERT_TRUE(Search(root.path()));
    ASSERT_TRUE(clicked);
    std::vector<std::string> byName = namesBefore;
    std::sort(byName.begin(), byName.end());
    ASSERT_NE(byName, namesBefore) << "the rows were in name order before the click";
    EXPECT_EQ(byName, namesAtClick);
    EXPECT_EQ("Search Complete - Found 5 Item(s)", WindowText(LastSearchWindow));
    EXPECT_EQ("Filename", HeaderText(1));
    EXPECT_EQ("Directory ^", HeaderText(2));
    EXPECT_EQ((std::vector<std::string>{"y.dwg", "z.dwg", "c.dwg", "b.dwg", "a.dwg"}), Column(1));
}

TEST_F(SearchWindowTest, ManyDrawingsStayInSearchOrder) {
    // Folders whose names differ only in letter case and digits.
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i < 8; ++i)
            MakeDrawingFile(root.file("F" + std::to_string(f) + "\\d" + std::to_string(7 - i) +
                                      (i % 2 ? ".dwg" : ".DWG")));
    for (int i = 0; i < 5; ++i)
        MakeDrawingFile(root.file("r" + std::to_string(i) + ".dwg"));
    ASSERT_TRUE(Search(root.path()));
    std::vector<std::string> keys = Column(0);
    ASSERT_EQ(53u, keys.size());
    for (size_t i = 1; i < keys.size(); ++i)
        EXPECT_LT(_stricmp(keys[i - 1].c_str(), keys[i].c_str()), 0) << i;
    EXPECT_EQ("r0.dwg", Column(1)[0]);
}

// Closing the main window during a search stops it and closes its window
// before the settings are saved and the main window goes. A second close
// arriving during the wait for the search changes nothing.
TEST(SearchAtShutdown, ClosingTheMainWindowStopsTheSearch) {
    ScratchFolder home, root;
    ASSERT_TRUE(StartMainWindow(home));
    for (const char* name :
         {"a.dwg", "A\\B\\b.dwg", "A\\B\\C\\c.dwg", "A\\B\\C\\D\\d.dwg", "z.dwg"})
        MakeDrawingFile(root.file(name));
    DeleteFileA(Paths.settingsFile.c_str());
    HWND dlg = nullptr, main = Win.main;
    size_t postedAt = 0;
    WalkWatch* watchPtr = nullptr;
    WalkWatch watch([&](const std::string& path) {
        if (postedAt || !Inside(path, root.file("A\\B\\C\\")) || IsDots(path)) return;
        dlg = LastSearchWindow;
        PostMessageA(Win.main, WM_CLOSE, 0, 0);
        PostMessageA(Win.main, WM_CLOSE, 0, 0);
        postedAt = watchPtr->entries().size();
    });
    watchPtr = &watch;
    SetCurrentFolder(root.path());
    SendMessageA(main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
    ASSERT_NE(0u, postedAt);
    EXPECT_EQ(postedAt, watch.entries().size()) << "the walk went on after the close";
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(SearchActive);
    EXPECT_EQ(nullptr, LastSearchWindow);
    std::string saved = ReadBytes(Paths.settingsFile);
    EXPECT_NE(std::string::npos, saved.find("Path=")) << "not saved";
    EXPECT_NE(std::string::npos, saved.find("\r\nWidth= 600\r\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("\r\nFilenameWidth=175\r\n")) << saved;
    Win = MainWindow();
}

} // namespace

namespace {

TEST_F(SearchWindowTest, ADrawingSeenBeforeIsNotOpenedAgain) {
    DrawingIndex index;
    ASSERT_TRUE(index.Open(home->file("drawings.db"), 1 << 30));
    DrawingsIndex = &index;
    MakeExampleTree();
    Search(Unslashed(root.path()));
    index.Flush();
    // Locked, d.dwg cannot be opened: its release comes from the index.
    HANDLE lock = CreateFileA(root.file("S\\d.dwg").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Search(Unslashed(root.path()));
    std::vector<std::string> versions = Column(3);
    CloseHandle(lock);
    DrawingsIndex = nullptr;
    EXPECT_EQ(std::vector<std::string>(4, "2000"), versions);
}

} // namespace
