#include <gtest/gtest.h>

#include "settings/shortcuts.h"

TEST(ShortcutMenuText, DropsTheExtensionWhateverItsCase) {
    const struct {
        const char* file;
        const char* name;
    } cases[] = {{"Drawings.lnk", "Drawings"},
                 {"ARCHIVE.LNK", "ARCHIVE"},
                 {"Site, Plans & More.Lnk", "Site, Plans & More"},
                 {"x.lnk", "x"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.name, ShortcutMenuName(c.file)) << c.file;
    EXPECT_EQ("Drawings  (D:\\Dwg)", ShortcutMenuText("Drawings", "D:\\Dwg"));
}
