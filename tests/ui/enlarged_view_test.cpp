// The enlarged view of a drawing's preview, and the Favorites menu after the
// favourites dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "settings/favorites_menu.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/enlarged_view.h"

namespace {

// A 180 x 115 preview, black on the left half and white on the right.
std::string HalfBlackDrawing(int bits) {
    DibRecipe recipe;
    recipe.width = 180;
    recipe.height = 115;
    recipe.bits = bits;
    recipe.color = [](int x, int) { return x < 90 ? 0x000000u : 0xFFFFFFu; };
    recipe.palette = DrawingPalette();
    return MakeDrawing("AC1015", {{1, "header"}, {2, MakeDib(recipe)}});
}

struct Shown {
    std::string caption;
    RECT rect = {};
    COLORREF left = 0, right = 0;
};

// Opens the view on the drawing's preview, notes what it shows and closes it
// the way `close` does.
Shown ShowView(const std::string& drawing, const std::function<void(HWND)>& close) {
    std::string name = drawing;
    MakeListThumbnail(name);
    Shown shown;
    DialogAnswerer answers;
    answers.Add([&](HWND view) {
        shown.caption = WindowText(view);
        GetWindowRect(view, &shown.rect);
        UpdateWindow(view);
        HDC dc = GetDC(view);
        shown.left = GetPixel(dc, 100, 100);
        shown.right = GetPixel(dc, 440, 100);
        ReleaseDC(view, dc);
        close(view);
    });
    ShowEnlargedView(Win.main);
    EXPECT_EQ(1, answers.Answered());
    return shown;
}

void ClickOnImage(HWND view) {
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
    SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
}

void PressEsc(HWND view) {
    SendMessageA(view, WM_KEYUP, VK_ESCAPE, 0);
}

TEST_F(MainWindowTest, EnlargedViewShowsThePreviewThreeTimesOverTheWindow) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("half.dwg"), HalfBlackDrawing(8)));
    ListFolder(Unslashed(folder.path()));
    BlackBackground = false;
    Shown shown = ShowView("half.dwg", ClickOnImage);
    EXPECT_EQ("Enlarged View", shown.caption);
    EXPECT_EQ(544, shown.rect.right - shown.rect.left);
    EXPECT_EQ(352 + GetSystemMetrics(SM_CYSIZE), shown.rect.bottom - shown.rect.top);
    RECT main;
    GetWindowRect(Win.main, &main);
    EXPECT_NEAR((main.left + main.right) / 2, (shown.rect.left + shown.rect.right) / 2, 1);
    EXPECT_NEAR((main.top + main.bottom) / 2, (shown.rect.top + shown.rect.bottom) / 2, 1);
    EXPECT_EQ(RGB(0, 0, 0), shown.left);
    EXPECT_EQ(RGB(255, 255, 255), shown.right);
}

TEST_F(MainWindowTest, BlackBackgroundSwapsOnlyEightBitPreviews) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("eight.dwg"), HalfBlackDrawing(8)));
    ASSERT_TRUE(WriteBytes(folder.file("full.dwg"), HalfBlackDrawing(24)));
    ListFolder(Unslashed(folder.path()));
    BlackBackground = true;
    Shown eight = ShowView("eight.dwg", PressEsc);
    Shown full = ShowView("full.dwg", PressEsc);
    BlackBackground = false;
    EXPECT_EQ(RGB(255, 255, 255), eight.left);
    EXPECT_EQ(RGB(0, 0, 0), eight.right);
    EXPECT_EQ(RGB(0, 0, 0), full.left);
    EXPECT_EQ(RGB(255, 255, 255), full.right);
}

TEST_F(MainWindowTest, EnlargedViewWithoutAPreviewClosesAtOnce) {
    DeleteFileA(Paths.previewBitmap.c_str());
    DialogAnswerer answers; // none: a view that stayed open would be cancelled and counted
    ShowEnlargedView(Win.main);
    EXPECT_EQ(0, answers.Unexpected());
    ASSERT_TRUE(WriteBytes(Paths.previewBitmap, "BM damaged"));
    ShowEnlargedView(Win.main);
    EXPECT_EQ(0, answers.Unexpected());
}

TEST_F(MainWindowTest, MenuCommandsOpenTheFolderDialogs) {
    ScratchFolder folder;
    std::string path = Unslashed(folder.path());
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        HWND group = GetDlgItem(dlg, ID_FAVORITES_GROUP);
        SetWindowTextA(GetDlgItem(group, ID_FAVORITE_EDIT), path.c_str());
        SetWindowTextA(GetDlgItem(group, ID_FAVORITE_EDIT + 1), "Z:\\no\\such\\folder");
        ClickButton(dlg, IDOK);
    });
    answers.Add([](HWND dlg) {
        EXPECT_EQ("Copy/Move Options", WindowText(dlg));
        ClickButton(dlg, IDCANCEL);
    });
    SendMessageA(Win.main, WM_COMMAND, IDM_CUSTOMIZE_FAVORITES, 0);
    EXPECT_EQ(Win.list, GetFocus());
    SendMessageA(Win.main, WM_COMMAND, IDM_COPY_MOVE_CONFIG, 0);
    EXPECT_EQ(2, answers.Answered());
    // The Favorites menu shows the saved favourites at once.
    std::vector<std::string> labels;
    for (int id = IDM_FAVORITE_FIRST; id < IDM_FAVORITE_FIRST + 3; ++id) {
        char text[512] = "";
        GetMenuStringA(Win.favoritesMenu, id, text, sizeof text, MF_BYCOMMAND);
        labels.push_back(text);
    }
    EXPECT_EQ((std::vector<std::string>{path, "***Invalid Directory***", "--Undefined--"}), labels);
    Settings.favorites[1].clear();
    Settings.favorites[2].clear();
    RefreshFavoritesMenu();
}

} // namespace
