// The rules of the file operations that need no window.
#include <gtest/gtest.h>

#include "ui/file_rules.h"

TEST(FileRules, OnlyNamesTheSystemReadsAsTheyStandAreActedOn) {
    struct Case {
        std::string name;
        bool actionable;
    } cases[] = {
        {"plan.dwg", true},
        {"two words.dwg", true},
        {std::string(249, 'a'), true},
        {std::string(250, 'a'), false}, // the list's read cuts it short
        {"", false},
        {" plan.dwg", false},
        {"plan.dwg ", false},
        {"plan.dwg\t", false},
        {"p*.dwg", false}, // the shell would expand it
        {"p?.dwg", false},
        {"a|b.dwg", false}, // the separator of the source list
        {"sub\\plan.dwg", false},
        {"..\\plan.dwg", false},
        {"a:b.dwg", false},
        {"a<b>.dwg", false},
        {"a\"b.dwg", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actionable, IsActionableName(c.name)) << "[" << c.name << "]";
}

TEST(FileRules, FolderNamesHoldNoPathCharacters) {
    EXPECT_TRUE(IsValidFolderName("New Folder"));
    for (const char* bad : {"", "a\\b", "a/b", "a*", "a?", "a:b", "a<b", "a|b", "a\"b"})
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
}

TEST(FileRules, SourceListEndsEachPathAndTheListWithANul) {
    EXPECT_EQ(std::string("C:\\a.dwg\0C:\\b c.dwg\0\0", 21),
              SourceList({"C:\\a.dwg", "C:\\b c.dwg"}));
    EXPECT_EQ(std::string("\0", 1), SourceList({}));
    // A thousand long paths are all there, in order.
    std::vector<std::string> many(1000, "C:\\" + std::string(240, 'x') + ".dwg");
    std::string list = SourceList(many);
    EXPECT_EQ(1000u * 248 + 1, list.size());
    EXPECT_EQ(std::string(2, '\0'), list.substr(list.size() - 2));
}

TEST(FileRules, DrawingExtensionsAndBackups) {
    for (const char* path : {"C:\\a.dwg", "a.DWG", "a.Dwt", "a.bak", "a.SV$"})
        EXPECT_TRUE(HasDrawingExtension(path)) << path;
    for (const char* path : {"a.dwgx", "a.txt", "dwg", "a.sv"})
        EXPECT_FALSE(HasDrawingExtension(path)) << path;
    EXPECT_TRUE(IsBackupName("x.bak"));
    EXPECT_TRUE(IsBackupName("X.BAK"));
    EXPECT_TRUE(IsBackupName("x.Bak"));
    EXPECT_FALSE(IsBackupName("x.dwg"));
    EXPECT_FALSE(IsBackupName("bak.dwg"));
}

TEST(FileRules, MenuTexts) {
    EXPECT_EQ("&Open plan.dwg", OpenItemText("plan.dwg", 1));
    EXPECT_EQ("&Open 3 Selected Files", OpenItemText("plan.dwg", 3));
    EXPECT_EQ("Create plan.zip", ZipItemText("plan.dwg"));
    EXPECT_EQ("Create x.zip", ZipItemText("x.SV$"));
    EXPECT_EQ("Create zip", ZipItemText("ab"));
    EXPECT_EQ("C:\\Out\\", TargetItemText("TRUE", "C:\\Out"));
    EXPECT_EQ("C:\\Out\\", TargetItemText("TRUE", "C:\\Out\\"));
    EXPECT_EQ("", TargetItemText("TRUE", ""));
    EXPECT_EQ("", TargetItemText("FALSE", "C:\\Out"));
    EXPECT_EQ("", TargetItemText("true", "C:\\Out")); // flags are exact words
}
