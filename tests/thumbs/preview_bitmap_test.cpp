// Loading previews, the black-background swap, scaling and the list's
// thumbnails, on real bitmaps and a real image list.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "inspect/dib_layout.h"
#include "inspect/dwg_format.h"
#include "inspect/dwg_inspect.h"
#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/win_helpers.h"
#include "tests/support/dwg_builder.h"
#include "tests/thumbs/thumb_support.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kNearWhite = 0xFEFFFF, kRed = 0xFF0000,
                   kBlue = 0x0000FF;

// White paper with black corners, a black line, an almost-white column and
// coloured lines: every case the swap must tell apart.
uint32_t Sheet(int x, int y) {
    bool cornerX = x == 0 || x == 179, cornerY = y == 0 || y == 114;
    if (cornerX && cornerY) return kBlack;
    if (y == 20 || x == 100) return kBlack;
    if (x == 30) return kNearWhite;
    if (y == 60) return kRed;
    if (x == 140) return kBlue;
    return kWhite;
}

uint32_t Swapped(uint32_t c) {
    return c == kWhite ? kBlack : c == kBlack ? kWhite : c;
}

uint32_t SwappedSheet(int x, int y) {
    return Swapped(Sheet(x, y));
}

std::string SheetDib(int bits) {
    DibRecipe recipe;
    recipe.width = 180;
    recipe.height = 115;
    recipe.bits = bits;
    recipe.color = Sheet;
    return MakeDib(recipe);
}

Pixels SheetPixels() {
    return PixelsOf(180, 115, Sheet);
}
Pixels SwappedSheetPixels() {
    return PixelsOf(180, 115, SwappedSheet);
}

// A bitmap without file header: width x height at `bits`, the colour table
// and rows as given.
std::string LowBitDib(int width, int height, int bits, const std::string& table,
                      const std::string& rows) {
    std::string info(40, '\0');
    PutLE32(info, 0, 40);
    PutLE32(info, 4, width);
    PutLE32(info, 8, height);
    info[12] = 1;
    info[14] = static_cast<char>(bits);
    PutLE32(info, 32, static_cast<uint32_t>(table.size() / 4));
    return info + table + rows;
}

// 1 bit per pixel with a two-colour table (red, white): 16 pixels per row.
std::string MonoDib() {
    return LowBitDib(16, 2, 1,
                     std::string("\x00\x00\xFF\x00", 4) + std::string("\xFF\xFF\xFF\x00", 4),
                     std::string("\xF0\x0F\x00\x00", 4) + std::string("\x80\x01\x00\x00", 4));
}

// A loaded preview of the sheet, for calling the bitmap routines directly.
class LoadedPreview : public ThumbnailTest {
  protected:
    HBITMAP Load(int bits) {
        EXPECT_TRUE(WriteBytes(Paths.previewBitmap, BmpFile(SheetDib(bits))));
        return LoadPreviewBitmap(Paths.previewBitmap);
    }
};

TEST_F(LoadedPreview, DecodesToThePictureAsStored) {
    for (int bits : {8, 24, 32}) {
        SCOPED_TRACE(bits);
        GdiObject<HBITMAP> bitmap(Load(bits));
        ASSERT_NE(nullptr, bitmap.get());
        EXPECT_EQ(SheetPixels(), ReadPixels(bitmap.get()));
    }
}

TEST_F(LoadedPreview, TopDownAndLowBitCountsDecodeTheSamePicture) {
    // Top-down: negative height, first stored row at the top.
    std::string dib = SheetDib(24);
    uint32_t stride = 180 * 3;
    std::string flipped = dib.substr(0, 40);
    for (int row = 114; row >= 0; --row)
        flipped += dib.substr(40 + row * stride, stride);
    PutLE32(flipped, 8, static_cast<uint32_t>(-115));
    ASSERT_TRUE(WriteBytes(Paths.previewBitmap, BmpFile(flipped)));
    GdiObject<HBITMAP> topDown(LoadPreviewBitmap(Paths.previewBitmap));
    EXPECT_EQ(SheetPixels(), ReadPixels(topDown.get()));

    ASSERT_TRUE(WriteBytes(Paths.previewBitmap, BmpFile(MonoDib())));
    GdiObject<HBITMAP> mono(LoadPreviewBitmap(Paths.previewBitmap));
    // Bottom-up: the second stored row is the top one.
    Pixels expected = PixelsOf(16, 2, [](int x, int y) {
        bool set = y == 0 ? (x == 0 || x == 15) : (x < 4 || x >= 12);
        return set ? kWhite : kRed;
    });
    EXPECT_EQ(expected, ReadPixels(mono.get()));
}

// The thumbnails convert the usual kinds of preview themselves; the result
// must be what the system's conversion gives.
TEST_F(LoadedPreview, OwnConversionMatchesTheSystems) {
    std::string fourBit = LowBitDib(5, 1, 4, std::string("\x10\x20\x30\x00\xFF\x00\x00\x00", 8),
                                    std::string("\x01\x10\x10\x00", 4));
    for (const std::string& dib : {SheetDib(8), SheetDib(24), SheetDib(32), MonoDib(), fourBit}) {
        DibPicture picture;
        ASSERT_TRUE(DecodeDibFile(BmpFile(dib), picture));
        std::vector<uint8_t> own;
        ASSERT_TRUE(DibPixels32(picture, own));

        int width = picture.layout.width, height = picture.layout.height;
        SCOPED_TRACE(std::to_string(width) + " wide at " + std::to_string(picture.layout.bits));
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof bi.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        GdiObject<HBITMAP> section(
            CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        MemoryDC dc;
        ASSERT_EQ(height, SetDIBits(dc.get(), section.get(), 0, height, picture.rows.data(),
                                    reinterpret_cast<const BITMAPINFO*>(picture.info.data()),
                                    DIB_RGB_COLORS));
        GdiFlush();
        const uint8_t* system = static_cast<const uint8_t*>(bits);
        for (size_t i = 0; i < own.size(); i += 4)
            ASSERT_TRUE(std::equal(&own[i], &own[i] + 3, system + i)) << "pixel " << i / 4;
    }
}

TEST_F(LoadedPreview, BothSwapRoutesChangeExactlyTheBlackAndWhitePixels) {
    GdiObject<HBITMAP> direct(Load(8));
    ASSERT_NE(nullptr, direct.get());
    EXPECT_EQ(direct.get(), SwapBlackWhite(direct.get()));
    EXPECT_EQ(SwappedSheetPixels(), ReadPixels(direct.get()));

    // This system's route: the raster one on NT 4.0 and later.
    PreviewIs8Bit = true;
    GdiObject<HBITMAP> original(Load(8));
    HBITMAP adapted = AdaptPreviewColours(original.get());
    GdiObject<HBITMAP> replacement(adapted != original.get() ? adapted : nullptr);
    EXPECT_EQ(OsVersionCode() > 4, replacement.get() != nullptr);
    EXPECT_EQ(ReadPixels(direct.get()), ReadPixels(adapted));
}

TEST_F(LoadedPreview, OnlyEightBitPreviewsAreAdapted) {
    PreviewIs8Bit = false;
    GdiObject<HBITMAP> bitmap(Load(24));
    EXPECT_EQ(bitmap.get(), AdaptPreviewColours(bitmap.get()));
    EXPECT_EQ(SheetPixels(), ReadPixels(bitmap.get()));
    EXPECT_EQ(nullptr, AdaptPreviewColours(nullptr));
    EXPECT_EQ(nullptr, SwapBlackWhite(nullptr));
}

TEST_F(LoadedPreview, ScalingKeepsProportionsWithTruncation) {
    struct Case {
        int width, height, wantWidth, wantHeight;
    } cases[] = {{200, 0, 200, 127}, {180, 0, 180, 115}, {90, 0, 90, 57},
                 {0, 127, 198, 127}, {0, 115, 180, 115}, {60, 40, 60, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        GdiObject<HBITMAP> source(Load(8));
        GdiObject<HBITMAP> scaled(ScaleBitmap(source.get(), c.width, c.height, 0));
        BITMAP info = {};
        ASSERT_TRUE(GetObjectA(scaled.get(), sizeof info, &info));
        EXPECT_EQ(c.wantWidth, info.bmWidth);
        EXPECT_EQ(c.wantHeight, info.bmHeight);
    }
    EXPECT_EQ(nullptr, ScaleBitmap(nullptr, 180, 0, LR_COPYDELETEORG));

    // Same size: the copy is the picture unchanged, and the original is gone.
    HBITMAP source = Load(8);
    GdiObject<HBITMAP> copy(ScaleBitmap(source, 180, 0, LR_COPYDELETEORG));
    EXPECT_EQ(SheetPixels(), ReadPixels(copy.get()));
    BITMAP info = {};
    if (copy.get() != source) {
        EXPECT_EQ(0, GetObjectA(source, sizeof info, &info));
    }
}

// A 600-pixel preview with one-pixel lines at x = 5, 15, 25, ...: shrunk to
// 180 by dropping pixels, every line falls between the columns kept.
TEST_F(LoadedPreview, ShrinkingKeepsThinLines) {
    DibRecipe recipe;
    recipe.width = 600;
    recipe.height = 40;
    recipe.bits = 24;
    recipe.color = [](int x, int) { return x % 10 == 5 ? 0x000000u : 0xFFFFFFu; };
    ASSERT_TRUE(WriteBytes(Paths.previewBitmap, BmpFile(MakeDib(recipe))));
    GdiObject<HBITMAP> scaled(
        ScaleBitmap(LoadPreviewBitmap(Paths.previewBitmap), 180, 0, LR_COPYDELETEORG));
    Pixels shown = ReadPixels(scaled.get());
    ASSERT_EQ(180, shown.width);
    ASSERT_EQ(12, shown.height);
    int greyColumns = 0;
    for (int x = 0; x < 180; ++x)
        if ((shown.at(x, 6) & 0xFF) < 0xE0) ++greyColumns;
    EXPECT_GE(greyColumns, 55) << "of 60 lines";
}

TEST_F(LoadedPreview, MissingOrDamagedFileLoadsNothing) {
    EXPECT_EQ(nullptr, LoadPreviewBitmap(temp.file("none.bmp")));
    std::string file = BmpFile(SheetDib(8));
    PutLE32(file, 14, 0); // biSize 0
    ASSERT_TRUE(WriteBytes(Paths.previewBitmap, file));
    EXPECT_EQ(nullptr, LoadPreviewBitmap(Paths.previewBitmap));
}

// The list's thumbnails.
class ListThumbnail : public ThumbnailTest {
  protected:
    // Runs the thumbnail for a drawing of the listed folder and returns the
    // name buffer as the call left it.
    std::string Thumbnail(const std::string& name) {
        std::string buffer = name;
        ReadDwgVersion(buffer);
        MakeListThumbnail(buffer);
        return buffer;
    }
    Pixels Current() { return CropCentered(ReadImage(Thumbs.images, Thumbs.current), 180, 115); }
};

TEST_F(ListThumbnail, PreviewIsAddedAsStoredWhenTheBackgroundIsWhite) {
    PutDrawing("Plan.dwg", MakeDrawing("AC1015", {{1, std::string(80, 'h')}, {2, SheetDib(8)}}));
    std::string buffer = Thumbnail("Plan.dwg");
    EXPECT_EQ(Folder() + "\\Plan.dwg", buffer);
    EXPECT_TRUE(PreviewFound);
    EXPECT_EQ(3, Thumbs.current);
    EXPECT_EQ(4, ImageCount());
    EXPECT_EQ(SheetPixels(), Current());
}

TEST_F(ListThumbnail, EightBitPreviewOnBlackBackgroundTradesBlackAndWhite) {
    BlackBackground = true;
    PutDrawing("Plan.dwg", MakeDrawing("AC1018", {{2, SheetDib(8)}}));
    Thumbnail("Plan.dwg");
    ASSERT_TRUE(PreviewIs8Bit);
    Pixels shown = Current();
    EXPECT_EQ(SwappedSheetPixels(), shown);
    EXPECT_EQ(kWhite, shown.at(0, 0)) << "corner";
    EXPECT_EQ(kWhite, shown.at(179, 114)) << "corner";
    EXPECT_EQ(kBlack, shown.at(1, 1)) << "paper";
    EXPECT_EQ(kNearWhite, shown.at(30, 1)) << "almost white";
    EXPECT_EQ(kRed, shown.at(1, 60));
    EXPECT_EQ(kBlack, ReadImage(Thumbs.images, Thumbs.current).at(90, 0)) << "cell above";
}

TEST_F(ListThumbnail, ThumbnailIsCentredOnTheListBackground) {
    PutDrawing("Plan.dwg", MakeDrawing("AC1015", {{2, SheetDib(8)}}));
    Thumbnail("Plan.dwg");
    Pixels cell = ReadImage(Thumbs.images, Thumbs.current);
    ASSERT_EQ(144, cell.height);
    COLORREF window = GetSysColor(COLOR_WINDOW);
    uint32_t background = GetRValue(window) << 16 | GetGValue(window) << 8 | GetBValue(window);
    // 115 rows of picture leave 14 rows above and 15 below.
    EXPECT_EQ(background, cell.at(90, 0));
    EXPECT_EQ(background, cell.at(90, 13));
    EXPECT_EQ(background, cell.at(90, 143));
    EXPECT_EQ(SheetPixels(), CropCentered(cell, 180, 115));
}

TEST_F(ListThumbnail, TallPreviewFitsTheCellHeight) {
    DibRecipe recipe;
    recipe.width = 60;
    recipe.height = 120;
    recipe.bits = 24;
    recipe.color = [](int, int) { return 0xFF0000u; };
    PutDrawing("Tower.dwg", MakeDrawing("AC1015", {{2, MakeDib(recipe)}}));
    Thumbnail("Tower.dwg");
    Pixels cell = ReadImage(Thumbs.images, Thumbs.current);
    EXPECT_EQ(0xFF0000u, cell.at(90, 0));   // top row of the picture
    EXPECT_EQ(0xFF0000u, cell.at(90, 143)); // bottom row, not cut off
    EXPECT_NE(0xFF0000u, cell.at(10, 72));  // beside the picture
}

TEST_F(ListThumbnail, DeepPreviewIsNeverAdapted) {
    BlackBackground = true;
    for (int bits : {24, 32}) {
        SCOPED_TRACE(bits);
        PutDrawing("Render.dwg", MakeDrawing("AC1021", {{2, SheetDib(bits)}}));
        Thumbnail("Render.dwg");
        EXPECT_FALSE(PreviewIs8Bit);
        EXPECT_TRUE(PreviewFound);
        EXPECT_EQ(SheetPixels(), Current());
    }
}

TEST_F(ListThumbnail, ThumbnailTakesTheListsWidth) {
    // The list build makes the image list's cells as wide as the column.
    Settings.thumbWidth = 90;
    Settings.thumbHeight = 72;
    ImageList_Destroy(Thumbs.images);
    Thumbs.images = ImageList_Create(90, 72, ILC_COLOR24, 0, 8);
    PutDrawing("Plan.dwg", MakeDrawing("AC1015", {{2, SheetDib(8)}}));
    Thumbnail("Plan.dwg");
    EXPECT_EQ(0, Thumbs.current);
    EXPECT_EQ(1, ImageCount());
    // Scaled by half: the 180 x 115 sheet becomes 90 x 57, its one-pixel
    // lines may be blended with the paper.
    Pixels shown = CropCentered(ReadImage(Thumbs.images, Thumbs.current), 90, 57);
    // Averaged with the paper, such a line shows at least mid grey.
    auto dark = [](uint32_t c) { return (c & 0xFF) <= 0xA0; };
    EXPECT_EQ(kWhite, shown.at(45, 5));
    EXPECT_TRUE(dark(shown.at(50, 5)) || dark(shown.at(49, 5))) << "the line at x 100";
    EXPECT_TRUE(dark(shown.at(45, 10)) || dark(shown.at(45, 9))) << "the line at y 20";
    EXPECT_FALSE(dark(shown.at(45, 56))) << "the bottom row of paper";
}

TEST_F(ListThumbnail, NoPreviewShowsThePlaceholderOfTheRelease) {
    PutDrawing("Old.dwg", MakeDrawingWithoutImages("AC1009"));
    PreviewFound = true;
    EXPECT_EQ(Folder() + "\\Old.dwg", Thumbnail("Old.dwg"));
    EXPECT_EQ(Thumbs.notSupported, Thumbs.current);
    EXPECT_FALSE(PreviewFound);

    PutDrawing("Plain.dwg", MakeDrawing("AC1015", {{1, std::string(80, 'h')}}));
    PreviewFound = true;
    EXPECT_EQ(Folder() + "\\Plain.dwg", Thumbnail("Plain.dwg"));
    EXPECT_EQ(Thumbs.notFound, Thumbs.current);
    EXPECT_FALSE(PreviewFound);
    EXPECT_EQ(3, ImageCount()) << "placeholders add no image";
}

TEST_F(ListThumbnail, PreviewOfAnEarlierDrawingNeverAnswersForTheNext) {
    PutDrawing("Plan.dwg", MakeDrawing("AC1015", {{2, SheetDib(8)}}));
    Thumbnail("Plan.dwg");
    ASSERT_TRUE(PreviewFound);
    PutDrawing("Plain.dwg", MakeDrawing("AC1015", {}));
    Thumbnail("Plain.dwg");
    EXPECT_FALSE(PreviewFound);
    EXPECT_EQ(Thumbs.notFound, Thumbs.current);
    EXPECT_FALSE(PathExists(Paths.previewBitmap));
}

// A drawing gone since the folder was read never shows the image the one
// before it left.
TEST_F(ListThumbnail, VanishedFileShowsPreviewNotFound) {
    Thumbs.current = 7;
    PreviewFound = true;
    EXPECT_EQ("Gone.dwg", Thumbnail("Gone.dwg"));
    EXPECT_EQ(Thumbs.notFound, Thumbs.current);
    EXPECT_FALSE(PreviewFound);
    EXPECT_EQ(3, ImageCount());
}

// A damaged bitmap shows the Preview Not Found placeholder, never an empty
// cell, on either background.
TEST_F(ListThumbnail, DamagedPreviewShowsPreviewNotFound) {
    std::string good = SheetDib(8);
    struct Damage {
        const char* what;
        size_t offset; // into the info header; the size of the cut for "truncated"
        uint32_t value;
    } damages[] = {
        {"truncated", 500, 0},           {"width of 5000", 4, 5000},
        {"height of 4100", 8, 4100},     {"width beyond any", 4, 0x7FFFFFFF},
        {"no header size", 0, 0},        {"run-length compression", 16, 1},
        {"unknown compression", 16, 77}, {"huge colour count", 32, 0x40000000},
    };
    for (bool black : {false, true}) {
        BlackBackground = black;
        for (const Damage& damage : damages) {
            SCOPED_TRACE(damage.what);
            std::string dib = good;
            if (std::string(damage.what) == "truncated")
                dib.resize(good.size() - damage.offset);
            else
                PutLE32(dib, damage.offset, damage.value);
            PutDrawing("Broken.dwg", MakeDrawing("AC1015", {{2, dib}}));
            Thumbs.current = 0;
            EXPECT_EQ(Folder() + "\\Broken.dwg", Thumbnail("Broken.dwg"));
            EXPECT_EQ(Thumbs.notFound, Thumbs.current);
            EXPECT_EQ(3, ImageCount());
        }
    }
}

} // namespace
