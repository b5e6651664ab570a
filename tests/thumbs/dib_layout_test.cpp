// Finding the parts of a preview bitmap file from its info header.
#include <gtest/gtest.h>

#include <climits>

#include "inspect/dib_layout.h"
#include "inspect/dwg_format.h"
#include "tests/support/dwg_builder.h"
#include "tests/thumbs/thumb_support.h"

namespace {

// Offsets of info header fields within a bitmap file.
constexpr size_t kBiSize = 14, kWidth = 18, kHeight = 22, kBits = 28, kCompression = 30,
                 kSizeImage = 34, kClrUsed = 46;

void Put16(std::string& b, size_t at, uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

uint32_t Get32(const std::string& b, size_t at) {
    return ReadLE32(reinterpret_cast<const uint8_t*>(b.data()) + at);
}

// A bitmap file built field by field: info header of `infoSize` bytes, then
// `afterHeader` (masks, colour table), then the pixel bytes.
std::string RawBmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                   uint32_t clrUsed, const std::string& afterHeader, const std::string& pixels,
                   uint32_t infoSize = 40) {
    std::string info(infoSize, '\0');
    PutLE32(info, 0, infoSize);
    PutLE32(info, 4, static_cast<uint32_t>(width));
    PutLE32(info, 8, static_cast<uint32_t>(height));
    Put16(info, 12, 1);
    Put16(info, 14, bits);
    PutLE32(info, 16, compression);
    PutLE32(info, 32, clrUsed);
    return BmpFile(info + afterHeader + pixels);
}

std::string Table(int entries) {
    std::string t;
    for (int i = 0; i < entries; ++i)
        t += std::string{char(i), char(i * 3), char(i * 7), '\0'};
    return t;
}

std::string Ramp(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i * 13 + 1);
    return s;
}

// A small valid 8-bit bitmap: 6 x 4, full table, biClrUsed 256.
std::string ValidBmp() {
    return RawBmp(6, 4, 8, 0, 256, Table(256), Ramp(8 * 4));
}

TEST(DibLayout, ColourTableIsFoundEvenWhenTheFileHeaderCountsNone) {
    DibRecipe recipe;
    recipe.width = 10;
    recipe.height = 3;
    recipe.writeClrUsed = false;
    recipe.writeSizeImage = false;
    recipe.color = [](int x, int) { return x % 2 ? 0xFFFFFFu : 0xFF0000u; };
    std::string dib = MakeDib(recipe);
    std::string file = BmpFile(dib);
    ASSERT_EQ(54u, Get32(file, 10)); // what the file header claims

    DibPicture picture;
    ASSERT_TRUE(DecodeDibFile(file, picture));
    EXPECT_EQ(54u, picture.layout.tableOffset);
    EXPECT_EQ(256u, picture.layout.tableEntries);
    EXPECT_EQ(14u + 40 + 1024, picture.layout.pixelOffset);
    EXPECT_EQ(dib.substr(40, 1024), picture.info.substr(40));
    EXPECT_EQ(256u, Get32(picture.info, 32));
    EXPECT_EQ(dib.substr(40 + 1024), picture.rows);
}

TEST(DibLayout, ClrUsedSizesTheColourTable) {
    std::string file = RawBmp(4, 2, 8, 0, 16, Table(16), Ramp(8));
    DibPicture picture;
    ASSERT_TRUE(DecodeDibFile(file, picture));
    EXPECT_EQ(16u, picture.layout.tableEntries);
    EXPECT_EQ(14u + 40 + 64, picture.layout.pixelOffset);
    EXPECT_EQ(40u + 64, picture.info.size());
    EXPECT_EQ(Ramp(8), picture.rows);

    DibLayout l;
    EXPECT_FALSE(LocateDibParts(RawBmp(4, 2, 8, 0, 257, Table(257), Ramp(8)), l));
    EXPECT_FALSE(LocateDibParts(RawBmp(8, 1, 1, 0, 3, Table(3), Ramp(4)), l));
    EXPECT_TRUE(LocateDibParts(RawBmp(8, 1, 1, 0, 0, Table(2), Ramp(4)), l));
    EXPECT_EQ(2u, l.tableEntries);
}

TEST(DibLayout, DeepBitmapsSkipAnOptionalTableAndPassNone) {
    // 32-bit without a table, like the 2007 sample's preview.
    DibPicture picture;
    ASSERT_TRUE(DecodeDibFile(RawBmp(3, 2, 32, 0, 0, "", Ramp(24)), picture));
    EXPECT_EQ(54u, picture.layout.pixelOffset);
    EXPECT_EQ(40u, picture.info.size());

    ASSERT_TRUE(DecodeDibFile(RawBmp(3, 2, 24, 0, 2, Table(2), Ramp(24)), picture));
    EXPECT_EQ(54u + 8, picture.layout.pixelOffset);
    EXPECT_EQ(40u, picture.info.size());
    EXPECT_EQ(0u, Get32(picture.info, 32));
    EXPECT_EQ(Ramp(24), picture.rows);
}

TEST(DibLayout, BitfieldMasksAfterOrInsideTheHeader) {
    std::string masks;
    PutLE32(masks, 0, 0xF800);
    PutLE32(masks, 4, 0x07E0);
    PutLE32(masks, 8, 0x001F);

    DibPicture picture;
    ASSERT_TRUE(DecodeDibFile(RawBmp(2, 2, 16, 3, 0, masks, Ramp(8)), picture));
    EXPECT_EQ(54u, picture.layout.masksOffset);
    EXPECT_EQ(66u, picture.layout.pixelOffset);
    EXPECT_EQ(masks, picture.info.substr(40));
    EXPECT_EQ(3u, Get32(picture.info, 16));

    // A 108-byte header carries the masks itself, right after the first 40 bytes.
    std::string v4 = RawBmp(2, 2, 32, 3, 0, "", Ramp(16), 108);
    v4.replace(54, 12, masks);
    ASSERT_TRUE(DecodeDibFile(v4, picture));
    EXPECT_EQ(14u + 108, picture.layout.pixelOffset);
    EXPECT_EQ(masks, picture.info.substr(40));
    EXPECT_EQ(40u, Get32(picture.info, 0));

    DibLayout l;
    EXPECT_FALSE(LocateDibParts(RawBmp(2, 2, 24, 3, 0, masks, Ramp(16)), l));
    EXPECT_FALSE(LocateDibParts(RawBmp(2, 2, 8, 3, 0, masks + Table(256), Ramp(8)), l));
}

TEST(DibLayout, RowsArePaddedToFourBytes) {
    struct Case {
        int width;
        uint16_t bits;
        uint32_t stride;
    } cases[] = {{3, 1, 4},     {33, 1, 8},  {9, 4, 8},   {181, 8, 184},
                 {180, 8, 180}, {5, 16, 12}, {5, 24, 16}, {5, 32, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.bits) + " bits");
        int entries = c.bits <= 8 ? 1 << c.bits : 0;
        DibLayout l;
        ASSERT_TRUE(LocateDibParts(
            RawBmp(c.width, 2, c.bits, 0, 0, Table(entries), Ramp(2 * c.stride)), l));
        EXPECT_EQ(c.stride, l.stride);
    }
}

TEST(DibLayout, TopDownRowsComeOutBottomUp) {
    std::string rows = std::string(4, 'a') + std::string(4, 'b') + std::string(4, 'c');
    DibPicture picture;
    ASSERT_TRUE(DecodeDibFile(RawBmp(4, -3, 8, 0, 0, Table(256), rows), picture));
    EXPECT_TRUE(picture.layout.topDown);
    EXPECT_EQ(3, picture.layout.height);
    EXPECT_EQ(3u, Get32(picture.info, 8));
    EXPECT_EQ("ccccbbbbaaaa", picture.rows);
}

TEST(DibLayout, OnlyTheLastRowsPaddingMayBeMissing) {
    // 181 pixels of 8 bits: rows of 184 bytes, the last 3 of each padding.
    std::string full = Ramp(184 * 3);
    DibPicture picture;
    ASSERT_TRUE(
        DecodeDibFile(RawBmp(181, 3, 8, 0, 0, Table(256), full.substr(0, 184 * 2 + 181)), picture));
    EXPECT_EQ(full.substr(0, 184 * 2 + 181), picture.rows.substr(0, 184 * 2 + 181));
    EXPECT_EQ(std::string(3, '\0'), picture.rows.substr(184 * 2 + 181));

    DibLayout l;
    EXPECT_FALSE(
        LocateDibParts(RawBmp(181, 3, 8, 0, 0, Table(256), full.substr(0, 184 * 2 + 180)), l));
}

TEST(DibLayout, ClaimsOfImageAndFileSizeAreNotTrusted) {
    // Like the R14 sample: biSizeImage counts 184-byte rows, the rows are 180.
    std::string file = RawBmp(180, 116, 8, 0, 256, Table(256), Ramp(180 * 116));
    PutLE32(file, kSizeImage, 184 * 116);
    PutLE32(file, 2, 14 + 40 + 1024 + 184 * 116);
    DibPicture picture;
    ASSERT_TRUE(DecodeDibFile(file, picture));
    EXPECT_EQ(180u, picture.layout.stride);
    EXPECT_EQ(Ramp(180 * 116), picture.rows);
    EXPECT_EQ(180u * 116, Get32(picture.info, 20));
}

TEST(DibLayout, DamagedHeadersAreRejected) {
    struct Damage {
        const char* what;
        size_t at;
        uint32_t value;
    } damages[] = {
        {"biSize 0", kBiSize, 0},
        {"biSize 39", kBiSize, 39},
        {"biSize past the end", kBiSize, 0x10000},
        {"biSize huge", kBiSize, 0xFFFFFFF0u},
        {"width 0", kWidth, 0},
        {"negative width", kWidth, static_cast<uint32_t>(-6)},
        {"absurd width", kWidth, 0x7FFFFFFF},
        {"width over the limit", kWidth, kMaxDibSide + 1},
        {"height 0", kHeight, 0},
        {"lowest height", kHeight, static_cast<uint32_t>(INT_MIN)},
        {"height over the limit", kHeight, kMaxDibSide + 1},
        {"rows beyond the file", kHeight, 5},
        {"clrUsed huge", kClrUsed, 0x40000000},
        {"RLE8", kCompression, 1},
        {"RLE4", kCompression, 2},
        {"JPEG", kCompression, 4},
        {"PNG", kCompression, 5},
    };
    DibLayout l;
    ASSERT_TRUE(LocateDibParts(ValidBmp(), l));
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        std::string file = ValidBmp();
        PutLE32(file, d.at, d.value);
        EXPECT_FALSE(LocateDibParts(file, l));
        DibPicture picture;
        EXPECT_FALSE(DecodeDibFile(file, picture));
    }
    for (uint16_t bits : {0, 2, 7, 12, 48, 64}) {
        SCOPED_TRACE(bits);
        std::string file = ValidBmp();
        Put16(file, kBits, bits);
        EXPECT_FALSE(LocateDibParts(file, l));
    }

    std::string file = ValidBmp();
    // Rows of 6 pixels and 2 bytes of padding.
    EXPECT_TRUE(LocateDibParts(file.substr(0, file.size() - 2), l)) << "padding cut off";
    EXPECT_FALSE(LocateDibParts(file.substr(0, file.size() - 3), l)) << "last row cut short";
    EXPECT_FALSE(LocateDibParts(file.substr(0, 54 + 1000), l)) << "table cut short";
    EXPECT_FALSE(LocateDibParts(file.substr(0, 53), l)) << "info header cut short";
    EXPECT_FALSE(LocateDibParts("", l));
    file[0] = 'X';
    EXPECT_FALSE(LocateDibParts(file, l)) << "not a bitmap file";
}

} // namespace
