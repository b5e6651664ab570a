// PNG previews of drawings of 2013 and later: the checks made before decoding
// and the 24-bit preview bitmap written from them.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "inspect/dwg_format.h"
#include "inspect/dwg_inspect.h"
#include "inspect/png_preview.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/png_builder.h"
#include "tests/support/scratch_folder.h"

namespace {

uint32_t Colour(int x, int y) {
    const uint32_t colours[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF80, 0x2030C0, 0x808080};
    return colours[(x * 3 + y) % 6];
}

PngRecipe Recipe(int width, int height, int colourType) {
    PngRecipe r;
    r.width = width;
    r.height = height;
    r.colourType = colourType;
    r.color = [](int x, int y) { return 0xFF000000u | Colour(x, y); };
    r.palette = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF80, 0x2030C0, 0x808080};
    return r;
}

std::string GoodPng() {
    return MakePng(Recipe(7, 5, 3));
}

// The chunks of GoodPng: IHDR, PLTE, IDAT, IEND.
std::string Ihdr(uint32_t w, uint32_t h, uint8_t depth, uint8_t type, uint8_t interlace = 0) {
    return PngChunk("IHDR", PngHeaderData(w, h, depth, type, interlace));
}
std::string Idat() {
    std::string png = GoodPng();
    size_t at = png.find("IDAT") - 4;
    return png.substr(at, png.find("IEND") - 4 - at);
}
std::string Plte() {
    return PngChunk("PLTE", std::string(18, '\x40'));
}
std::string Iend() {
    return PngChunk("IEND", "");
}

TEST(PngChecks, WellFormedDataPasses) {
    PngHeader h;
    ASSERT_TRUE(CheckPngData(GoodPng(), h));
    EXPECT_EQ(7u, h.width);
    EXPECT_EQ(5u, h.height);
    EXPECT_EQ(8, h.depth);
    EXPECT_EQ(3, h.colourType);
    // Bytes after IEND, as a padded image entry may hold, do not matter.
    EXPECT_TRUE(CheckPngData(GoodPng() + std::string(30, '\0'), h));
    // The largest accepted picture.
    std::string big = PngSignature() + Ihdr(kMaxPngSide, kMaxPngSide, 8, 0) + Idat() + Iend();
    EXPECT_TRUE(CheckPngData(big, h));
}

TEST(PngChecks, DamagedOrHostileDataFails) {
    std::string good = GoodPng();
    std::string badCrc = good, badData = good, badSignature = good;
    badCrc[badCrc.find("IEND") - 1] ^= 1;       // the IDAT chunk's CRC
    badData[badData.find("IDAT") + 10] ^= 0x20; // a byte of its data
    badSignature[1] = 'p';
    std::string hugeLength = good;
    size_t idat = hugeLength.find("IDAT") - 4;
    hugeLength.replace(idat, 4, "\xFF\xFF\xFF\xF0");
    const std::string sig = PngSignature();
    const struct {
        const char* what;
        std::string png;
    } cases[] = {
        {"CRC", badCrc},
        {"data under the CRC", badData},
        {"signature", badSignature},
        {"chunk length", hugeLength},
        {"cut before IEND", good.substr(0, good.find("IEND") - 4)},
        {"cut inside IDAT", good.substr(0, good.find("IDAT") + 20)},
        {"cut inside the signature", good.substr(0, 5)},
        {"empty", ""},
        {"no IDAT", sig + Ihdr(7, 5, 8, 3) + Plte() + Iend()},
        {"IHDR not first", sig + Plte() + Ihdr(7, 5, 8, 3) + Idat() + Iend()},
        {"IHDR too short",
         sig + PngChunk("IHDR", PngHeaderData(7, 5, 8, 3).substr(0, 12)) + Idat() + Iend()},
        {"zero width", sig + Ihdr(0, 5, 8, 3) + Plte() + Idat() + Iend()},
        {"zero height", sig + Ihdr(7, 0, 8, 3) + Plte() + Idat() + Iend()},
        {"too wide", sig + Ihdr(kMaxPngSide + 1, 5, 8, 2) + Idat() + Iend()},
        {"too high", sig + Ihdr(5, kMaxPngSide + 1, 8, 2) + Idat() + Iend()},
        {"absurd size", sig + Ihdr(0x7FFFFFFF, 0x7FFFFFFF, 8, 2) + Idat() + Iend()},
        {"decodes too large", sig + Ihdr(kMaxPngSide, kMaxPngSide, 16, 6) + Idat() + Iend()},
        {"depth for the type", sig + Ihdr(7, 5, 4, 2) + Idat() + Iend()},
        {"colour type", sig + Ihdr(7, 5, 8, 5) + Idat() + Iend()},
        {"interlace method", sig + Ihdr(7, 5, 8, 2, 2) + Idat() + Iend()},
        {"IEND with data", sig + Ihdr(7, 5, 8, 2) + Idat() + PngChunk("IEND", "x")},
    };
    for (const auto& c : cases) {
        PngHeader h;
        EXPECT_FALSE(CheckPngData(c.png, h)) << c.what;
    }
}

TEST(PngChecks, EntryMustLieInsideTheFile) {
    std::string png = GoodPng();
    std::string drawing = MakeDrawing("AC1027", {{1, std::string(80, 'h')}, {6, png}});
    PngEntry entry;
    ASSERT_TRUE(FindPngEntry(MemoryReader(drawing), entry));
    EXPECT_EQ(png, drawing.substr(entry.start, entry.size));

    const size_t at = kImageBlockAddress + 21 + 9; // the second entry: code, start, size
    const uint32_t start = entry.start, size = static_cast<uint32_t>(drawing.size());
    const struct {
        const char* what;
        uint32_t start, size;
    } cases[] = {
        {"size past the end", start, static_cast<uint32_t>(png.size()) + 1},
        {"start past the end", size, 10},
        {"start far outside", 0xFFFFFFF0u, 0x20},
        {"wrapping sum", start, 0xFFFFFFFFu},
        {"empty", start, 0},
    };
    for (const auto& c : cases) {
        std::string damaged = drawing;
        PutLE32(damaged, at + 1, c.start);
        PutLE32(damaged, at + 5, c.size);
        EXPECT_FALSE(FindPngEntry(MemoryReader(damaged), entry)) << c.what;
    }
    // An entry larger than the cap, though inside the file.
    std::string large = MakeDrawing("AC1032", {{6, std::string(kMaxPngEntryBytes + 1, 'p')}});
    EXPECT_FALSE(FindPngEntry(MemoryReader(large), entry));
    // A directory cut short by the end of the file.
    EXPECT_FALSE(FindPngEntry(MemoryReader(drawing.substr(0, at + 4)), entry));
}

class PngPreview : public ::testing::Test {
  protected:
    void SetUp() override { Paths.previewBitmap = folder.file("KvxBmp.bmp"); }

    std::string Extract(const std::string& drawing) {
        std::string path = folder.file("d.dwg");
        EXPECT_TRUE(WriteBytes(path, drawing));
        ExtractPreview(path);
        return PathExists(Paths.previewBitmap) ? ReadBytes(Paths.previewBitmap) : std::string();
    }
    std::string ExtractPng(const std::string& png) {
        // A preview from an earlier drawing, which must not survive.
        EXPECT_FALSE(Extract(MakeDrawing("AC1032", {{6, GoodPng()}})).empty());
        return Extract(MakeDrawing("AC1032", {{1, std::string(80, 'h')}, {6, png}}));
    }

    ScratchFolder folder;
};

uint32_t Field(const std::string& bmp, size_t at) {
    return ReadLE32(reinterpret_cast<const uint8_t*>(bmp.data()) + at);
}

// Pixel (x, y from the top) of a 24-bit bottom-up bitmap file as 0xRRGGBB.
uint32_t PixelOf(const std::string& bmp, int x, int y) {
    int width = static_cast<int>(Field(bmp, 18)), height = static_cast<int>(Field(bmp, 22));
    size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const uint8_t* p =
        reinterpret_cast<const uint8_t*>(bmp.data()) + 54 + (height - 1 - y) * stride + 3 * x;
    return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
}

void ExpectPicture(const std::string& bmp, int width, int height,
                   const std::function<uint32_t(int, int)>& colour) {
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ("BM", bmp.substr(0, 2));
    const uint32_t stride = (width * 3 + 3) / 4 * 4;
    EXPECT_EQ(54 + stride * height, bmp.size());
    EXPECT_EQ(bmp.size(), Field(bmp, 2));
    EXPECT_EQ(54u, Field(bmp, 10));
    EXPECT_EQ(40u, Field(bmp, 14));
    ASSERT_EQ(static_cast<uint32_t>(width), Field(bmp, 18));
    ASSERT_EQ(static_cast<uint32_t>(height), Field(bmp, 22)) << "bottom-up";
    EXPECT_EQ(24, bmp[28]);
    EXPECT_EQ(0u, Field(bmp, 30));
    EXPECT_EQ(stride * height, Field(bmp, 34));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(colour(x, y), PixelOf(bmp, x, y)) << x << "," << y;
}

TEST_F(PngPreview, PngOnlyDrawingsGiveA24BitBitmapOfTheSamePicture) {
    for (int type : {3, 2}) {
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(std::to_string(type) + (interlaced ? " interlaced" : ""));
            PngRecipe r = Recipe(7, 5, type); // rows of 21 bytes, padded to 24
            r.interlaced = interlaced;
            PreviewIs8Bit = true;
            ExpectPicture(ExtractPng(MakePng(r)), 7, 5, Colour);
            EXPECT_FALSE(PreviewIs8Bit) << "the written bitmap has 24 bits";
        }
    }
}

TEST_F(PngPreview, TransparentPixelsLieOnWhite) {
    PngRecipe r = Recipe(4, 3, 6);
    r.color = [](int x, int y) { return x == 1 ? 0x00000000u : 0xFF000000u | Colour(x, y); };
    ExpectPicture(ExtractPng(MakePng(r)), 4, 3,
                  [](int x, int y) { return x == 1 ? 0xFFFFFFu : Colour(x, y); });
}

TEST_F(PngPreview, ABitmapEntryIsPreferred) {
    DibRecipe d;
    d.width = 3;
    d.height = 2;
    d.bits = 8;
    d.color = [](int, int) { return 0xFF0000u; };
    std::string dib = MakeDib(d);
    PreviewIs8Bit = false;
    std::string bmp = Extract(MakeDrawing("AC1032", {{6, GoodPng()}, {2, dib}}));
    EXPECT_EQ(dib, bmp.substr(14));
    EXPECT_TRUE(PreviewIs8Bit);
}

TEST_F(PngPreview, DamagedPngGivesNoPreview) {
    std::string good = GoodPng();
    std::string badCrc = good;
    badCrc[badCrc.find("IDAT") + 10] ^= 0x20;
    const std::string sig = PngSignature();
    // The compressed stream cut in half, in chunks whose CRCs are right.
    std::string idatData = Idat().substr(8, Idat().size() - 12);
    std::string shortStream = sig + good.substr(8, good.find("IDAT") - 12) +
                              PngChunk("IDAT", idatData.substr(0, idatData.size() / 2)) + Iend();
    // Rows for a picture of 7 x 5 under a header that claims 7 x 50.
    std::string fewRows = sig + Ihdr(7, 50, 8, 3) + good.substr(good.find("PLTE") - 4);
    // The checks before decoding (each one tested above) and what only the
    // decoder finds.
    const struct {
        const char* what;
        std::string png;
    } cases[] = {
        {"bad CRC", badCrc},
        {"too large", sig + Ihdr(kMaxPngSide, kMaxPngSide, 16, 6) + Idat() + Iend()},
        {"short stream", shortStream},
        {"too few rows", fewRows},
    };
    for (const auto& c : cases)
        EXPECT_EQ("", ExtractPng(c.png)) << c.what;

    // A declared size past the end of the drawing.
    std::string drawing = MakeDrawing("AC1032", {{6, good}});
    PutLE32(drawing, kImageBlockAddress + 21 + 5, static_cast<uint32_t>(good.size() + 100));
    EXPECT_FALSE(Extract(MakeDrawing("AC1032", {{6, good}})).empty());
    EXPECT_EQ("", Extract(drawing));
}

} // namespace
