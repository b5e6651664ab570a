#include <gtest/gtest.h>

#include "search/release_read_ahead.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"

namespace {

// Each read gives the text of its own drawing, however often the thread is
// handed a new one; a read started over another replaces it.
TEST(ReleaseReadAhead, EachReadGivesItsOwnDrawingsText) {
    ScratchFolder folder;
    const struct {
        const char* name;
        const char* code; // none: the drawing does not exist
        const char* text;
    } cases[] = {{"a.dwg", "AC1015", "2000"},
                 {"b.dwg", "AC1009", "11/12"},
                 {"gone.dwg", nullptr, "File Not Found"},
                 {"c.dwg", "AC1032", "2018"}};
    for (const auto& c : cases)
        if (c.code) {
            ASSERT_TRUE(WriteBytes(folder.file(c.name), MakeDrawingWithoutImages(c.code)));
        }
    ReleaseReadAhead reader;
    EXPECT_FALSE(reader.pending());
    for (int round = 0; round < 50; ++round)
        for (const auto& c : cases) {
            reader.Start(folder.file(c.name));
            EXPECT_TRUE(reader.pending());
            EXPECT_EQ(folder.file(c.name), reader.path());
            EXPECT_EQ(c.text, reader.Finish()) << c.name;
            EXPECT_FALSE(reader.pending());
        }
    reader.Start(folder.file("a.dwg"));
    reader.Start(folder.file("b.dwg"));
    EXPECT_EQ("11/12", reader.Finish());
    reader.Start(folder.file("c.dwg")); // left pending: the reader still ends
}

} // namespace
