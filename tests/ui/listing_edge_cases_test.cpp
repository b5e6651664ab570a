// Listings of drawings that cannot be read, that lie beyond MAX_PATH, and of
// folders listed while the user acts: every row shows its own drawing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "filelist/list_columns.h"
#include "filelist/list_selection.h"
#include "filelist/list_sorting.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/stderr_capture.h"
#include "tests/support/unix_tools.h"
#include "tests/ui/main_window_fixture.h"

namespace {

// An 8-bit preview, which the black background adapts row by row.
std::string Drawing() {
    DibRecipe recipe;
    recipe.width = 90;
    recipe.height = 60;
    recipe.color = [](int x, int) { return x % 2 ? 0x000000u : 0xFFFFFFu; };
    return MakeDrawing("AC1015", {{2, MakeDib(recipe)}});
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// A name Windows forbids, made on the Unix side: listed, but not openable.
TEST_F(MainWindowTest, DrawingThatCannotBeOpenedByItsNameShowsPreviewNotFound) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), Drawing()));
    std::string unixFolder = UnixPath(Unslashed(folder.path()));
    if (unixFolder.empty()) GTEST_SKIP() << "names with '<' are made under Wine only";
    RunUnix("Z:\\bin\\cp \"" + unixFolder + "/a.dwg\" \"" + unixFolder + "/z<x.dwg\"");
    ASSERT_TRUE(EventuallyTrue([&] { return PathExists(folder.file("z*.dwg")); }));

    SetCurrentFolder(Unslashed(folder.path()));
    Relist();
    ASSERT_EQ((std::vector<std::string>{"a.dwg", "z<x.dwg"}), Column(2));
    EXPECT_EQ(3, RowImage(0, 1));
    EXPECT_EQ(Thumbs.notFound, RowImage(1, 1));
    EXPECT_EQ(Thumbs.notFound, RowImage(1, 0));
    RunUnix("Z:\\bin\\rm \"" + unixFolder + "/z<x.dwg\""); // no Windows call can
}

TEST_F(MainWindowTest, LockedDrawingIsReportedOnceAndShowsPreviewNotFound) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("locked.dwg"), Drawing()));
    HANDLE lock = CreateFileA(folder.file("locked.dwg").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    SetCurrentFolder(Unslashed(folder.path()));
    StderrCapture err;
    Relist();
    // Its thumbnail is made when its row is seen: while the drawing is still locked.
    int image = RowImage(0, 1);
    std::string written = err.finish();
    CloseHandle(lock);
    EXPECT_EQ(1u, Count(written, "Can't open file ")) << written;
    EXPECT_EQ(1u, Count(written, "locked.dwg\n")) << written;
    EXPECT_EQ((std::vector<std::string>{"Unknown Version"}), Column(3));
    EXPECT_EQ(Thumbs.notFound, image);
}

TEST_F(MainWindowTest, DrawingBeyondMaxPathShowsItsFacts) {
    ScratchFolder root;
    std::string folder = MakeFolderOfLength(root, 200);
    ASSERT_FALSE(folder.empty());
    std::string name = std::string(96, 'd') + ".dwg";
    ASSERT_TRUE(WriteBytes(folder + name, Drawing()));
    SetCurrentFolder(Unslashed(folder));
    Relist();
    ASSERT_EQ((std::vector<std::string>{name}), Column(2));
    EXPECT_EQ("2000", Column(3)[0]);
    EXPECT_EQ(KbText(Drawing().size()), Column(4)[0]);
    EXPECT_EQ(19u, Column(5)[0].size());
    EXPECT_EQ("A", Column(6)[0]);
    EXPECT_EQ(3, RowImage(0, 1)); // its own thumbnail, not a placeholder
}

// Clicks the Filename header (the sort column: the direction flips) when its
// message arrives.
LRESULT CALLBACK ClickProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {
        SortByHeaderClick(2);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND clickTarget;
int labelsSeen;
WNDPROC labelPrevious;

// Posts the click when the second drawing's progress text is set, so that it
// is handled in the pump of that drawing's black-background adaptation.
LRESULT CALLBACK LabelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT && ++labelsSeen == 2) PostMessageA(clickTarget, WM_APP, 0, 0);
    return CallWindowProcA(labelPrevious, wnd, msg, wParam, lParam);
}

TEST_F(MainWindowTest, SortDuringAThumbnailLosesNoRow) {
    ScratchFolder folder;
    for (const char* name : {"a.dwg", "b.dwg", "c.dwg"})
        ASSERT_TRUE(WriteBytes(folder.file(name), Drawing()));
    clickTarget =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(clickTarget, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClickProc));
    labelsSeen = 0;
    labelPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Win.progressLabel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelProc)));
    SendMessageA(Win.main, WM_COMMAND, IDM_BLACK_BACKGROUND, 0);
    SortColumn = 2;
    SortAscending = true;
    SetCurrentFolder(Unslashed(folder.path()));
    Relist();

    SetWindowLongPtrA(Win.progressLabel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(labelPrevious));
    SendMessageA(Win.main, WM_COMMAND, IDM_BLACK_BACKGROUND, 0);
    DestroyWindow(clickTarget);
    bool descending = !SortAscending;
    SortAscending = true;
    ASSERT_TRUE(descending) << "the click was never handled";
    EXPECT_EQ((std::vector<std::string>{"c.dwg", "b.dwg", "a.dwg"}), Column(2));
    EXPECT_EQ((std::vector<std::string>(3, "2000")), Column(3));
    for (int row = 0; row < 3; ++row)
        EXPECT_LE(3, RowImage(row, 1)) << row;
}

TEST_F(MainWindowTest, ListingEndsWithTheNewListsSelectionText) {
    ScratchFolder first, second;
    ASSERT_TRUE(WriteBytes(first.file("a.dwg"), std::string(3000, 'a')));
    ASSERT_TRUE(WriteBytes(first.file("b.dwg"), std::string(3000, 'b')));
    ASSERT_TRUE(WriteBytes(second.file("c.dwg"), "AC1015"));
    SetCurrentFolder(Unslashed(first.path()));
    Relist();
    SelectAllRows();
    ASSERT_EQ("2 File(s) Selected = 5 KB", StatusText(1));
    SetCurrentFolder(Unslashed(second.path()));
    Relist();
    EXPECT_EQ("0 File(s) Selected = 0 KB", StatusText(1));
}

// A file another part of the program holds open across the listing's pumps.
TEST_F(MainWindowTest, ListingLeavesOtherStreamsOpen) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), Drawing()));
    std::FILE* held = std::fopen(folder.file("held.txt").c_str(), "wb");
    ASSERT_NE(nullptr, held);
    SetCurrentFolder(Unslashed(folder.path()));
    Relist();
    EXPECT_LE(0, std::fputs("still open", held));
    EXPECT_EQ(0, std::fclose(held));
    EXPECT_EQ("still open", ReadBytes(folder.file("held.txt")));
}

} // namespace
