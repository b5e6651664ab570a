// Writing values into the settings text the way the private-profile writer
// does, but keeping values exactly as given.
#include <gtest/gtest.h>

#include "settings/settings_rules.h"

TEST(WithProfileValues, ReplacesTheKeyLineMatchedWithoutRegardToCase) {
    std::string text = "[main]\r\n  left = 5\r\nTop=1\r\n\r\n[HTML]\r\nLeft=9\r\n";
    EXPECT_EQ("[main]\r\nLeft= 100\r\nTop=1\r\n\r\n[HTML]\r\nLeft=9\r\n",
              WithProfileValues(text, "MAIN", {{"Left", " 100"}}));
}

TEST(WithProfileValues, AddsAMissingKeyAfterTheSectionsLastLine) {
    std::string text = "[MAIN]\r\nLeft=0\r\n\r\n[HTML]\r\nRows=4\r\n";
    EXPECT_EQ("[MAIN]\r\nLeft=0\r\nCopyTo1=C:\\a\r\nCopyTo2=\r\n\r\n[HTML]\r\nRows=4\r\n",
              WithProfileValues(text, "MAIN", {{"CopyTo1", "C:\\a"}, {"CopyTo2", ""}}));
}

TEST(WithProfileValues, AddsAMissingSectionAtTheEnd) {
    EXPECT_EQ("[HTML]\r\nRows=4\r\n[MAIN]\r\nState= 2\r\nPath=C:\\\r\n",
              WithProfileValues("[HTML]\r\nRows=4", "MAIN", {{"State", " 2"}, {"Path", "C:\\"}}));
    EXPECT_EQ("[MAIN]\r\nLeft=-4\r\n", WithProfileValues("", "MAIN", {{"Left", "-4"}}));
}

TEST(WithProfileValues, WritesIntoTheFirstSectionOfTheName) {
    std::string text = "[MAIN]\nTop=1\n[MAIN]\nLeft=1\n";
    EXPECT_EQ("[MAIN]\r\nTop=1\r\nLeft=2\r\n[MAIN]\r\nLeft=1\r\n",
              WithProfileValues(text, "MAIN", {{"Left", "2"}}));
}

TEST(WithProfileValues, LeavesOtherLinesAndKeysThatOnlyStartAlike) {
    std::string text = "; note\r\n[MAIN]\r\nShowSize=TRUE\r\nSizeWidth=75\r\n";
    EXPECT_EQ("; note\r\n[MAIN]\r\nShowSize=TRUE\r\nSizeWidth=75\r\nSize=1\r\n",
              WithProfileValues(text, "MAIN", {{"Size", "1"}}));
}

TEST(SettingsNumbers, WindowNumbersCarryABlankWidthsDoNot) {
    EXPECT_EQ(" 100", BlankedNumber(100));
    EXPECT_EQ(" 0", BlankedNumber(0));
    EXPECT_EQ("-8", BlankedNumber(-8));
    EXPECT_EQ("250", PlainNumber(250));
}
