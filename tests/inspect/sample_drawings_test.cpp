// The real drawings shared beside the project, checked against their manifest.
#include <gtest/gtest.h>

#include <vector>

#include "inspect/dwg_format.h"
#include "inspect/dwg_inspect.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/sample_dwg.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/sha256.h"

namespace {

struct ManifestRow {
    std::string file, code, version, previewSupported, hasBitmap, width, height, bits, is8Bit,
        bmpSize, bmpSha256;
    // The release text shown (2013 and 2018 named) and the PNG preview.
    std::string releaseText, hasPng, pngWidth, pngHeight;
};

std::vector<ManifestRow> ReadManifest(const std::string& folder) {
    std::vector<ManifestRow> rows;
    for (std::vector<std::string> f : ReadManifestRows(folder)) {
        if (f.size() < 14) continue;
        f.resize(17); // empty cells at the end of a line are not split off
        rows.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[13],
                        f[14], f[15], f[16]});
    }
    return rows;
}

// SHA-256 of the 24-bit bitmap files the PNG previews must become, computed
// once from the PNGs by an independent decoder.
std::string PngPreviewSha256(const std::string& file) {
    if (file == "libredwg_example_2013.dwg")
        return "f20cd6e83e8409c9cd4cb0916d4b853256e1c723199e1d5f475cab64703e294e";
    if (file == "libredwg_sample_2018.dwg")
        return "dde6b124c33abf3e2f89db595b8d61802394e7356ea2e80b054edf918695cf4c";
    return "";
}

TEST(SampleDrawings, VersionPreviewAndBitmapMatchTheManifest) {
    std::string folder = SampleDrawingFolder();
    if (folder.empty()) GTEST_SKIP() << "no shared drawings in this run";
    ScratchFolder scratch;
    Paths.previewBitmap = scratch.file("KvxBmp.bmp");
    std::vector<ManifestRow> rows = ReadManifest(folder);
    ASSERT_EQ(20u, rows.size());
    int pngs = 0;
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(row.file);
        std::string path = folder + row.file;
        EXPECT_EQ(row.releaseText, ReadDwgVersion(path));
        EXPECT_EQ(row.previewSupported == "yes", PreviewSupported);

        PreviewIs8Bit = row.is8Bit != "yes"; // must be set by the extraction
        ExtractPreview(path);
        if (row.hasPng == "yes" && row.hasBitmap != "yes") {
            ++pngs;
            std::string bmp = ReadBytes(Paths.previewBitmap);
            ASSERT_GE(bmp.size(), 54u);
            const uint8_t* b = reinterpret_cast<const uint8_t*>(bmp.data());
            EXPECT_EQ(row.pngWidth, std::to_string(ReadLE32(b + 18)));
            EXPECT_EQ(row.pngHeight, std::to_string(ReadLE32(b + 22)));
            EXPECT_EQ(PngPreviewSha256(row.file), Sha256Hex(bmp));
            EXPECT_FALSE(PreviewIs8Bit);
            continue;
        }
        if (row.bmpSize.empty()) {
            EXPECT_FALSE(PathExists(Paths.previewBitmap));
            continue;
        }
        std::string bmp = ReadBytes(Paths.previewBitmap);
        EXPECT_EQ(row.bmpSize, std::to_string(bmp.size()));
        EXPECT_EQ(row.bmpSha256, Sha256Hex(bmp));
        EXPECT_EQ(row.is8Bit == "yes", PreviewIs8Bit);
    }
    EXPECT_EQ(2, pngs);
}

} // namespace
