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

// x, y, width, height relative to the parent's client area.
std::vector<long> Place(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::vector<long> Size(HWND dlg) {
    RECT r;
    GetWindowRect(dlg, &r);
    return {r.right - r.left, r.bottom - r.top};
}

bool SaveIsDefaultWithFocus(HWND dlg) {
    HWND save = GetDlgItem(dlg, IDOK);
    return (GetWindowLongA(save, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON && GetFocus() == save;
}

class FolderDialogsTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    MainWindowFixture window;
    DialogAnswerer answers;

    void SetUp() override {
        Settings = MainSettings();
        Paths.settingsFile = folder.path() + "KVX.ini";
        WriteBytes(Paths.settingsFile, "[MAIN]\r\n");
        SetCurrentFolder(Unslashed(folder.path()));
    }

    // A line of the settings file as it is, or after the window's settings
    // are saved.
    bool FileLine(const std::string& line) {
        std::vector<std::string> lines = FileLines(Paths.settingsFile);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    bool SavedLine(const std::string& line) {
        SaveMainSettings();
        return FileLine(line);
    }
};

TEST_F(FolderDialogsTest, FavoritesSaveKeepsTheTextsAsTypedAndCancelNothing) {
    Settings.favorites[20] = "C:\\Last";
    answers.Add([](HWND dlg) {
        EXPECT_EQ("Favorite Directories", WindowText(dlg));
        EXPECT_EQ((std::vector<long>{456, GetSystemMetrics(SM_CYSIZE) + 575}), Size(dlg));
        HWND group = GetDlgItem(dlg, ID_FAVORITES_GROUP);
        EXPECT_EQ("Add your favorite directories for faster access", WindowText(group));
        EXPECT_EQ((std::vector<long>{5, 5, 440, 530}), Place(group));
        HWND last = Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT + 19);
        EXPECT_EQ("C:\\Last", WindowText(last));
        EXPECT_EQ((std::vector<long>{10, 500, 345, 20}), Place(last));
        EXPECT_EQ((std::vector<long>{355, 500, 25, 20}),
                  Place(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_BROWSE + 19)));
        EXPECT_EQ((std::vector<long>{375, 500, 55, 20}),
                  Place(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_CURRENT + 19)));
        EXPECT_EQ((std::vector<long>{130, 540, 80, 25}), Place(GetDlgItem(dlg, IDOK)));
        EXPECT_EQ((std::vector<long>{220, 540, 80, 25}), Place(GetDlgItem(dlg, IDCANCEL)));
        EXPECT_TRUE(SaveIsDefaultWithFocus(dlg));
        SetWindowTextA(last, "C:\\Gone");
        ClickButton(dlg, IDCANCEL);
    });
    ShowFavoritesDialog(Win.main);
    EXPECT_EQ("C:\\Last", Settings.favorites[20]);

    answers.Add([](HWND dlg) {
        SetWindowTextA(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT + 1), "  no such folder");
        // "Current" fills its row with the folder the tree shows.
        SendMessageA(Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_CURRENT + 2), BM_CLICK, 0, 0);
        EXPECT_TRUE(SaveIsDefaultWithFocus(dlg));
        ClickButton(dlg, IDOK);
    });
    ShowFavoritesDialog(Win.main);
    EXPECT_EQ("  no such folder", Settings.favorites[2]);
    EXPECT_EQ(Unslashed(folder.path()), Settings.favorites[3]);
    // Saved by Save itself: nothing waits for Korvex to close.
    EXPECT_TRUE(FileLine("Favorite03=" + Unslashed(folder.path())));
}

TEST_F(FolderDialogsTest, BrowseFillsTheRowUnlessCancelled) {
    std::string start = Unslashed(folder.path());
    Settings.favorites[1] = start;
    std::string afterCancel, afterChoice;
    bool browseLostDefault = false, saveRegained = false;
    answers.Add([&](HWND dlg) {
        HWND edit = Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_EDIT);
        HWND browse = Row(dlg, ID_FAVORITES_GROUP, ID_FAVORITE_BROWSE);
        SendMessageA(browse, BM_CLICK, 0, 0); // cancelled
        afterCancel = WindowText(edit);
        SetWindowTextA(edit, (start + "\\sub").c_str()); // no such folder
        SendMessageA(browse, BM_CLICK, 0, 0);            // chosen
        afterChoice = WindowText(edit);
        browseLostDefault = (GetWindowLongA(browse, GWL_STYLE) & 0x0F) != BS_DEFPUSHBUTTON;
        saveRegained = SaveIsDefaultWithFocus(dlg);
        ClickButton(dlg, IDCANCEL);
    });
    answers.Add([](HWND browser) { ClickButton(browser, IDCANCEL); });
    answers.Add([&](HWND browser) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start.c_str()));
        ClickButton(browser, IDOK);
    });
    ShowFavoritesDialog(Win.main);
    EXPECT_EQ(start, afterCancel);
    EXPECT_STRCASEEQ(start.c_str(), afterChoice.c_str());
    EXPECT_TRUE(browseLostDefault);
    EXPECT_TRUE(saveRegained);
}

TEST_F(FolderDialogsTest, TargetsSaveWritesFlagsAndFoldersAndCancelNothing) {
    Settings.copyTo[2] = "C:\\Keep";
    Settings.showCopyTo[2] = "TRUE";
    Settings.moveTo[5] = "C:\\Moved";
    Settings.showMoveTo[5] = "true"; // only the exact word checks
    answers.Add([](HWND dlg) {
        EXPECT_EQ("Copy/Move Options", WindowText(dlg));
        EXPECT_EQ((std::vector<long>{406, GetSystemMetrics(SM_CYSIZE) + 360}), Size(dlg));
        HWND copy = GetDlgItem(dlg, ID_COPY_TO_GROUP), move = GetDlgItem(dlg, ID_MOVE_TO_GROUP);
        EXPECT_EQ("Add directories to display in the Copy To context menu", WindowText(copy));
        EXPECT_EQ("Add directories to display in the Move To context menu", WindowText(move));
        EXPECT_EQ((std::vector<long>{5, 165, 390, 155}), Place(move));
        EXPECT_TRUE(GetWindowLongA(copy, GWL_STYLE) & WS_TABSTOP);
        EXPECT_EQ(BST_UNCHECKED, SendMessageA(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_CHECK + 4),
                                              BM_GETCHECK, 0, 0));
        EXPECT_EQ("C:\\Moved", WindowText(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_EDIT + 4)));
        EXPECT_EQ((std::vector<long>{10, 125, 15, 20}),
                  Place(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_CHECK + 4)));
        EXPECT_EQ((std::vector<long>{25, 125, 330, 20}),
                  Place(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_EDIT + 4)));
        EXPECT_EQ((std::vector<long>{355, 125, 25, 20}),
                  Place(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_BROWSE + 4)));
        EXPECT_EQ((std::vector<long>{120, 325, 80, 25}), Place(GetDlgItem(dlg, IDOK)));
        EXPECT_EQ((std::vector<long>{210, 325, 80, 25}), Place(GetDlgItem(dlg, IDCANCEL)));
        EXPECT_TRUE(SaveIsDefaultWithFocus(dlg));
        SendMessageA(Row(dlg, ID_COPY_TO_GROUP, ID_COPY_TO_CHECK + 1), BM_CLICK, 0, 0);
        SendMessageA(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_CHECK + 2), BM_CLICK, 0, 0);
        SetWindowTextA(Row(dlg, ID_MOVE_TO_GROUP, ID_MOVE_TO_EDIT + 2), "D:\\Not There ");
        ClickButton(dlg, IDOK);
    });
    ShowTargetsDialog(Win.main);
    EXPECT_EQ("C:\\Keep", Settings.copyTo[2]); // unchecked keeps its path
    EXPECT_EQ("D:\\Not There ", Settings.moveTo[3]);
    EXPECT_EQ("FALSE", Settings.showMoveTo[5]);
    EXPECT_TRUE(FileLine("ShowCopyTo2=FALSE"));
    EXPECT_TRUE(SavedLine("ShowMoveTo3=TRUE"));
    EXPECT_TRUE(SavedLine("CopyTo2=C:\\Keep"));

    answers.Add([](HWND dlg) {
        SetWindowTextA(Row(dlg, ID_COPY_TO_GROUP, ID_COPY_TO_EDIT + 1), "C:\\Other");
        SendMessageA(dlg, WM_CLOSE, 0, 0); // the close box is a Cancel
    });
    ShowTargetsDialog(Win.main);
    EXPECT_EQ("C:\\Keep", Settings.copyTo[2]);
}

} // namespace
