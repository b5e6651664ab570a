#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "inspect/thumbnail_maker.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/unix_tools.h"

// A row made and not yet taken is still on its way to the caller: asking for
// it again, as the rows on screen are asked for, does not open it again.
TEST(ThumbnailMaker, ARowMadeButNotYetTakenIsNotMadeTwice) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), MakeDrawingWithoutImages("AC1015")));
    ASSERT_TRUE(WriteBytes(folder.file("b.dwg"), MakeDrawingWithoutImages("AC1018")));
    const UINT kMade = WM_APP + 1;
    HWND notify =
        CreateWindowA("Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, notify);
    {
        ThumbnailMaker maker(16, 16, RGB(255, 255, 255), false, notify, kMade);
        maker.Want({{1, folder.file("a.dwg")}});
        MSG msg;
        ASSERT_TRUE(EventuallyTrue(
            [&] { return PeekMessageA(&msg, notify, kMade, kMade, PM_NOREMOVE) != FALSE; }));
        maker.Want({{1, folder.file("a.dwg")}, {2, folder.file("b.dwg")}});
        std::vector<LPARAM> rows;
        ASSERT_TRUE(EventuallyTrue([&] {
            MadeThumbnail made;
            while (maker.Take(made))
                rows.push_back(made.row);
            return !rows.empty() && rows.back() == 2;
        }));
        EXPECT_EQ((std::vector<LPARAM>{1, 2}), rows);
    }
    DestroyWindow(notify);
}
