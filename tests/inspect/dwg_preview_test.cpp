#include <gtest/gtest.h>
#include <windows.h>

#include "inspect/dwg_format.h"
#include "inspect/dwg_inspect.h"
#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/stderr_capture.h"

namespace {

std::string SmallDib(int bits, bool clrUsed = true) {
    DibRecipe recipe;
    recipe.width = 6;
    recipe.height = 4;
    recipe.bits = bits;
    recipe.writeClrUsed = clrUsed;
    recipe.color = [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0x000000u; };
    return MakeDib(recipe);
}

class Preview : public ::testing::Test {
  protected:
    void SetUp() override { Paths.previewBitmap = folder.file("KvxBmp.bmp"); }

    // Writes the drawing, extracts it, and returns the preview bitmap's bytes
    // ("" when none was written).
    std::string Extract(const std::string& drawing) {
        std::string path = folder.file("d.dwg");
        EXPECT_TRUE(WriteBytes(path, drawing));
        ExtractPreview(path);
        return PathExists(Paths.previewBitmap) ? ReadBytes(Paths.previewBitmap) : std::string();
    }
    bool HasPreview() const { return PathExists(Paths.previewBitmap); }
    // Leaves a preview bitmap from an earlier drawing in place.
    void LeaveOldPreview() {
        ASSERT_FALSE(Extract(MakeDrawing("AC1015", {{2, SmallDib(8)}})).empty());
    }

    ScratchFolder folder;
};

TEST_F(Preview, BitmapAmongOtherEntriesIsWrittenWithFileHeader) {
    std::string dib = SmallDib(8);
    std::string bmp = Extract(
        MakeDrawing("AC1015", {{1, std::string(80, 'h')}, {2, dib}, {3, std::string(100, 'w')}}));
    ASSERT_EQ(14 + dib.size(), bmp.size());
    EXPECT_EQ("BM", bmp.substr(0, 2));
    EXPECT_EQ(dib, bmp.substr(14));
    EXPECT_EQ(14u + 40 + 1024, ReadLE32(reinterpret_cast<const uint8_t*>(&bmp[10])));
    EXPECT_TRUE(PreviewIs8Bit);
}

// The preview file is overwritten in place: a smaller preview after a larger
// one must leave exactly its own bytes, which are also what the call returns.
TEST_F(Preview, SmallerPreviewOverwritesALargerOneExactly) {
    std::string large = Extract(MakeDrawing("AC1015", {{2, SmallDib(8)}}));
    std::string path = folder.file("small.dwg");
    ASSERT_TRUE(WriteBytes(path, MakeDrawing("AC1015", {{2, SmallDib(24)}})));
    std::string small = ExtractPreview(path);
    ASSERT_LT(small.size(), large.size());
    EXPECT_EQ(small, ReadBytes(Paths.previewBitmap));
    EXPECT_EQ("BM", small.substr(0, 2));
}

TEST_F(Preview, NoBitmapEntryRemovesTheOldPreview) {
    LeaveOldPreview();
    EXPECT_EQ("", Extract(MakeDrawing("AC1015", {{1, "header"}, {3, "metafile"}})));
    LeaveOldPreview();
    EXPECT_EQ("", Extract(MakeDrawing("AC1015", {})));
    LeaveOldPreview();
    EXPECT_EQ("", Extract(MakeDrawingWithoutImages("AC1009")));
}

TEST_F(Preview, OnlyTheFirstOfTwoBitmapsIsWritten) {
    std::string first = SmallDib(24), second = SmallDib(8);
    PreviewIs8Bit = true;
    std::string bmp = Extract(MakeDrawing("AC1021", {{2, first}, {2, second}}));
    EXPECT_EQ(first, bmp.substr(14));
    EXPECT_FALSE(PreviewIs8Bit);
}

TEST_F(Preview, NoBitmapLeavesPreviewIs8BitAlone) {
    PreviewIs8Bit = true;
    Extract(MakeDrawing("AC1015", {{1, "x"}}));
    EXPECT_TRUE(PreviewIs8Bit);
    PreviewIs8Bit = false;
    Extract(MakeDrawing("AC1015", {{1, "x"}}));
    EXPECT_FALSE(PreviewIs8Bit);
}

// A 40-byte header with the given fields, then filler up to the entry size.
std::string HeaderOnly(uint16_t bits, uint32_t clrUsed, uint32_t sizeImage, size_t total) {
    std::string dib(total, '\x55');
    PutLE32(dib, 0, 40);
    PutLE32(dib, 4, 100); // 100 x 40: 4000 bytes of 8-bit rows
    PutLE32(dib, 8, 40);
    dib[14] = static_cast<char>(bits);
    dib[15] = 0;
    PutLE32(dib, 20, sizeImage);
    PutLE32(dib, 32, clrUsed);
    return dib;
}

TEST_F(Preview, FileHeaderSumsComeFromTheInfoHeader) {
    std::string bmp = Extract(MakeDrawing("AC1015", {{2, HeaderOnly(8, 256, 4000, 5064)}}));
    const uint8_t* b = reinterpret_cast<const uint8_t*>(bmp.data());
    EXPECT_EQ(5078u, ReadLE32(b + 2));
    EXPECT_EQ(0u, ReadLE32(b + 6)); // both reserved words
    EXPECT_EQ(1078u, ReadLE32(b + 10));
    EXPECT_EQ(5078u, bmp.size());

    // Without biClrUsed the colour table is not counted, though it is written.
    bmp = Extract(MakeDrawing("AC1015", {{2, HeaderOnly(8, 0, 4000, 5064)}}));
    b = reinterpret_cast<const uint8_t*>(bmp.data());
    EXPECT_EQ(4054u, ReadLE32(b + 2));
    EXPECT_EQ(54u, ReadLE32(b + 10));
    EXPECT_EQ(5078u, bmp.size());
    // A picture handed to a browser counts the table, and nothing else moves.
    std::string counted = WithColourTableCounted(bmp);
    EXPECT_EQ(5078u, ReadLE32(reinterpret_cast<const uint8_t*>(counted.data()) + 2));
    EXPECT_EQ(1078u, ReadLE32(reinterpret_cast<const uint8_t*>(counted.data()) + 10));
    EXPECT_EQ(bmp.substr(14), counted.substr(14));

    // Without biSizeImage bfSize equals bfOffBits.
    bmp = Extract(MakeDrawing("AC1015", {{2, HeaderOnly(24, 0, 0, 200)}}));
    b = reinterpret_cast<const uint8_t*>(bmp.data());
    EXPECT_EQ(54u, ReadLE32(b + 2));
    EXPECT_EQ(54u, ReadLE32(b + 10));
    EXPECT_FALSE(PreviewIs8Bit);
    EXPECT_EQ(bmp, WithColourTableCounted(bmp)); // no table to count
}

TEST_F(Preview, ShortAndEmptyFilesGiveNothing) {
    for (size_t length : {0, 1, 5, 13, 16}) {
        LeaveOldPreview();
        EXPECT_EQ("", Extract(std::string("AC1015AAAAAAAAAAAAAAA").substr(0, length)))
            << length << " bytes";
    }
}

TEST_F(Preview, DamagedBitmapEntriesGiveNothing) {
    std::string good = MakeDrawing("AC1015", {{2, SmallDib(8)}});
    size_t entry = kImageBlockAddress + 21; // code, start, size
    std::string zeroSize = good, hugeSize = good, startOutside = good, startFar = good;
    PutLE32(zeroSize, entry + 5, 0);
    PutLE32(hugeSize, entry + 5, 0xFFFFFF00u);
    PutLE32(startOutside, entry + 1, static_cast<uint32_t>(good.size()));
    PutLE32(startFar, entry + 1, 0xFFFFFFF0u);
    for (const std::string* drawing : {&zeroSize, &hugeSize, &startOutside, &startFar}) {
        LeaveOldPreview();
        EXPECT_EQ("", Extract(*drawing));
    }
}

TEST_F(Preview, DataRunningPastTheEndIsPaddedWithZeros) {
    std::string dib = SmallDib(24);
    std::string drawing = MakeDrawing("AC1015", {{2, dib}}); // the bitmap ends the file
    uint32_t overrun = static_cast<uint32_t>(dib.size()) + 50;
    PutLE32(drawing, kImageBlockAddress + 21 + 5, overrun);
    std::string bmp = Extract(drawing);
    ASSERT_EQ(14u + overrun, bmp.size());
    EXPECT_EQ(dib, bmp.substr(14, dib.size()));
    EXPECT_EQ(std::string(50, '\0'), bmp.substr(14 + dib.size()));

    // Only a preview whose pixels are all in the drawing is shown: one cut
    // short is none, and its thumbnail shows Preview Not Found.
    std::vector<uint8_t> cell;
    for (size_t cut : {0, 20}) {
        std::string whole = MakeDrawing("AC1015", {{2, dib}});
        EXPECT_EQ(cut == 0, !Extract(whole.substr(0, whole.size() - cut)).empty()) << cut;
        EXPECT_EQ(
            cut ? CellKind::kNotFound : CellKind::kCell,
            ThumbnailCellOf(ReadDrawingAlone(folder.file("d.dwg"), true), false, 12, 8, 0, cell))
            << cut << " bytes cut";
    }
}

// A bitmap entry claiming far more than any preview, inside a drawing large
// enough to hold it, gives no preview rather than a temporary bitmap of
// hundreds of megabytes that cannot be loaded.
TEST_F(Preview, HugeBitmapEntryGivesNothing) {
    LeaveOldPreview();
    std::string drawing = MakeDrawing("AC1015", {{2, SmallDib(8)}});
    const uint32_t huge = 300u << 20;
    PutLE32(drawing, kImageBlockAddress + 21 + 5, huge);
    std::string path = folder.file("huge.dwg");
    ASSERT_TRUE(WriteBytes(path, drawing));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LONG high = 0;
    SetFilePointer(h, static_cast<LONG>(huge + 4096), &high, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(h)); // sparse where the system allows
    CloseHandle(h);
    ExtractPreview(path);
    EXPECT_FALSE(HasPreview());
}

TEST_F(Preview, LockedDrawingGivesNoPreviewAndIsNotFatal) {
    LeaveOldPreview();
    std::string path = folder.file("locked.dwg");
    ASSERT_TRUE(WriteBytes(path, MakeDrawing("AC1015", {{2, SmallDib(8)}})));
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    StderrCapture err;
    ExtractPreview(path);
    EXPECT_EQ("", err.finish()); // reading its release has told
    EXPECT_FALSE(HasPreview());
    CloseHandle(lock);
}

TEST_F(Preview, MissingDrawingLeavesNoStalePreview) {
    LeaveOldPreview();
    ExtractPreview(folder.file("absent.dwg"));
    EXPECT_FALSE(HasPreview());
}

} // namespace
