// Loading the [MAIN] section into the window, the list, the View menu and the
// program's state, and writing it back on close.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "settings/settings_file.h"
#include "tests/settings/settings_fixture.h"

class MainSettingsTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    MainWindowFixture window;
    int fileCount = 0;

    void SetUp() override {
        Settings = MainSettings();
        BlackBackground = false;
        SortColumn = 0;
        SetCurrentFolder("");
    }

    // Points the program at a new settings file holding [MAIN] and the lines.
    void UseMainSection(const std::string& lines) {
        Paths.settingsFile = folder.path() + "KVX" + std::to_string(++fileCount) + ".ini";
        WriteBytes(Paths.settingsFile, "[MAIN]\r\n" + lines);
    }

    // A fresh default settings file, as a first run writes it.
    void UseDefaultFile() {
        WriteBytes(folder.path() + "Korvex.exe", "MZ stand-in");
        PrepareSettingsFile(folder.path(), "Korvex.exe", folder.path());
    }

    bool HasLine(const std::string& line) const {
        std::vector<std::string> lines = FileLines(Paths.settingsFile);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

#define EXPECT_LINE(text)                                                                          \
    EXPECT_TRUE(HasLine(text)) << "missing line: " << (text) << " in\n"                            \
                               << ReadBytes(Paths.settingsFile)

// --------------------------------------------------------------------------
// Loading

TEST_F(MainSettingsTest, DefaultFileGivesTheDefaultState) {
    UseDefaultFile();
    CheckMenuItem(Win.viewMenu, IDM_BLACK_BACKGROUND, MF_BYCOMMAND | MF_CHECKED);

    LoadMainSettings();

    RECT r = window.WindowRect();
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(400, r.bottom - r.top);
    const int widths[7] = {0, 180, 175, 100, 75, 120, 60};
    for (int c = 1; c <= 6; ++c) {
        EXPECT_EQ("TRUE", Settings.showColumn[c]) << c;
        EXPECT_EQ(widths[c], Settings.columnWidth[c]) << c;
        EXPECT_EQ(widths[c], window.ColumnWidth(c)) << c;
        EXPECT_TRUE(window.IsChecked(IDM_COL_PREVIEW + c - 1)) << c;
    }
    EXPECT_EQ("DETAIL", Settings.viewMode);
    EXPECT_FALSE(BlackBackground);
    EXPECT_FALSE(window.IsChecked(IDM_BLACK_BACKGROUND));
    EXPECT_EQ(180, Settings.thumbWidth);
    EXPECT_EQ(144, Settings.thumbHeight);
    EXPECT_EQ(250, Settings.treeWidth);
    EXPECT_EQ(2, SortColumn);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ("TRUE", Settings.showCopyTo[n]) << n;
        EXPECT_EQ("TRUE", Settings.showMoveTo[n]) << n;
        EXPECT_EQ("", Settings.copyTo[n]) << n;
        EXPECT_EQ("", Settings.moveTo[n]) << n;
    }
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ("", Settings.favorites[n]) << n;
}

TEST_F(MainSettingsTest, WindowTakesThePlacementAndState) {
    // Numbers as the program writes them, with a leading blank.
    UseMainSection("Left= 100\r\nTop= 50\r\nWidth= 500\r\nHeight= 300\r\nState= 0\r\n");
    LoadMainSettings();
    RECT r = window.WindowRect();
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(50, r.top);
    EXPECT_EQ(600, r.right);
    EXPECT_EQ(350, r.bottom);
    EXPECT_FALSE(IsZoomed(Win.main));
    EXPECT_FALSE(IsIconic(Win.main));

    UseMainSection("Left=10\r\nTop=20\r\nWidth=400\r\nHeight=300\r\nState=2\r\n");
    LoadMainSettings();
    EXPECT_TRUE(IsZoomed(Win.main));
    ShowWindow(Win.main, SW_RESTORE);

    UseMainSection("Left=10\r\nTop=20\r\nWidth=400\r\nHeight=300\r\nState=1\r\n");
    LoadMainSettings();
    EXPECT_TRUE(IsIconic(Win.main));
    ShowWindow(Win.main, SW_RESTORE);

    UseMainSection("Left=10\r\nTop=20\r\nWidth=400\r\nHeight=300\r\nState=3\r\n");
    LoadMainSettings();
    EXPECT_FALSE(IsZoomed(Win.main));
    EXPECT_FALSE(IsIconic(Win.main));
}

TEST_F(MainSettingsTest, TreeWidthOutside100To500Gives250) {
    const struct {
        const char* line;
        int width;
    } cases[] = {{"DTVWidth=99\r\n", 250},   {"DTVWidth=100\r\n", 100}, {"DTVWidth=500\r\n", 500},
                 {"DTVWidth=501\r\n", 250},  {"DTVWidth=abc\r\n", 250}, {"", 250},
                 {"DTVWidth=-300\r\n", 250}, {"DTVWidth=320\r\n", 320}};
    for (const auto& c : cases) {
        Settings.treeWidth = 0;
        UseMainSection(c.line);
        LoadMainSettings();
        EXPECT_EQ(c.width, Settings.treeWidth) << c.line;
    }
}

TEST_F(MainSettingsTest, UnusablePreviewWidthGives180AndThumbnails180By144) {
    for (const char* line : {"PreviewWidth=0\r\n", "PreviewWidth=abc\r\n", "", "PreviewWidth=\r\n",
                             "PreviewWidth=-20\r\n"}) {
        Settings.thumbWidth = Settings.thumbHeight = 0;
        UseMainSection(std::string("ShowPreview=TRUE\r\n") + line);
        LoadMainSettings();
        EXPECT_EQ(180, Settings.columnWidth[1]) << line;
        EXPECT_EQ(180, window.ColumnWidth(1)) << line;
        EXPECT_EQ(180, Settings.thumbWidth) << line;
        EXPECT_EQ(144, Settings.thumbHeight) << line;
    }

    UseMainSection("ShowPreview=TRUE\r\nPreviewWidth=96\r\n");
    LoadMainSettings();
    EXPECT_EQ(96, window.ColumnWidth(1));
    EXPECT_EQ(96, Settings.thumbWidth);
    EXPECT_EQ(76, Settings.thumbHeight); // 76.8 truncated
}

// A width too large for any screen is brought down to the column's limit, and
// the corrected width is what the next save writes.
TEST_F(MainSettingsTest, HugeWidthsAreBroughtDownAndSavedSo) {
    UseMainSection("ShowPreview=TRUE\r\nShowFileName=TRUE\r\nShowSize=TRUE\r\n"
                   "PreviewWidth=100000\r\nFilenameWidth=2147483647\r\nSizeWidth=2048\r\n");
    LoadMainSettings();
    EXPECT_EQ(1024, Settings.thumbWidth);
    EXPECT_EQ(819, Settings.thumbHeight);
    EXPECT_EQ(1024, window.ColumnWidth(1));
    EXPECT_EQ(2048, window.ColumnWidth(2));
    EXPECT_EQ(2048, window.ColumnWidth(4));
    SaveMainSettings();
    EXPECT_LINE("PreviewWidth=1024");
    EXPECT_LINE("FilenameWidth=2048");
    EXPECT_LINE("SizeWidth=2048");
}

TEST_F(MainSettingsTest, OtherWidthsBelowOneGiveTheirDefaults) {
    UseMainSection("ShowFileName=TRUE\r\nShowVersion=TRUE\r\nShowSize=TRUE\r\n"
                   "ShowModified=TRUE\r\nShowAttributes=TRUE\r\n"
                   "FilenameWidth=0\r\nVersionWidth=-5\r\nSizeWidth=x\r\n"
                   "ModifiedWidth= 130 \r\n");
    LoadMainSettings();
    const int widths[7] = {0, 180, 175, 100, 75, 130, 60};
    for (int c = 2; c <= 6; ++c) {
        EXPECT_EQ(widths[c], Settings.columnWidth[c]) << c;
        EXPECT_EQ(widths[c], window.ColumnWidth(c)) << c;
    }
}

TEST_F(MainSettingsTest, OnlyExactTrueShowsAColumn) {
    UseMainSection("ShowPreview=TRUE\r\nShowFileName=TRUE\r\nShowVersion=TRUE\r\n"
                   "ShowSize=true\r\nShowModified=\r\n"
                   "SizeWidth=90\r\nModifiedWidth=140\r\nAttributesWidth=70\r\n");
    LoadMainSettings();

    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ("TRUE", Settings.showColumn[c]) << c;
        EXPECT_TRUE(window.IsChecked(IDM_COL_PREVIEW + c - 1)) << c;
        EXPECT_EQ(Settings.columnWidth[c], window.ColumnWidth(c)) << c;
    }
    // Lower-case "true", an empty value and a missing key all hide.
    for (int c = 4; c <= 6; ++c) {
        EXPECT_EQ("FALSE", Settings.showColumn[c]) << c;
        EXPECT_FALSE(window.IsChecked(IDM_COL_PREVIEW + c - 1)) << c;
        EXPECT_EQ(0, window.ColumnWidth(c)) << c;
    }
    // A hidden column keeps its width for when it is shown again.
    EXPECT_EQ(90, Settings.columnWidth[4]);
    EXPECT_EQ(140, Settings.columnWidth[5]);
    EXPECT_EQ(70, Settings.columnWidth[6]);
}

TEST_F(MainSettingsTest, ViewModeIsDetailOrList) {
    const struct {
        const char* line;
        const char* mode;
    } cases[] = {{"ViewMode=list\r\n", "LIST"},
                 {"ViewMode=\r\n", "DETAIL"},
                 {"", "DETAIL"},
                 {"ViewMode=DETAIL\r\n", "DETAIL"},
                 {"ViewMode=detail\r\n", "LIST"},
                 {"ViewMode=LIST\r\n", "LIST"}};
    for (const auto& c : cases) {
        Settings.viewMode = "?";
        UseMainSection(c.line);
        LoadMainSettings();
        EXPECT_EQ(c.mode, Settings.viewMode) << c.line;
    }
}

TEST_F(MainSettingsTest, SortColumnOutside2To6Gives2) {
    const struct {
        const char* line;
        int column;
    } cases[] = {{"SortColumn=0\r\n", 2}, {"", 2},
                 {"SortColumn=5\r\n", 5}, {"SortColumn= 4\r\n", 4},
                 {"SortColumn=6\r\n", 6}, {"SortColumn=7\r\n", 2},
                 {"SortColumn=1\r\n", 2}, {"SortColumn=-3\r\n", 2}};
    for (const auto& c : cases) {
        SortColumn = -1;
        UseMainSection(c.line);
        LoadMainSettings();
        EXPECT_EQ(c.column, SortColumn) << c.line;
    }
}

TEST_F(MainSettingsTest, InvertSetsTheBlackBackgroundOnlyForExactTrue) {
    UseMainSection("Invert=TRUE\r\n");
    LoadMainSettings();
    EXPECT_TRUE(BlackBackground);
    EXPECT_TRUE(window.IsChecked(IDM_BLACK_BACKGROUND));

    UseMainSection("Invert=true\r\n");
    LoadMainSettings();
    EXPECT_FALSE(BlackBackground);
    EXPECT_FALSE(window.IsChecked(IDM_BLACK_BACKGROUND));
}

TEST_F(MainSettingsTest, TargetsAndFavouritesAreRead) {
    std::string longPath = "C:\\" + std::string(3000, 'x');
    // With a window key the section is the program's own, read key by key.
    UseMainSection("Width=600\r\nShowCopyTo1=TRUE\r\nShowCopyTo2=FALSE\r\nShowCopyTo3=yes\r\n"
                   "ShowMoveTo4=TRUE\r\n"
                   "CopyTo1=C:\\drawings\r\nCopyTo5=D:\\out\\\r\nMoveTo3=E:\\old\r\n"
                   "Favorite01=C:\\first\r\nFavorite07=  F:\\seventh  \r\nFavorite20=" +
                   longPath + "\r\n");
    LoadMainSettings();

    const char* copyFlags[6] = {"", "TRUE", "FALSE", "FALSE", "FALSE", "FALSE"};
    const char* moveFlags[6] = {"", "FALSE", "FALSE", "FALSE", "TRUE", "FALSE"};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(copyFlags[n], Settings.showCopyTo[n]) << n;
        EXPECT_EQ(moveFlags[n], Settings.showMoveTo[n]) << n;
    }
    EXPECT_EQ("C:\\drawings", Settings.copyTo[1]);
    EXPECT_EQ("", Settings.copyTo[2]);
    EXPECT_EQ("D:\\out\\", Settings.copyTo[5]);
    EXPECT_EQ("E:\\old", Settings.moveTo[3]);
    EXPECT_EQ("", Settings.moveTo[1]);
    EXPECT_EQ("C:\\first", Settings.favorites[1]);
    EXPECT_EQ("F:\\seventh", Settings.favorites[7]);
    EXPECT_EQ("", Settings.favorites[8]);
    // Values are read into a 2048-byte buffer.
    EXPECT_EQ(longPath.substr(0, 2047), Settings.favorites[20]);
}

// --------------------------------------------------------------------------
// Saving

TEST_F(MainSettingsTest, NormalWindowWritesItsPlacementWithALeadingBlank) {
    UseDefaultFile();
    LoadMainSettings();
    MoveWindow(Win.main, 100, 50, 500, 300, TRUE);
    SortColumn = 4;
    Settings.treeWidth = 300;

    SaveMainSettings();

    EXPECT_LINE("Left= 100");
    EXPECT_LINE("Top= 50");
    EXPECT_LINE("Width= 500");
    EXPECT_LINE("Height= 300");
    EXPECT_LINE("State= 0");
    EXPECT_LINE("SortColumn= 4");
    EXPECT_LINE("DTVWidth=300");
}

TEST_F(MainSettingsTest, NegativePlacementHasNoBlank) {
    UseDefaultFile();
    LoadMainSettings();
    MoveWindow(Win.main, -4, -4, 500, 300, TRUE);
    SaveMainSettings();
    EXPECT_LINE("Left=-4");
    EXPECT_LINE("Top=-4");
}

TEST_F(MainSettingsTest, MaximisedWindowKeepsTheRestoredPlacement) {
    UseMainSection("Left=7\r\nTop=8\r\nWidth=610\r\nHeight=420\r\nState=0\r\n");
    LoadMainSettings();
    ShowWindow(Win.main, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(Win.main));

    SaveMainSettings();

    EXPECT_LINE("State= 2");
    EXPECT_LINE("Left=7");
    EXPECT_LINE("Top=8");
    EXPECT_LINE("Width=610");
    EXPECT_LINE("Height=420");
}

TEST_F(MainSettingsTest, MinimisedWindowKeepsTheRestoredPlacement) {
    UseMainSection("Left=7\r\nTop=8\r\nWidth=610\r\nHeight=420\r\nState=0\r\n");
    LoadMainSettings();
    ShowWindow(Win.main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(Win.main));

    SaveMainSettings();

    EXPECT_LINE("State= 1");
    EXPECT_LINE("Left=7");
    EXPECT_LINE("Width=610");
}

TEST_F(MainSettingsTest, PathGetsATrailingBackslash) {
    UseDefaultFile();
    LoadMainSettings();

    SetCurrentFolder("C:\\dwg");
    SaveMainSettings();
    EXPECT_LINE("Path=C:\\dwg\\");

    SetCurrentFolder("C:\\");
    SaveMainSettings();
    EXPECT_LINE("Path=C:\\");
}

TEST_F(MainSettingsTest, DetailViewTakesShownColumnWidthsFromTheList) {
    UseDefaultFile();
    LoadMainSettings();
    Settings.showColumn[4] = "FALSE";
    const int listWidths[7] = {0, 111, 122, 133, 0, 155, 166};
    for (int c = 1; c <= 6; ++c)
        SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, c, MAKELPARAM(listWidths[c], 0));

    SaveMainSettings();

    EXPECT_LINE("ShowPreview=TRUE");
    EXPECT_LINE("PreviewWidth=111");
    EXPECT_LINE("FilenameWidth=122");
    EXPECT_LINE("VersionWidth=133");
    EXPECT_LINE("ShowSize=FALSE");
    EXPECT_LINE("SizeWidth=75"); // a hidden column's width stays as it was
    EXPECT_LINE("ModifiedWidth=155");
    EXPECT_LINE("AttributesWidth=166");
    EXPECT_LINE("ViewMode=DETAIL");
    EXPECT_EQ(111, Settings.columnWidth[1]);
}

TEST_F(MainSettingsTest, ListViewKeepsTheStoredColumnWidths) {
    UseDefaultFile();
    LoadMainSettings();
    Settings.viewMode = "LIST";
    for (int c = 1; c <= 6; ++c) {
        Settings.columnWidth[c] = 200 + c;
        SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, c, MAKELPARAM(40, 0));
    }

    SaveMainSettings();

    EXPECT_LINE("ViewMode=LIST");
    EXPECT_LINE("PreviewWidth=201");
    EXPECT_LINE("FilenameWidth=202");
    EXPECT_LINE("AttributesWidth=206");
}

TEST_F(MainSettingsTest, FlagsTargetsAndFavouritesAreWrittenAsTheyAre) {
    UseDefaultFile();
    LoadMainSettings();
    BlackBackground = true;
    Settings.showCopyTo[2] = "FALSE";
    Settings.showMoveTo[5] = "yes";
    Settings.copyTo[1] = "C:\\drawings";
    Settings.moveTo[4] = "E:\\old\\";
    Settings.favorites[20] = "D:\\last";

    SaveMainSettings();

    EXPECT_LINE("Invert=TRUE");
    EXPECT_LINE("ShowCopyTo1=TRUE");
    EXPECT_LINE("ShowCopyTo2=FALSE");
    EXPECT_LINE("ShowMoveTo5=FALSE");
    EXPECT_LINE("CopyTo1=C:\\drawings");
    EXPECT_LINE("CopyTo2=");
    EXPECT_LINE("MoveTo4=E:\\old\\");
    EXPECT_LINE("Favorite01=");
    EXPECT_LINE("Favorite20=D:\\last");
    // The [HTML] section is not this code's and stays as it was.
    EXPECT_LINE("[HTML]");
    EXPECT_LINE("sHtmlTitle=Korvex HTML Output");
}

TEST_F(MainSettingsTest, SavedSettingsLoadBackUnchanged) {
    UseDefaultFile();
    LoadMainSettings();
    MoveWindow(Win.main, 120, 60, 640, 480, TRUE);
    SortColumn = 5;
    Settings.treeWidth = 180;
    Settings.showColumn[3] = "FALSE";
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(150, 0));
    Settings.viewMode = "DETAIL";
    BlackBackground = true;
    Settings.showMoveTo[1] = "FALSE";
    Settings.copyTo[3] = "C:\\x";
    Settings.favorites[9] = "C:\\nine\\";
    MainSettings saved = Settings;
    saved.columnWidth[1] = 150;

    SaveMainSettings();
    Settings = MainSettings();
    BlackBackground = false;
    SortColumn = 0;
    MoveWindow(Win.main, 0, 0, 300, 200, TRUE);
    LoadMainSettings();

    RECT r = window.WindowRect();
    EXPECT_EQ(120, r.left);
    EXPECT_EQ(60, r.top);
    EXPECT_EQ(640, r.right - r.left);
    EXPECT_EQ(480, r.bottom - r.top);
    EXPECT_EQ(5, SortColumn);
    EXPECT_EQ(180, Settings.treeWidth);
    for (int c = 1; c <= 6; ++c) {
        EXPECT_EQ(saved.showColumn[c], Settings.showColumn[c]) << c;
        EXPECT_EQ(saved.columnWidth[c], Settings.columnWidth[c]) << c;
    }
    EXPECT_EQ(150, Settings.thumbWidth);
    EXPECT_EQ(120, Settings.thumbHeight);
    EXPECT_TRUE(BlackBackground);
    EXPECT_EQ("FALSE", Settings.showMoveTo[1]);
    EXPECT_EQ("C:\\x", Settings.copyTo[3]);
    EXPECT_EQ("C:\\nine\\", Settings.favorites[9]);
}

// --------------------------------------------------------------------------
// Names in every script

TEST_F(MainSettingsTest, NamesInEveryScriptSurviveALoadAndASave) {
    const std::string chinese = "Z:\\tmp\\\xE4\xB8\xAD\xE6\x96\x87\\"; // 中文
    const std::string emoji = "C:\\plans \xF0\x9F\x93\x90";            // 📐
    struct Case {
        const char* what;
        std::string file;
        std::string favorite;
    } cases[] = {
        // UTF-8 without a mark: this program's own files.
        {"utf-8", "[MAIN]\r\nFavorite01=" + chinese + "\r\nCopyTo1=" + emoji + "\r\n", chinese},
        // Written before the program spoke UTF-8: "Müller" in the legacy code page.
        {"legacy", "[MAIN]\r\nFavorite01=Z:\\M\xFCller\\\r\nCopyTo1=" + emoji + "\r\n",
         "Z:\\M\xC3\xBCller\\"},
        // UTF-16 with a mark, as an editor saves it.
        {"utf-16", std::string("\xFF\xFE", 2), chinese},
    };
    // The UTF-16 file's lines.
    std::wstring wide = L"[MAIN]\r\nFavorite01=Z:\\tmp\\\x4E2D\x6587\\\r\nCopyTo1=C:\\plans "
                        L"\xD83D\xDCD0\r\n";
    for (wchar_t c : wide) {
        cases[2].file.push_back(static_cast<char>(c & 0xFF));
        cases[2].file.push_back(static_cast<char>(c >> 8));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Paths.settingsFile = folder.path() + "KVX" + std::to_string(++fileCount) + ".ini";
        ASSERT_TRUE(WriteBytes(Paths.settingsFile, c.file));
        LoadMainSettings();
        EXPECT_EQ(c.favorite, Settings.favorites[1]);
        EXPECT_EQ(emoji, Settings.copyTo[1]);
        SaveMainSettings();
        Settings = MainSettings();
        LoadMainSettings();
        EXPECT_EQ(c.favorite, Settings.favorites[1]);
        EXPECT_EQ(emoji, Settings.copyTo[1]);
        // Never a question mark in place of a character.
        EXPECT_EQ(std::string::npos, ReadBytes(Paths.settingsFile).find('?'));
    }
    // The legacy file is saved as UTF-8 from then on.
    EXPECT_NE(std::string::npos,
              ReadBytes(folder.path() + "KVX2.ini").find("Favorite01=Z:\\M\xC3\xBCller\\"));
}

TEST_F(MainSettingsTest, PropertyColumnsAreKeptOnlyOnceShown) {
    UseMainSection("ShowAuthor=TRUE\r\nAuthorWidth=130\r\nShowLastSavedBy=FALSE\r\n");
    LoadMainSettings();
    EXPECT_TRUE(window.IsChecked(IDM_COL_AUTHOR));
    EXPECT_EQ(130, window.ColumnWidth(8));
    SaveMainSettings();
    for (const char* line : {"ShowAuthor=TRUE", "AuthorWidth=130", "ShowLastSavedBy=FALSE"})
        EXPECT_LINE(line);
    EXPECT_EQ("", ReadMainText("ShowTitle")); // never shown: the file stays as it was
}
