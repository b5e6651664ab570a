#include <gtest/gtest.h>

#include "runtime/strings.h"

namespace {

TEST(Strings, LeftRightAndMidCountFromOne) {
    EXPECT_EQ("KVX", Left("KVX.ini", 3));
    EXPECT_EQ("", Left("KVX.ini", 0));
    EXPECT_EQ("", Left("KVX.ini", -2));
    EXPECT_EQ("KVX.ini", Left("KVX.ini", 50));

    EXPECT_EQ("ini", Right("KVX.ini", 3));
    EXPECT_EQ("", Right("KVX.ini", 0));
    EXPECT_EQ("KVX.ini", Right("KVX.ini", 50));

    EXPECT_EQ("KVX", Mid("KVX.ini", 1, 3));
    EXPECT_EQ(".in", Mid("KVX.ini", 4, 3));
    EXPECT_EQ("ini", Mid("KVX.ini", 5));
    EXPECT_EQ("i", Mid("KVX.ini", 7, 10));
    EXPECT_EQ("", Mid("KVX.ini", 8));
    EXPECT_EQ("", Mid("KVX.ini", 0, 2));
    EXPECT_EQ("", Mid("KVX.ini", 3, 0));
}

TEST(Strings, TrimRemovesBlanksTabsAndLineBreaksAtBothEnds) {
    EXPECT_EQ("a \t b", Trim(" \t\r\na \t b\r\n \t"));
    EXPECT_EQ("", Trim(" \t\r\n"));
    EXPECT_EQ("", Trim(""));
    EXPECT_EQ("x", Trim("x"));
    EXPECT_EQ("5", Trim(" 5"));
}

TEST(Strings, InStrFindsFromAPositionOptionallyIgnoringCase) {
    EXPECT_EQ(3, InStr("a.dwg.dwg", "dwg"));
    EXPECT_EQ(7, InStr("a.dwg.dwg", "dwg", false, 4));
    EXPECT_EQ(7, InStr("a.dwg.dwg", "dwg", false, 7));
    EXPECT_EQ(0, InStr("a.dwg.dwg", "dwg", false, 8));
    EXPECT_EQ(0, InStr("a.dwg.dwg", "dwg", false, 40));
    EXPECT_EQ(0, InStr("A.DWG", "dwg"));
    EXPECT_EQ(3, InStr("A.DWG", "dwg", true));
    EXPECT_EQ(3, InStr("a.dwg", "DwG", true));
    EXPECT_EQ(0, InStr("a.dwg", "dxf", true));
    EXPECT_EQ(1, InStr("SHELLON", "SHELLON"));
    EXPECT_EQ(0, InStr("", "x"));
}

TEST(Strings, ReplaceAllReplacesEveryOccurrenceOnce) {
    EXPECT_EQ(std::string("a\0b\0c", 5), ReplaceAll("a|b|c", "|", std::string(1, '\0')));
    EXPECT_EQ("a b c", ReplaceAll("a|b|c", "|", " "));
    EXPECT_EQ("ba", ReplaceAll("aaa", "aa", "b"));
    EXPECT_EQ("xaaxaax", ReplaceAll("xaxax", "a", "aa"));
    EXPECT_EQ("abc", ReplaceAll("abc", "", "-"));
    EXPECT_EQ("ac", ReplaceAll("abbbc", "b", ""));
    EXPECT_EQ("", ReplaceAll("", "a", "b"));
}

TEST(Strings, UpperAndLowerCopies) {
    EXPECT_EQ("KVXBMP.BMP", Upper("KvxBmp.bmp"));
    EXPECT_EQ("kvxbmp.bmp", Lower("KvxBmp.BMP"));
}

TEST(Strings, NumberTextPutsABlankBeforeNonNegativeNumbers) {
    EXPECT_EQ(" 5", NumberText(5));
    EXPECT_EQ("-1", NumberText(-1));
    EXPECT_EQ(" 0.5", NumberText(0.5));
    EXPECT_EQ(" 0", NumberText(0));
    EXPECT_EQ(" 1234567", NumberText(1234567));
    EXPECT_EQ(" 0.3", NumberText(0.1 + 0.2)); // 15 significant digits
    EXPECT_EQ("-2.25", NumberText(-2.25));
}

TEST(Strings, GroupedDigitsInThrees) {
    EXPECT_EQ("0", GroupedDigits(0));
    EXPECT_EQ("999", GroupedDigits(999));
    EXPECT_EQ("1,000", GroupedDigits(1000));
    EXPECT_EQ("100,000", GroupedDigits(100000));
    EXPECT_EQ("1,234,567", GroupedDigits(1234567));
    EXPECT_EQ("4,294,967,296", GroupedDigits(4294967296ULL));
}

TEST(Strings, AtoILikeTheRuntime) {
    EXPECT_EQ(180, AtoI("180"));
    EXPECT_EQ(-3, AtoI(" -3"));
    EXPECT_EQ(12, AtoI("12px"));
    EXPECT_EQ(0, AtoI("wide"));
    EXPECT_EQ(0, AtoI(""));
}

} // namespace

TEST(Strings, LongTextsAreShortenedInTheMiddleWithoutCuttingACharacter) {
    EXPECT_EQ("short", ShortenedMiddle("short", 5));
    EXPECT_EQ("ab\xE2\x80\xA6yz", ShortenedMiddle("abcdefghijklmnopqrstuvwxyz", 5));
    // Three-byte characters count as one each.
    std::string chinese;
    for (int i = 0; i < 200; ++i)
        chinese += "\xE4\xB8\xAD";
    std::string shown = ShortenedMiddle(chinese, 9);
    EXPECT_EQ(std::string("\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE2\x80\xA6"
                          "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD"),
              shown);
    EXPECT_EQ("a&&b", MenuItemText("a&b"));
    EXPECT_EQ(kLongestShownLine, MenuItemText(std::string(300, 'x')).size() - 2); // "…" is 3 bytes
}
