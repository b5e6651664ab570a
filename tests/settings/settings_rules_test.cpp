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

// Written twice in one pass, a key keeps one line with the last value, in the
// place of the first.
TEST(WithProfileValues, KeyWrittenTwiceKeepsTheLastValue) {
    EXPECT_EQ("[MAIN]\r\nTOP=3\r\nleft=2\r\n",
              WithProfileValues("[MAIN]\r\nTop=1\r\n", "MAIN",
                                {{"Left", "1"}, {"Top", "2"}, {"left", "2"}, {"TOP", "3"}}));
}

TEST(WithProfileValues, WritesIntoTheFirstSectionOfTheName) {
    std::string text = "[MAIN]\r\nTop=1\r\n[MAIN]\r\nLeft=1\r\n";
    EXPECT_EQ("[MAIN]\r\nTop=1\r\nLeft=2\r\n[MAIN]\r\nLeft=1\r\n",
              WithProfileValues(text, "MAIN", {{"Left", "2"}}));
}

// A hand-edited file keeps its own line ends (a mixed one gets CR LF); a
// header without its closing bracket is an ordinary line.
TEST(WithProfileValues, KeepsLineEndsAndTakesOnlyWholeHeaders) {
    EXPECT_EQ("[MAIN]\nTop=1\n[broken\nLeft=2\n",
              WithProfileValues("[MAIN]\nTop=1\n[broken\nLeft=1", "MAIN", {{"Left", "2"}}));
    EXPECT_EQ("[MAIN]\r\nLeft=2\r\nx\r\ny\r\n",
              WithProfileValues("[MAIN]\r\nLeft=1\r\nx\ny", "MAIN", {{"Left", "2"}}));
}

TEST(FindProfileValue, ReadsAsTheProfileReaderDoes) {
    const std::string text = "Left=9\r\n[html]\r\nLeft=8\r\n[ main ]\r\n;Left=7\r\n"
                             "  LEFT =  \"C:\\a b\"  \r\nTop='x\r\nName=\r\n[MAIN]\r\nWidth=5\r\n";
    const struct {
        const char* key;
        bool found;
        const char* value;
    } cases[] = {{"left", true, "C:\\a b"}, {"Top", true, "'x"},  {"Name", true, ""},
                 {"Width", false, ""},      {";Left", true, "7"}, {"Height", false, ""}};
    for (const auto& c : cases) {
        std::string value;
        EXPECT_EQ(c.found, FindProfileValue(text, "MAIN", c.key, value)) << c.key;
        if (c.found) {
            EXPECT_EQ(c.value, value) << c.key;
        }
    }
}

TEST(FindProfileValue, DropsCarriageReturnsOfDoubledLineEnds) {
    const std::string text = "[MAIN]\r\r\nPath=D:\\Plans\\\r\r\nLeft= 5 \r\r\nTop=\t7\r\t\n";
    const struct {
        const char* key;
        const char* value;
    } cases[] = {{"Path", "D:\\Plans\\"}, {"Left", "5"}, {"Top", "7"}};
    for (const auto& c : cases) {
        std::string value;
        EXPECT_TRUE(FindProfileValue(text, "MAIN", c.key, value)) << c.key;
        EXPECT_EQ(c.value, value) << c.key;
    }
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

// A window that would be off every screen, or of no usable size, is brought
// onto the work area; one partly on it stays where it is.
TEST(SaneWindowBox, KeepsTheWindowOnTheWorkArea) {
    const RECT work = {0, 30, 1280, 800}; // a bar along the top
    const struct {
        WindowBox stored, sane;
    } cases[] = {
        {{100, 50, 600, 400}, {100, 50, 600, 400}},
        {{-4, 30, 600, 400}, {-4, 30, 600, 400}},
        {{-450, 100, 600, 400}, {-450, 100, 600, 400}}, // 150 pixels showing
        {{-550, 100, 600, 400}, {0, 100, 600, 400}},    // 50 showing
        {{1150, 100, 600, 400}, {1150, 100, 600, 400}}, // 130 showing
        {{1200, 100, 600, 400}, {680, 100, 600, 400}},  // 80 showing
        {{100, 0, 600, 400}, {100, 30, 600, 400}},      // title bar under the bar
        {{100, 790, 600, 400}, {100, 400, 600, 400}},   // title bar below the area
        {{-100000, -100000, 100000, 100000}, {0, 30, 1280, 770}},
        {{2147483647, 2147483647, 2147483647, 2147483647}, {0, 30, 1280, 770}},
        {{0, 30, 0, 0}, {0, 30, 320, 240}},
        {{0, 30, -600, -400}, {0, 30, 320, 240}},
    };
    for (const auto& c : cases) {
        WindowBox box = SaneWindowBox(c.stored, work);
        EXPECT_EQ(c.sane.left, box.left) << c.stored.left << "," << c.stored.top;
        EXPECT_EQ(c.sane.top, box.top) << c.stored.left << "," << c.stored.top;
        EXPECT_EQ(c.sane.width, box.width) << c.stored.width;
        EXPECT_EQ(c.sane.height, box.height) << c.stored.height;
    }
}
