// Drawings whose full path is longer than the byte-string calls take.
#include <gtest/gtest.h>
#include <windows.h>

#include "inspect/dwg_inspect.h"
#include "inspect/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"

namespace {

TEST(LongPaths, EveryFactOfADrawingBeyondMaxPath) {
    ScratchFolder root;
    std::string folder = MakeFolderOfLength(root, 200);
    ASSERT_FALSE(folder.empty());
    std::string path = folder + std::string(96, 'd') + ".dwg";
    ASSERT_GT(path.size(), 290u);
    DibRecipe recipe;
    recipe.width = 400;
    recipe.height = 300;
    recipe.bits = 24;
    recipe.color = [](int, int) { return 0xFFFFFFu; };
    std::string drawing = MakeDrawing("AC1015", {{2, MakeDib(recipe)}});
    ASSERT_TRUE(WriteBytes(path, drawing));

    EXPECT_TRUE(PathExists(path));
    EXPECT_EQ(KbText(drawing.size()), SizeText(path));
    EXPECT_NE("0 KB", SizeText(path));
    EXPECT_EQ(19u, ModifiedText(path).size()) << ModifiedText(path);
    EXPECT_EQ("A", AttributeText(path));
    EXPECT_EQ("2000", ReadDwgVersion(path));

    Paths.previewBitmap = root.file("KvxBmp.bmp");
    ExtractPreview(path);
    EXPECT_EQ(14 + MakeDib(recipe).size(), ReadBytes(Paths.previewBitmap).size());
}

} // namespace
