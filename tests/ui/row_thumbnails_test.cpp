// Thumbnails made for the rows the user sees, in an image list of bounded
// size, and a summary that speaks of the rows listed when the folder changes
// under the listing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>

#include "filelist/list_rows.h"
#include "filelist/list_sorting.h"
#include "filelist/row_thumbnails.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/strings.h"
#include "tests/support/dwg_builder.h"
#include "tests/ui/list_test_support.h"
#include "tests/ui/main_window_fixture.h"

namespace {

uint32_t Colour(int i) {
    return static_cast<uint32_t>(0x200000 + (i % 200) * 0x000100 + (i / 200) * 0x30 + 0x10);
}

std::string ColouredDrawing(int i) {
    DibRecipe recipe;
    recipe.width = 40;
    recipe.height = 30;
    recipe.bits = 24;
    recipe.color = [i](int, int) { return Colour(i); };
    return MakeDrawing("AC1015", {{2, MakeDib(recipe)}});
}

std::string DrawingName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "d%03d.dwg", i);
    return name;
}

int RowsNow() {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
}

class RowThumbnailsTest : public MainWindowTest {
  protected:
    void TearDown() override { Thumbs.limit = 0; }

    // Every row on screen shows its own drawing's picture, and the image
    // list holds no more than its bound.
    void ExpectScreenShowsItsThumbnails(int column) {
        std::vector<std::string> names = Column(2);
        int top = static_cast<int>(SendMessageA(Win.list, LVM_GETTOPINDEX, 0, 0));
        int screen = static_cast<int>(SendMessageA(Win.list, LVM_GETCOUNTPERPAGE, 0, 0));
        ASSERT_GT(screen, 0);
        for (int row = top; row < std::min<int>(names.size(), top + screen); ++row)
            EXPECT_EQ(Colour(std::atoi(names[row].c_str() + 1)), ImageCentre(RowImage(row, column)))
                << names[row];
        EXPECT_LE(ImageCount(), 3 + ThumbnailLimit());
        EXPECT_LE(ThumbnailsHeld(), ThumbnailLimit());
    }
};

TEST_F(RowThumbnailsTest, RowsShownAndScrolledToShowTheirOwnThumbnails) {
    const int count = 240, bound = 24;
    ScratchFolder folder;
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(WriteBytes(folder.file(DrawingName(i)), ColouredDrawing(i)));
    Thumbs.limit = bound;
    ListFolder(Unslashed(folder.path()));
    ASSERT_EQ(count, RowsNow());
    ASSERT_EQ(bound, ThumbnailLimit());
    {
        SCOPED_TRACE("first screen");
        ExpectScreenShowsItsThumbnails(1);
    }
    for (int row : {count / 2, count - 1, 7}) {
        SCOPED_TRACE("scrolled to row " + std::to_string(row));
        SendMessageA(Win.list, LVM_ENSUREVISIBLE, row, FALSE);
        ExpectScreenShowsItsThumbnails(1);
    }
    {
        SCOPED_TRACE("sorted the other way");
        SortByHeaderClick(2);
        ExpectScreenShowsItsThumbnails(1);
    }
    {
        SCOPED_TRACE("LIST view");
        SendMessageA(Win.main, WM_COMMAND, IDM_LIST, 0);
        SendMessageA(Win.list, LVM_ENSUREVISIBLE, count / 3, FALSE);
        ExpectScreenShowsItsThumbnails(0);
        SendMessageA(Win.main, WM_COMMAND, IDM_DETAILS, 0);
    }
    {
        SCOPED_TRACE("window made taller");
        RECT was;
        GetWindowRect(Win.main, &was);
        SetWindowPos(Win.main, nullptr, 0, 0, was.right - was.left, 900, SWP_NOMOVE | SWP_NOZORDER);
        ExpectScreenShowsItsThumbnails(1);
        SetWindowPos(Win.main, nullptr, 0, 0, was.right - was.left, was.bottom - was.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
}

// A folder that goes while it is listed is reported as a folder that is not
// there; one whose files come and go ends with rows and counts of what it
// holds. The change comes as the listing's first row goes in.
TEST_F(RowThumbnailsTest, SummarySpeaksOfTheRowsWhenTheFolderChanges) {
    const int count = 400;
    const std::string zero = " 0 Filtered DWG File(s) + 0 Other DWG File(s) + 0 Remaining File(s) "
                             "+ 0 Folder(s)  =  0 Total Object(s) Found";
    ScratchFolder gone;
    ScratchFolder churned;
    for (const ScratchFolder* folder : {&gone, &churned})
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(WriteBytes(folder->file(DrawingName(i)), ColouredDrawing(i)));
    {
        SCOPED_TRACE("deleted");
        AtFirstRow deletion([&] {
            for (int i = 0; i < count; ++i)
                DeleteFileA(gone.file(DrawingName(i)).c_str());
            RemoveDirectoryA(Unslashed(gone.path()).c_str());
        });
        ListFolder(Unslashed(gone.path()));
        EXPECT_TRUE(deletion.ran());
        EXPECT_EQ(zero, StatusText(0));
        EXPECT_EQ(0, RowsNow());
        EXPECT_EQ("Korvex - " + gone.path(), Title());
    }
    {
        SCOPED_TRACE("files removed and added");
        AtFirstRow churn([&] {
            for (int i = 0; i < count; i += 8)
                DeleteFileA(churned.file(DrawingName(i)).c_str());
            for (int i = count; i < count + 30; ++i)
                WriteBytes(churned.file(DrawingName(i)), ColouredDrawing(i));
            CreateDirectoryA(churned.file("new folder").c_str(), nullptr);
        });
        ListFolder(Unslashed(churned.path()));
        EXPECT_TRUE(churn.ran());
        std::set<std::string> onDisk;
        for (int i = 0; i < count + 30; ++i)
            if (i >= count || i % 8 != 0) onDisk.insert(DrawingName(i));
        std::vector<std::string> rows = Column(2);
        EXPECT_EQ(onDisk, std::set<std::string>(rows.begin(), rows.end()));
        EXPECT_EQ(onDisk.size(), rows.size());
        std::string n = std::to_string(onDisk.size());
        EXPECT_EQ(" " + n +
                      " Filtered DWG File(s) + 0 Other DWG File(s) + 0 Remaining File(s) + 1 "
                      "Folder(s)  =  " +
                      std::to_string(onDisk.size() + 1) + " Total Object(s) Found",
                  StatusText(0));
    }
}

} // namespace
