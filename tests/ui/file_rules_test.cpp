// The rules of the file operations that need no window.
#include <gtest/gtest.h>

#include "ui/file_rules.h"

TEST(FileRules, OnlyNamesTheSystemReadsAsTheyStandAreActedOn) {
    for (const std::string& name :
         std::vector<std::string>{"plan.dwg", "two words.dwg", std::string(249, 'a')})
        EXPECT_TRUE(IsActionableName(name)) << name;
    // Cut short by the list's read, trimmed by the system, taken as a
    // wildcard or a separator, or pointing into another folder.
    for (const std::string& name : std::vector<std::string>{
             std::string(250, 'a'), "", " plan.dwg", "plan.dwg ", "plan.dwg\t", "p*.dwg", "p?.dwg",
             "a|b.dwg", "..\\plan.dwg", "a/b", "a:b.dwg", "a<b>.dwg", "a\"b.dwg"})
        EXPECT_FALSE(IsActionableName(name)) << "[" << name << "]";
    EXPECT_TRUE(IsValidFolderName("New Folder"));
    EXPECT_FALSE(IsValidFolderName("a\\b"));
}

TEST(FileRules, SourceListEndsEachPathAndTheListWithANul) {
    EXPECT_EQ(std::string("C:\\a.dwg\0C:\\b c.dwg\0\0", 21),
              SourceList({"C:\\a.dwg", "C:\\b c.dwg"}));
    std::string many = SourceList(std::vector<std::string>(1000, std::string(247, 'x')));
    EXPECT_EQ(1000u * 248 + 1, many.size());
    EXPECT_EQ(std::string(2, '\0'), many.substr(many.size() - 2));
}

TEST(FileRules, ExtensionsAndMenuTexts) {
    for (const char* path : {"C:\\a.dwg", "a.DWG", "a.Dwt", "a.bak", "a.SV$"})
        EXPECT_TRUE(HasDrawingExtension(path)) << path;
    for (const char* path : {"a.dwgx", "a.txt", "a.sv"})
        EXPECT_FALSE(HasDrawingExtension(path)) << path;
    EXPECT_TRUE(IsBackupName("X.Bak"));
    EXPECT_FALSE(IsBackupName("bak.dwg"));
    EXPECT_EQ("&Open plan.dwg", OpenItemText("plan.dwg", 1));
    EXPECT_EQ("&Open 3 Selected Files", OpenItemText("plan.dwg", 3));
    EXPECT_EQ("Create plan.zip", ZipItemText("plan.dwg"));
    EXPECT_EQ("Create x.zip", ZipItemText("x.SV$"));
    EXPECT_EQ("C:\\Out\\", TargetItemText("TRUE", "C:\\Out"));
    EXPECT_EQ("C:\\Out\\", TargetItemText("TRUE", "C:\\Out\\"));
    EXPECT_EQ("", TargetItemText("TRUE", ""));
    EXPECT_EQ("", TargetItemText("true", "C:\\Out")); // flags are exact words
}
