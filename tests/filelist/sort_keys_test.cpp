#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "filelist/sort_keys.h"

namespace {

// Orders (file name, column text) rows by their keys, as the list does.
std::vector<std::string> Order(int column, std::vector<std::pair<std::string, std::string>> rows) {
    std::stable_sort(rows.begin(), rows.end(), [column](const auto& a, const auto& b) {
        return CompareKeys(SortKey(column, a.first, a.second), SortKey(column, b.first, b.second)) <
               0;
    });
    std::vector<std::string> names;
    for (const auto& r : rows)
        names.push_back(r.first);
    return names;
}

TEST(SortKeys, VersionsInReleaseOrder) {
    EXPECT_EQ("000025-c.dwg", SortKey(3, "c.dwg", "2.5"));
    EXPECT_EQ("020040-a2.dwg", SortKey(3, "a2.dwg", " 2004 "));
    EXPECT_EQ("-x.dwg", SortKey(3, "x.dwg", "Unknown Version"));
    EXPECT_EQ("-x.dwg", SortKey(3, "x.dwg", "File Not Found"));
    EXPECT_EQ(
        (std::vector<std::string>{"c.dwg", "a.dwg", "a2.dwg", "b.dwg"}),
        Order(3, {{"b.dwg", "2004"}, {"c.dwg", "2.5"}, {"a.dwg", "11/12"}, {"a2.dwg", "2004"}}));
    EXPECT_EQ((std::vector<std::string>{"u.dwg", "r9.dwg", "r13.dwg", "r2010.dwg"}),
              Order(3, {{"r2010.dwg", "2010"},
                        {"r13.dwg", "13"},
                        {"u.dwg", "Unknown Version"},
                        {"r9.dwg", "9"}}));
    // The releases of today rank after 2010, 2013 before 2018.
    EXPECT_EQ((std::vector<std::string>{"r2010.dwg", "r2013.dwg", "r2018.dwg"}),
              Order(3, {{"r2018.dwg", "2018"}, {"r2010.dwg", "2010"}, {"r2013.dwg", "2013"}}));
}

TEST(SortKeys, SizesByTextLengthThenText) {
    EXPECT_EQ(" 5-12 KB-a.dwg", SortKey(4, "a.dwg", "12 KB"));
    EXPECT_EQ((std::vector<std::string>{"z.dwg", "y.dwg", "a.dwg", "b.dwg", "x.dwg"}),
              Order(4, {{"x.dwg", "1,234 KB"},
                        {"a.dwg", "12 KB"},
                        {"z.dwg", "0 KB"},
                        {"b.dwg", "12 KB"},
                        {"y.dwg", "9 KB"}}));
}

TEST(SortKeys, SizesOfTenCharactersAndMoreInNumericOrder) {
    EXPECT_EQ(" 9-99,999 KB-a.dwg", SortKey(4, "a.dwg", "99,999 KB"));
    EXPECT_EQ((std::vector<std::string>{"99999.dwg", "100000.dwg", "999999.dwg", "4194304.dwg",
                                        "4194304000.dwg"}),
              Order(4, {{"4194304000.dwg", "4,194,304,000 KB"},
                        {"100000.dwg", "100,000 KB"},
                        {"4194304.dwg", "4,194,304 KB"},
                        {"999999.dwg", "999,999 KB"},
                        {"99999.dwg", "99,999 KB"}}));
}

TEST(SortKeys, DatesByYearMonthDayThenHalfOfDay) {
    EXPECT_EQ("20081231P 11:30 PM-a.dwg", SortKey(5, "a.dwg", "12/31/2008 11:30 PM"));
    EXPECT_EQ((std::vector<std::string>{"old.dwg", "am.dwg", "pm.dwg"}),
              Order(5, {{"pm.dwg", "03/01/2009 01:00 PM"},
                        {"am.dwg", "03/01/2009 11:59 AM"},
                        {"old.dwg", "12/31/2008 11:30 PM"}}));
    EXPECT_EQ("P-e.dwg", SortKey(5, "e.dwg", "")); // an empty date gives a short key
}

// 12 o'clock begins each half of the day.
TEST(SortKeys, TwelveOClockSortsFirstInItsHalfOfTheDay) {
    EXPECT_EQ("20090301A 00:30 AM-a.dwg", SortKey(5, "a.dwg", "03/01/2009 12:30 AM"));
    EXPECT_EQ((std::vector<std::string>{"0030.dwg", "1100.dwg", "1205.dwg", "1300.dwg"}),
              Order(5, {{"1300.dwg", "03/01/2009 01:00 PM"},
                        {"1100.dwg", "03/01/2009 11:00 AM"},
                        {"1205.dwg", "03/01/2009 12:05 PM"},
                        {"0030.dwg", "03/01/2009 12:30 AM"}}));
}

TEST(SortKeys, AttributesAndNames) {
    EXPECT_EQ("RA-a.dwg", SortKey(6, "a.dwg", "RA"));
    EXPECT_EQ("B.dwg", SortKey(2, "B.dwg", "ignored"));
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "B.dwg", "c.dwg"}),
              Order(2, {{"c.dwg", ""}, {"B.dwg", ""}, {"a.dwg", ""}}));
}

TEST(SortKeys, CaseIgnoredAsTheLocaleDoes) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"ABC", "abc", 0},
        {"\xD6L.dwg", "\xF6l.dwg", 0}, // "ÖL.dwg" and "öl.dwg" in code page 1252
        {"-x", "0", -1},               // hyphen before digits
        {"ab", "abc", -1},
        {"0", "a", -1},
        {"\xE9t\xE9.dwg", "zone.dwg", -1}, // "été" among the e's
    };
    for (const auto& c : cases) {
        int order = CompareKeys(c.a, c.b);
        EXPECT_EQ(c.order, order < 0 ? -1 : order > 0) << c.a << " " << c.b;
    }
}

// The fast ordering gives exactly the order of a stable sort by CompareKeys,
// on names whose collation has pitfalls: symbols, digits, case, letters of
// the code page, the ignored soft hyphen, and equal keys (kept in order).
TEST(SortKeys, AscendingOrderIsTheOrderOfCompareKeys) {
    std::vector<std::string> keys = {"co-op.dwg",      "coop.dwg",    "co'op.dwg",
                                     "CO-OP.dwg",      "co op.dwg",   "co_op.dwg",
                                     "co~op.dwg",      "a10.dwg",     "a2.dwg",
                                     "A1.dwg",         "-x",          "0",
                                     " 5-12 KB-a.dwg", " 9~10-a.dwg", "\xE9t\xE9.dwg",
                                     "ete.dwg",        "\xC9TE.dwg",  "\xD6l.dwg",
                                     "ol.dwg",         "\xDF.dwg",    "ss.dwg",
                                     "co\xADop.dwg",   "\xAD",        "\x96.dwg",
                                     "coop.dwg",       "COOP.DWG",    ""};
    // And many short texts over the same characters, to meet every pair.
    const char alphabet[] = "aAbZ-' _.09~\xE9\xC9\xF6\xDF\xAD\x92";
    unsigned seed = 7;
    for (int i = 0; i < 400; ++i) {
        std::string key;
        for (int length = i % 5 + 1; length > 0; --length) {
            seed = seed * 1103515245u + 12345u;
            key += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
        }
        keys.push_back(key);
    }
    std::vector<int> expected(keys.size());
    for (size_t i = 0; i < expected.size(); ++i)
        expected[i] = static_cast<int>(i);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return CompareKeys(keys[a], keys[b]) < 0; });
    EXPECT_EQ(expected, AscendingOrder(keys));
}

TEST(SortKeys, RankTexts) {
    EXPECT_EQ("0000", RankText(0));
    EXPECT_EQ("0042", RankText(42));
    EXPECT_EQ("0999", RankText(999));
    EXPECT_EQ("9999", RankText(9999));
    EXPECT_EQ("10000", RankText(10000));
}

TEST(SortKeys, HeaderMarks) {
    EXPECT_EQ("Version ^", HeaderText(3, 3, true));
    EXPECT_EQ("Size v", HeaderText(4, 4, false));
    EXPECT_EQ("Filename", HeaderText(2, 4, false));
    EXPECT_EQ("Preview", HeaderText(1, 1, true));
}

} // namespace
