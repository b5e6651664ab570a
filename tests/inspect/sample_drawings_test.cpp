// The real drawings shared beside the project, checked against their manifest.
#include <gtest/gtest.h>

#include <vector>

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
};

std::vector<ManifestRow> ReadManifest(const std::string& folder) {
    std::vector<ManifestRow> rows;
    for (const std::vector<std::string>& f : ReadManifestRows(folder)) {
        if (f.size() < 11) continue;
        rows.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10]});
    }
    return rows;
}

TEST(SampleDrawings, VersionPreviewAndBitmapMatchTheManifest) {
    std::string folder = SampleDrawingFolder();
    if (folder.empty()) GTEST_SKIP() << "no shared drawings in this run";
    ScratchFolder scratch;
    Paths.previewBitmap = scratch.file("KvxBmp.bmp");
    std::vector<ManifestRow> rows = ReadManifest(folder);
    ASSERT_EQ(20u, rows.size());
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(row.file);
        std::string path = folder + row.file;
        EXPECT_EQ(row.version, ReadDwgVersion(path));
        EXPECT_EQ(row.previewSupported == "yes", PreviewSupported);

        PreviewIs8Bit = row.is8Bit != "yes"; // must be set by the extraction
        ExtractPreview(path);
        if (row.bmpSize.empty()) {
            EXPECT_FALSE(PathExists(Paths.previewBitmap));
            continue;
        }
        std::string bmp = ReadBytes(Paths.previewBitmap);
        EXPECT_EQ(row.bmpSize, std::to_string(bmp.size()));
        EXPECT_EQ(row.bmpSha256, Sha256Hex(bmp));
        EXPECT_EQ(row.is8Bit == "yes", PreviewIs8Bit);
    }
}

} // namespace
