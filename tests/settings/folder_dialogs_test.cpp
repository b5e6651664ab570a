// The "Favorite Directories" and "Copy/Move Options" dialogs: their controls,
// Save and Cancel, and what reaches the settings file.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "settings/favorites_dialog.h"
#include "settings/settings_file.h"
#include "settings/targets_dialog.h"
#include "tests/settings/settings_fixture.h"
#include "tests/support/dialog_answerer.h"

namespace {

HWND Row(HWND dlg, int group, int id) {
    return GetDlgItem(GetDlgItem(dlg, group), id);
}

// A control's rectangle relative to its parent's client area.
RECT RectIn(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

#define EXPECT_RECT(control, x, y, w, h)                                                           \
    do {                                                                                           \
        RECT r_ = RectIn(control);                                                                 \
        EXPECT_EQ((std::vector<long>{x, y, w, h}),                                                 \
                  (std::vector<long>{r_.left, r_.top, r_.right - r_.left, r_.bottom - r_.top}));   \
    } while (0)

SIZE WindowSize(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

bool IsDefault(HWND button) {
    return (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

class FolderDialogsTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    MainWindowFixture window;

    void SetUp() override {
        Settings = MainSettings();
        for (int n = 1; n <= 5; ++n)
            Settings.showCopyTo[n] = Settings.showMoveTo[n] = "FALSE";
        Paths.settingsFile = folder.path() + "KVX.ini";
        WriteBytes(Paths.settingsFile, "[MAIN]\r\n");
        SetCurrentFolder(Unslashed(folder.path()));
    }

    bool SavedLine(const std::string& line) {
        SaveMainSettings();
        std::vector<std::string> lines = FileLines(Paths.settingsFile);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(FolderDialogsTest, FavoritesDialogShowsTwentyRows) {
    Settings.favorites[1] = "C:\\First";
    Settings.favorites[20] = "C:\\Last";
    DialogAnswerer answers;
    answers.Add([](HWND dlg) {
        EXPECT_EQ("Favorite Directories", WindowText(dlg));
        SIZE size = WindowSize(dlg);
        EXPECT_EQ(456, size.cx);
        EXPECT_EQ(GetSystemMetrics(SM_CYSIZE) + 575, size.cy);
        HWND group = GetDlgItem(dlg, ID_FAVORITES_GROUP);
        EXPECT_EQ("Add your favorite directories for faster access", WindowText(group));
        EXPECT_RECT(group, 5, 5, 440, 530);
        EXPECT_EQ("C:\\First", WindowText(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT)));
        EXPECT_EQ("C:\\Last", WindowText(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT + 19)));
        EXPECT_RECT(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT + 19), 10, 500, 345, 20);
        EXPECT_EQ("...", WindowText(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_BROWSE + 19)));
        EXPECT_RECT(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_BROWSE + 19), 355, 500, 25, 20);
        EXPECT_EQ("Current", WindowText(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_CURRENT)));
        EXPECT_RECT(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_CURRENT), 375, 25, 55, 20);
        EXPECT_EQ("Save", WindowText(GetDlgItem(dlg, IDOK)));
        EXPECT_RECT(GetDlgItem(dlg, IDOK), 130, 540, 80, 25);
        EXPECT_RECT(GetDlgItem(dlg, IDCANCEL), 220, 540, 80, 25);
        EXPECT_TRUE(IsDefault(GetDlgItem(dlg, IDOK)));
        EXPECT_EQ(GetDlgItem(dlg, IDOK), GetFocus());
        ClickButton(dlg, IDCANCEL);
    });
    ShowFavoritesDialog(Win.main);
    EXPECT_EQ(1, answers.Answered());
}

TEST_F(FolderDialogsTest, FavoritesSaveKeepsTheTextsAsTypedAndCancelKeepsNothing) {
    Settings.favorites[2] = "C:\\Old";
    DialogAnswerer answers;
    answers.Add([](HWND dlg) {
        SetWindowTextA(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT + 1), "C:\\Gone");
        ClickButton(dlg, IDCANCEL);
    });
    ShowFavoritesDialog(Win.main);
    EXPECT_EQ("C:\\Old", Settings.favorites[2]);

    answers.Add([](HWND dlg) {
        SetWindowTextA(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT + 1), "  no such folder");
        // "Current" fills row 3 with the folder the tree shows.
        SendMessageA(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_CURRENT + 2), BM_CLICK, 0, 0);
        ClickButton(dlg, IDOK);
    });
    ShowFavoritesDialog(Win.main);
    EXPECT_EQ("  no such folder", Settings.favorites[2]);
    EXPECT_EQ(Unslashed(folder.path()), Settings.favorites[3]);
    EXPECT_TRUE(SavedLine("Favorite03=" + Unslashed(folder.path())));
}

TEST_F(FolderDialogsTest, BrowseFillsTheRowAndGivesSaveTheFocusBack) {
    std::string start = Unslashed(folder.path());
    Settings.favorites[1] = start;
    bool saveIsDefault = false, saveHasFocus = false, browseIsDefault = true;
    std::string afterCancel, afterChoice;
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        HWND edit = Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT);
        HWND browse = Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_BROWSE);
        SendMessageA(browse, BM_CLICK, 0, 0); // the browser, cancelled
        afterCancel = WindowText(edit);
        SetWindowTextA(edit, (start + "\\sub").c_str()); // no such folder: the browser's root
        SendMessageA(browse, BM_CLICK, 0, 0);            // chosen as it opens
        afterChoice = WindowText(edit);
        saveIsDefault = IsDefault(GetDlgItem(dlg, IDOK));
        browseIsDefault = IsDefault(browse);
        saveHasFocus = GetFocus() == GetDlgItem(dlg, IDOK);
        ClickButton(dlg, IDCANCEL);
    });
    answers.Add([](HWND browser) { ClickButton(browser, IDCANCEL); });
    answers.Add([&](HWND browser) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start.c_str()));
        ClickButton(browser, IDOK);
    });
    ShowFavoritesDialog(Win.main);
    EXPECT_EQ(3, answers.Answered());
    EXPECT_EQ(start, afterCancel);
    EXPECT_STRCASEEQ(start.c_str(), afterChoice.c_str());
    EXPECT_TRUE(saveIsDefault);
    EXPECT_FALSE(browseIsDefault);
    EXPECT_TRUE(saveHasFocus);
}

TEST_F(FolderDialogsTest, TargetsDialogShowsTheFlagsAndFoldersOfBothGroups) {
    Settings.copyTo[1] = "C:\\Copies";
    Settings.showCopyTo[1] = "TRUE";
    Settings.moveTo[5] = "C:\\Moved";
    Settings.showMoveTo[5] = "true"; // only the exact word checks
    DialogAnswerer answers;
    answers.Add([](HWND dlg) {
        EXPECT_EQ("Copy/Move Options", WindowText(dlg));
        SIZE size = WindowSize(dlg);
        EXPECT_EQ(406, size.cx);
        EXPECT_EQ(GetSystemMetrics(SM_CYSIZE) + 360, size.cy);
        HWND copy = GetDlgItem(dlg, ID_COPY_TO_GROUP), move = GetDlgItem(dlg, ID_MOVE_TO_GROUP);
        EXPECT_EQ("Add directories to display in the Copy To context menu", WindowText(copy));
        EXPECT_EQ("Add directories to display in the Move To context menu", WindowText(move));
        EXPECT_RECT(copy, 5, 5, 390, 155);
        EXPECT_RECT(move, 5, 165, 390, 155);
        EXPECT_TRUE(GetWindowLongA(copy, GWL_STYLE) & WS_TABSTOP);
        EXPECT_EQ(BST_CHECKED,
                  SendMessageA(Row(dlg, ID_COPY_TO_GROUP, ID_COPY_TO_CHECK), BM_GETCHECK, 0, 0));
        EXPECT_EQ(BST_UNCHECKED, SendMessageA(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_CHECK + 4),
                                              BM_GETCHECK, 0, 0));
        EXPECT_EQ("C:\\Copies", WindowText(Row(dlg, ID_COPY_TO_GROUP, ID_COPY_TO_EDIT)));
        EXPECT_EQ("C:\\Moved", WindowText(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_EDIT + 4)));
        EXPECT_RECT(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_CHECK + 4), 10, 125, 15, 20);
        EXPECT_RECT(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_EDIT + 4), 25, 125, 330, 20);
        EXPECT_RECT(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_BROWSE + 4), 355, 125, 25, 20);
        EXPECT_RECT(GetDlgItem(dlg, IDOK), 120, 325, 80, 25);
        EXPECT_RECT(GetDlgItem(dlg, IDCANCEL), 210, 325, 80, 25);
        EXPECT_EQ("Cancel", WindowText(GetDlgItem(dlg, IDCANCEL)));
        EXPECT_TRUE(IsDefault(GetDlgItem(dlg, IDOK)));
        EXPECT_EQ(GetDlgItem(dlg, IDOK), GetFocus());
        // The close box is a Cancel.
        SendMessageA(dlg, WM_CLOSE, 0, 0);
    });
    ShowTargetsDialog(Win.main);
    EXPECT_EQ(1, answers.Answered());
    EXPECT_EQ("true", Settings.showMoveTo[5]);
}

TEST_F(FolderDialogsTest, TargetsSaveWritesFlagsAndFoldersAtExit) {
    Settings.copyTo[2] = "C:\\Keep";
    Settings.showCopyTo[2] = "TRUE";
    DialogAnswerer answers;
    answers.Add([](HWND dlg) {
        SendMessageA(Row(dlg, ID_COPY_TO_GROUP, ID_COPY_TO_CHECK + 1), BM_CLICK, 0, 0);
        SendMessageA(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_CHECK + 2), BM_CLICK, 0, 0);
        SetWindowTextA(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_EDIT + 2), "D:\\Not There ");
        ClickButton(dlg, IDOK);
    });
    ShowTargetsDialog(Win.main);
    EXPECT_EQ("FALSE", Settings.showCopyTo[2]);
    EXPECT_EQ("C:\\Keep", Settings.copyTo[2]); // unchecked keeps its path
    EXPECT_EQ("TRUE", Settings.showMoveTo[3]);
    EXPECT_EQ("D:\\Not There ", Settings.moveTo[3]);
    EXPECT_TRUE(SavedLine("ShowCopyTo2=FALSE"));
    EXPECT_TRUE(SavedLine("CopyTo2=C:\\Keep"));
    EXPECT_TRUE(SavedLine("ShowMoveTo3=TRUE"));

    answers.Add([](HWND dlg) {
        SetWindowTextA(Row(dlg, ID_COPY_TO_GROUP, ID_COPY_TO_EDIT + 1), "C:\\Other");
        ClickButton(dlg, IDCANCEL);
    });
    ShowTargetsDialog(Win.main);
    EXPECT_EQ("C:\\Keep", Settings.copyTo[2]);
}

} // namespace
