// Order keys of search results and the sort keys built on them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "filelist/sort_keys.h"
#include "search/search_keys.h"

namespace {

const std::string kZeros(20, '0');

TEST(SearchOrderKeys, RelativeToTheRootInUpperCase) {
    EXPECT_EQ("00000A.DWG", SearchOrderKey("D:\\Jobs\\a.dwg", "D:\\JOBS\\"));
    EXPECT_EQ("B1\\" + kZeros + "X.DWG", SearchOrderKey("D:\\Jobs\\B1\\x.dwg", "D:\\JOBS\\"));
    EXPECT_EQ("B1\\K\\" + kZeros + "Y.DWG", SearchOrderKey("D:\\Jobs\\B1\\K\\y.dwg", "D:\\JOBS\\"));
    // Every occurrence of the root goes, not only the leading one.
    EXPECT_EQ("X\\" + kZeros + "Z.DWG", SearchOrderKey("C:\\R\\X\\C:\\R\\z.dwg", "c:\\r\\"));
}

TEST(SearchOrderKeys, RootDrawingsThenEachFolderBeforeItsSubFolders) {
    const std::string root = "D:\\JOBS\\";
    std::vector<std::string> paths = {"D:\\Jobs\\S\\T\\e.dwg", "D:\\Jobs\\S\\d.dwg",
                                      "D:\\Jobs\\b.DWG", "D:\\Jobs\\S\\9\\f.dwg",
                                      "D:\\Jobs\\a.dwg"};
    std::sort(paths.begin(), paths.end(), [&](const std::string& a, const std::string& b) {
        return CompareKeys(SearchOrderKey(a, root), SearchOrderKey(b, root)) < 0;
    });
    std::vector<std::string> expected = {"D:\\Jobs\\a.dwg", "D:\\Jobs\\b.DWG", "D:\\Jobs\\S\\d.dwg",
                                         "D:\\Jobs\\S\\9\\f.dwg", "D:\\Jobs\\S\\T\\e.dwg"};
    EXPECT_EQ(expected, paths);
}

TEST(ResultSortKeys, EachColumnEndsInTheSearchOrder) {
    const std::string root = "D:\\JOBS\\", folder = "D:\\Jobs\\S\\";
    const std::string p = "S\\" + kZeros + "D.DWG";
    EXPECT_EQ("d.dwg", ResultSortKey(1, "d.dwg", folder, "d.dwg", root));
    EXPECT_EQ(p, ResultSortKey(2, "d.dwg", folder, folder, root));
    EXPECT_EQ("020040-" + p, ResultSortKey(3, "d.dwg", folder, "2004", root));
    EXPECT_EQ("-" + p, ResultSortKey(3, "d.dwg", folder, "Unknown Version", root));
    EXPECT_EQ(" 5-12 KB-" + p, ResultSortKey(4, "d.dwg", folder, "12 KB", root));
    EXPECT_EQ("20100307P 02:05 PM-" + p,
              ResultSortKey(5, "d.dwg", folder, "03/07/2010 02:05 PM", root));
    EXPECT_EQ("20100307A 09:15 AM-" + p,
              ResultSortKey(5, "d.dwg", folder, "03/07/2010 09:15 AM", root));
    EXPECT_EQ("RA-" + p, ResultSortKey(6, "d.dwg", folder, "RA", root));
}

TEST(ResultSortKeys, EmptyAttributesBecomeZero) {
    const std::string root = "D:\\JOBS\\";
    EXPECT_EQ("0-00000A.DWG", ResultSortKey(6, "a.dwg", "D:\\Jobs\\", "", root));
    EXPECT_EQ("0-00000A.DWG", ResultSortKey(6, "a.dwg", "D:\\Jobs\\", "  ", root));
    EXPECT_LT(CompareKeys(ResultSortKey(6, "z.dwg", "D:\\Jobs\\", "", root),
                          ResultSortKey(6, "a.dwg", "D:\\Jobs\\", "A", root)),
              0);
}

TEST(ResultHeaders, MarkOnlyTheSortColumn) {
    EXPECT_EQ("Directory ^", ResultHeaderText(2, 2, true));
    EXPECT_EQ("Filename v", ResultHeaderText(1, 1, false));
    EXPECT_EQ("Attributes", ResultHeaderText(6, 2, true));
    // Before the first search has ended nothing is marked.
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(std::string::npos, ResultHeaderText(c, 0, false).find(' ')) << c;
    EXPECT_EQ("Modified", ResultHeaderText(5, 0, true));
}

TEST(InsertionIndexes, KeepKeysInOrder) {
    std::vector<std::string> keys;
    const char* arrivals[] = {"00000B.DWG", "S\\X", "00000a.dwg", "00000C.DWG", "A\\Y", "S\\X"};
    for (const char* key : arrivals)
        keys.insert(keys.begin() + InsertionIndex(keys, key), key);
    std::vector<std::string> expected = {"00000a.dwg", "00000B.DWG", "00000C.DWG",
                                         "A\\Y",       "S\\X",       "S\\X"};
    EXPECT_EQ(expected, keys);
    // A newer equal key goes before the older ones, as the newest row does
    // when it is put at the top and the list is sorted stably.
    EXPECT_EQ(4u, InsertionIndex(keys, "s\\x"));
    EXPECT_EQ(0u, InsertionIndex({}, "x"));
    // Among ranks a search key lands where a text sort would put it.
    std::vector<std::string> ranks = {"0000", "0001", "0002"};
    EXPECT_EQ(1u, InsertionIndex(ranks, "00000A.DWG"));
    EXPECT_EQ(3u, InsertionIndex(ranks, "S\\" + kZeros + "D.DWG"));
}

} // namespace
