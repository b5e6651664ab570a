// The thumbnails' area-averaging scaler against an exact reference of the
// same filter, on made-up pictures and a real preview.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "inspect/dib_layout.h"
#include "inspect/dwg_inspect.h"
#include "inspect/picture_scaling.h"
#include "runtime/app_state.h"
#include "tests/support/sample_dwg.h"
#include "tests/support/scratch_folder.h"

namespace {

// Each target pixel the exact mean of the source area it covers.
std::vector<double> ExactAreaMean(const std::vector<uint8_t>& pixels, int width, int height,
                                  int toWidth, int toHeight) {
    std::vector<double> out(static_cast<size_t>(toWidth) * toHeight * 3);
    double sx = static_cast<double>(width) / toWidth, sy = static_cast<double>(height) / toHeight;
    auto overlap = [](double a0, double a1, int s) {
        return std::max(0.0, std::min(a1, s + 1.0) - std::max(a0, static_cast<double>(s)));
    };
    for (int y = 0; y < toHeight; ++y)
        for (int x = 0; x < toWidth; ++x)
            for (int v = static_cast<int>(y * sy);
                 v < std::min(height, static_cast<int>((y + 1) * sy) + 1); ++v)
                for (int u = static_cast<int>(x * sx);
                     u < std::min(width, static_cast<int>((x + 1) * sx) + 1); ++u) {
                    double w = overlap(x * sx, (x + 1) * sx, u) * overlap(y * sy, (y + 1) * sy, v) /
                               (sx * sy);
                    for (int c = 0; c < 3; ++c)
                        out[(static_cast<size_t>(y) * toWidth + x) * 3 + c] +=
                            w * pixels[(static_cast<size_t>(v) * width + u) * 4 + c];
                }
    return out;
}

void ExpectNearExact(const std::vector<uint8_t>& pixels, int width, int height, int toWidth,
                     int toHeight) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " to " +
                 std::to_string(toWidth) + "x" + std::to_string(toHeight));
    std::vector<uint8_t> scaled =
        ScalePixelsByArea(pixels.data(), width, height, toWidth, toHeight);
    std::vector<double> exact = ExactAreaMean(pixels, width, height, toWidth, toHeight);
    ASSERT_EQ(static_cast<size_t>(toWidth) * toHeight * 4, scaled.size());
    for (size_t i = 0; i < exact.size(); ++i)
        ASSERT_LE(std::abs(scaled[i / 3 * 4 + i % 3] - exact[i]), 1.0) << "value " << i;
}

TEST(PictureScaling, EvenColoursStayExactAndMixesStayWithinOneOnEveryProcessor) {
    const int sizes[][4] = {{256, 160, 180, 112}, {7, 5, 3, 2},         {100, 1, 33, 1},
                            {10, 10, 25, 25},     {512, 512, 180, 180}, {3, 300, 1, 115}};
    for (const auto& s : sizes) {
        std::vector<uint8_t> even(static_cast<size_t>(s[0]) * s[1] * 4);
        for (size_t i = 0; i < even.size(); i += 4)
            even[i] = 0x12, even[i + 1] = 0x80, even[i + 2] = 0xFE;
        std::vector<uint8_t> scaled = ScalePixelsByArea(even.data(), s[0], s[1], s[2], s[3]);
        for (size_t i = 0; i < scaled.size(); i += 4)
            ASSERT_TRUE(scaled[i] == 0x12 && scaled[i + 1] == 0x80 && scaled[i + 2] == 0xFE);

        std::vector<uint8_t> mixed(even.size());
        for (size_t i = 0; i < mixed.size(); ++i)
            mixed[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
        ExpectNearExact(mixed, s[0], s[1], s[2], s[3]);
        EXPECT_EQ(ScalePixelsByAreaPlain(mixed.data(), s[0], s[1], s[2], s[3]),
                  ScalePixelsByArea(mixed.data(), s[0], s[1], s[2], s[3]))
            << "with and without vector instructions";
    }
}

TEST(PictureScaling, RealPreviewScalesAsTheExactMean) {
    std::string samples = SampleDrawingFolder();
    if (samples.empty()) GTEST_SKIP() << "no shared drawings in this run";
    ScratchFolder temp;
    Paths.previewBitmap = temp.file("preview.bmp");
    DibPicture picture;
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(DecodeDibFile(ExtractPreview(samples + "libredwg_2007_ATMOS-DC22S.dwg"), picture));
    ASSERT_TRUE(DibPixels32(picture, pixels));
    ExpectNearExact(pixels, picture.layout.width, picture.layout.height, 180, 112);
    Paths.previewBitmap.clear();
}

} // namespace
