#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/command_line.h"
#include "ui/tree_rules.h"

TEST(NavigationPath, DriveRootsKeepOrGainTheirBackslash) {
    EXPECT_EQ("C:\\", NavigationPath("C:"));
    EXPECT_EQ("C:\\", NavigationPath("C:\\"));
}

TEST(NavigationPath, FoldersLoseTheirTrailingBackslash) {
    EXPECT_EQ("C:\\Drawings", NavigationPath("C:\\Drawings\\"));
    EXPECT_EQ("C:\\Drawings", NavigationPath("C:\\Drawings"));
    EXPECT_EQ("Z:\\tmp\\a b\\c", NavigationPath("Z:\\tmp\\a b\\c\\"));
}

TEST(NavigationPath, NetworkPathsKeepTheirTrailingBackslash) {
    EXPECT_EQ("\\\\server\\share\\", NavigationPath("\\\\server\\share"));
    EXPECT_EQ("\\\\server\\share\\dwg\\", NavigationPath("\\\\server\\share\\dwg\\"));
}

TEST(NavigationPath, EmptyTextBecomesABackslash) {
    EXPECT_EQ("\\", NavigationPath(""));
}

TEST(IsBlockedFolderCommand, RefusesExactlyTheFileManagementIds) {
    std::vector<int> blocked;
    for (int id = 0; id <= 0x7FFF; ++id)
        if (IsBlockedFolderCommand(id)) blocked.push_back(id);
    EXPECT_EQ((std::vector<int>{17, 18, 19, 25, 26, 27}), blocked);
}

TEST(ItemPathFromTexts, StopsAtTheDriveItem) {
    EXPECT_EQ("C:\\Drawings\\", ItemPathFromTexts({"Drawings", "Local Disk (C:)"}, false, ""));
    EXPECT_EQ("Z:\\tmp\\a b\\",
              ItemPathFromTexts({"a b", "tmp", "(Z:)", "My Computer"}, false, ""));
    EXPECT_EQ("D:\\", ItemPathFromTexts({"Data (D:)"}, false, ""));
}

TEST(ItemPathFromTexts, FoldersBelowTheDesktopStartAtItsPath) {
    EXPECT_EQ("C:\\Users\\me\\Desktop\\Projects\\Old\\",
              ItemPathFromTexts({"Old", "Projects"}, true, "C:\\Users\\me\\Desktop"));
    // A desktop path that already ends in a backslash gives no doubled one.
    EXPECT_EQ("C:\\Desk\\Projects\\", ItemPathFromTexts({"Projects"}, true, "C:\\Desk\\"));
}

TEST(ItemPathFromTexts, AWalkThatReachesNeitherGivesNothing) {
    EXPECT_EQ("", ItemPathFromTexts({"a", "b", "c"}, false, "C:\\Desk"));
}

TEST(ArgumentsText, QuotedProgramNameEndsAtTheNextQuote) {
    EXPECT_EQ("C:\\Drawings", ArgumentsText("\"C:\\Program Files\\Korvex.exe\" C:\\Drawings"));
    EXPECT_EQ("", ArgumentsText("\"C:\\Program Files\\Korvex.exe\""));
    EXPECT_EQ("SHELLON", ArgumentsText("\"C:\\Program Files\\Korvex.exe\"SHELLON"));
}

TEST(ArgumentsText, UnquotedProgramNameEndsAtTheFirstBlank) {
    EXPECT_EQ("SHELLOFF", ArgumentsText("Korvex.exe SHELLOFF"));
    EXPECT_EQ("", ArgumentsText("C:\\Tools\\Korvex.exe"));
}

TEST(ArgumentsText, BlanksAfterTheNameAreSkippedAndTheRestKeptWhole) {
    EXPECT_EQ("C:\\My Drawings\\Site Plans  ",
              ArgumentsText("Korvex.exe    C:\\My Drawings\\Site Plans  "));
    EXPECT_EQ("\"C:\\My Drawings\"", ArgumentsText("\"Korvex.exe\"  \"C:\\My Drawings\""));
    EXPECT_EQ("", ArgumentsText("Korvex.exe   "));
    EXPECT_EQ("", ArgumentsText(""));
}
