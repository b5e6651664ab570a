#include <gtest/gtest.h>

#include "filelist/listing_rules.h"

TEST(ListingSummary, OneExtension) {
    ListCounters c;
    c.listed = 5;
    c.drawings = 7;
    c.remaining = 10;
    c.folders = 3;
    EXPECT_EQ(" 5 Filtered DWG File(s) + 2 Other DWG File(s) + 10 Remaining File(s) + 3 "
              "Folder(s)  =  20 Total Object(s) Found",
              ListingSummary(c, ".DWG"));
}
