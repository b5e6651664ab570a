// The previews of the real drawings shared beside the project: every one
// decodes to its true picture, including the R14 files whose headers mislead.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "inspect/dwg_format.h"
#include "inspect/dwg_inspect.h"
#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/sample_dwg.h"
#include "tests/thumbs/thumb_support.h"

namespace {

struct SampleRow {
    std::string file, hasBitmap;
    int width = 0, height = 0, bits = 0;
};

std::vector<SampleRow> ReadSamples(const std::string& folder) {
    std::vector<SampleRow> rows;
    for (const std::vector<std::string>& f : ReadManifestRows(folder)) {
        if (f.size() < 8) continue;
        SampleRow row;
        row.file = f[0];
        row.hasBitmap = f[4];
        row.width = std::atoi(f[5].c_str());
        row.height = std::atoi(f[6].c_str());
        row.bits = std::atoi(f[7].c_str());
        rows.push_back(row);
    }
    return rows;
}

uint32_t Get32(const std::string& b, size_t at) {
    return at + 4 <= b.size() ? ReadLE32(reinterpret_cast<const uint8_t*>(b.data()) + at) : 0;
}

// The picture of an 8-bit or 32-bit bottom-up preview file, read directly:
// rows start `pixelOffset` bytes into the file.
Pixels Expected(const std::string& bmp, size_t pixelOffset) {
    int width = static_cast<int>(Get32(bmp, 18)), height = static_cast<int>(Get32(bmp, 22));
    int bits = static_cast<uint8_t>(bmp[28]);
    size_t table = 14 + Get32(bmp, 14);
    size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    return PixelsOf(width, height, [&](int x, int y) {
        size_t row = pixelOffset + (height - 1 - y) * stride;
        if (bits == 8) {
            uint8_t index = static_cast<uint8_t>(bmp[row + x]);
            return Get32(bmp, table + 4u * index) & 0xFFFFFF;
        }
        return Get32(bmp, row + 4u * x) & 0xFFFFFF;
    });
}

size_t DistinctColours(const Pixels& p) {
    return std::set<uint32_t>(p.rgb.begin(), p.rgb.end()).size();
}

class SamplePreviews : public ThumbnailTest {
  protected:
    void SetUp() override {
        ThumbnailTest::SetUp();
        samples = SampleDrawingFolder();
        if (samples.empty()) GTEST_SKIP() << "no shared drawings in this run";
        folder = Unslashed(samples);
        SetCurrentFolder(folder);
        ASSERT_TRUE(SetCurrentDirectoryA(samples.c_str()));
    }
    // Thumbnail of one sample, then its preview bitmap file's bytes.
    std::string Thumbnail(const std::string& file) {
        std::string buffer = file;
        ReadDwgVersion(buffer);
        MakeListThumbnail(buffer);
        EXPECT_EQ(folder + "\\" + file, buffer);
        return ReadBytes(Paths.previewBitmap);
    }
    std::string samples, folder;
};

TEST_F(SamplePreviews, EveryBitmapDecodesToItsTruePicture) {
    int checked = 0;
    for (const SampleRow& row : ReadSamples(samples)) {
        if (row.hasBitmap != "yes") continue;
        SCOPED_TRACE(row.file);
        ++checked;
        int before = ImageCount();
        std::string bmp = Thumbnail(row.file);
        EXPECT_TRUE(PreviewFound);
        EXPECT_EQ(before, Thumbs.current) << "thumbnail added to the image list";
        EXPECT_EQ(before + 1, ImageCount());

        GdiObject<HBITMAP> bitmap(LoadPreviewBitmap(Paths.previewBitmap));
        ASSERT_NE(nullptr, bitmap.get());
        Pixels decoded = ReadPixels(bitmap.get());
        EXPECT_EQ(row.width, decoded.width);
        EXPECT_EQ(row.height, decoded.height);

        uint32_t clrUsed = Get32(bmp, 46);
        uint32_t entries = row.bits == 8 ? (clrUsed ? clrUsed : 256) : 0;
        Pixels expected = Expected(bmp, 14 + 40 + 4 * entries);
        EXPECT_TRUE(expected == decoded) << "picture differs from the stored rows";
        EXPECT_GT(DistinctColours(decoded), 1u) << "a blank picture";
    }
    EXPECT_EQ(9, checked);
}

// The listing reads each drawing once for its release and preview; that must
// give what reading the two apart gives, preview file included.
TEST_F(SamplePreviews, OneReadGivesWhatTwoReadsGave) {
    DibRecipe large; // past the first block the read takes at once
    large.width = 400;
    large.height = 300;
    large.bits = 24;
    large.color = [](int x, int y) { return static_cast<uint32_t>(x * 977 + y * 131) & 0xFFFFFF; };
    ASSERT_TRUE(WriteBytes(temp.file("large.dwg"), MakeDrawing("AC1018", {{2, MakeDib(large)}})));
    std::vector<std::string> paths = {temp.file("large.dwg"), temp.file("missing.dwg")};
    for (const SampleRow& row : ReadSamples(samples))
        paths.push_back(samples + row.file);
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        std::string apartVersion = ReadDwgVersion(path);
        bool apartSupported = PreviewSupported;
        std::string apartPreview = ExtractPreview(path);
        std::string apartFile = ReadBytes(Paths.previewBitmap);
        ASSERT_TRUE(WriteBytes(Paths.previewBitmap, "stale"));

        DrawingRead once = ReadDrawing(path, true);
        EXPECT_EQ(apartVersion, once.version);
        EXPECT_EQ(apartSupported, PreviewSupported);
        EXPECT_EQ(apartPreview, once.preview);
        if (PathExists(path)) {
            EXPECT_EQ(apartFile, ReadBytes(Paths.previewBitmap));
        }
    }
    EXPECT_EQ(400u * 300 * 3, ExtractPreview(temp.file("large.dwg")).size() - 54);
}

TEST_F(SamplePreviews, PaletteAfterAHeaderThatCountsNoneIsNotTakenForPixels) {
    std::string bmp = Thumbnail("ixmilia_R14.dwg");
    ASSERT_EQ(14u + 40 + 1024 + 512 * 512, bmp.size());
    EXPECT_EQ(54u, Get32(bmp, 10)) << "the written header counts no colour table";
    EXPECT_EQ(0u, Get32(bmp, 46));
    EXPECT_EQ(0u, Get32(bmp, 34));

    GdiObject<HBITMAP> bitmap(LoadPreviewBitmap(Paths.previewBitmap));
    Pixels decoded = ReadPixels(bitmap.get());
    EXPECT_TRUE(Expected(bmp, 14 + 40 + 1024) == decoded);
    EXPECT_FALSE(Expected(bmp, 54) == decoded) << "shifted by the colour table";
    // The thumbnail is the preview scaled to 180 wide (and cut to the cell).
    Pixels thumb = ReadImage(Thumbs.images, Thumbs.current);
    EXPECT_GT(DistinctColours(thumb), 1u);
}

TEST_F(SamplePreviews, OverstatedImageSizeStillShowsThePicture) {
    std::string bmp = Thumbnail("libredwg_r14_v.dwg");
    EXPECT_EQ(21344u, Get32(bmp, 34));
    EXPECT_GT(Get32(bmp, 2), bmp.size()) << "bfSize claims more than the file holds";

    GdiObject<HBITMAP> bitmap(LoadPreviewBitmap(Paths.previewBitmap));
    Pixels decoded = ReadPixels(bitmap.get());
    ASSERT_EQ(180, decoded.width);
    ASSERT_EQ(116, decoded.height);
    EXPECT_TRUE(Expected(bmp, 14 + 40 + 1024) == decoded);
    // The same preview at the thumbnail width of 180 is not scaled at all.
    EXPECT_TRUE(Crop(decoded, 180, 116) ==
                CropCentered(ReadImage(Thumbs.images, Thumbs.current), 180, 116));
}

TEST_F(SamplePreviews, BlackBackgroundSwapsOnlyTheEightBitOnes) {
    BlackBackground = true;
    std::string bmp = Thumbnail("libredwg_r14_v.dwg");
    Pixels stored = Expected(bmp, 14 + 40 + 1024);
    Pixels shown = CropCentered(ReadImage(Thumbs.images, Thumbs.current), 180, 116);
    ASSERT_EQ(stored.rgb.size(), shown.rgb.size());
    for (size_t i = 0; i < stored.rgb.size(); ++i) {
        uint32_t c = stored.rgb[i];
        uint32_t want = c == 0xFFFFFF ? 0 : c == 0 ? 0xFFFFFF : c;
        ASSERT_EQ(want, shown.rgb[i]) << "pixel " << i;
    }

    // The 32-bit preview (256 x 160, shown 180 x 112) looks the same with and
    // without the black background; only the cell around it follows the list.
    Thumbnail("libredwg_2007_ATMOS-DC22S.dwg");
    EXPECT_FALSE(PreviewIs8Bit);
    Pixels adapted = CropCentered(ReadImage(Thumbs.images, Thumbs.current), 180, 112);
    BlackBackground = false;
    Thumbnail("libredwg_2007_ATMOS-DC22S.dwg");
    Pixels plain = CropCentered(ReadImage(Thumbs.images, Thumbs.current), 180, 112);
    EXPECT_GT(DistinctColours(plain), 1u);
    EXPECT_TRUE(plain == adapted);
}

TEST_F(SamplePreviews, PngPreviewsBecomeThumbnailsAndAreNeverColourSwapped) {
    for (const char* file : {"libredwg_example_2013.dwg", "libredwg_sample_2018.dwg"}) {
        SCOPED_TRACE(file);
        BlackBackground = false;
        int before = ImageCount();
        Thumbnail(file);
        EXPECT_TRUE(PreviewFound);
        EXPECT_EQ(before, Thumbs.current);
        // At least 120 high at the thumbnail width of 180.
        Pixels plain = CropCentered(ReadImage(Thumbs.images, Thumbs.current), 180, 120);
        EXPECT_GT(DistinctColours(plain), 1u);

        BlackBackground = true;
        Thumbnail(file);
        EXPECT_TRUE(plain == CropCentered(ReadImage(Thumbs.images, Thumbs.current), 180, 120));
    }
}

} // namespace
