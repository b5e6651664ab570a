#include <gtest/gtest.h>

#include <vector>

#include "inspect/drawing_read_ahead.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"

namespace {

// Drawings of different releases, some with a preview of 8 or 24 bits, and
// one path that names nothing.
class ReadAhead : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* codes[] = {"AC1015", "AC1009", "AC1032", "AC1018"};
        for (int i = 0; i < 12; ++i) {
            std::string path = folder.file("d" + std::to_string(i) + ".dwg");
            std::string code = codes[i % 4];
            DibRecipe dib;
            dib.width = 4 + i;
            dib.height = 3;
            dib.bits = i % 2 ? 8 : 24;
            dib.palette = DrawingPalette();
            dib.color = [i](int x, int) { return static_cast<uint32_t>(x * 40 + i); };
            ASSERT_TRUE(WriteBytes(path, i % 3 ? MakeDrawing(code, {{2, MakeDib(dib)}})
                                               : MakeDrawingWithoutImages(code)));
            paths.push_back(path);
        }
        paths.push_back(folder.file("missing.dwg"));
    }
    // What the thread gives must be what a read on this thread gives.
    void ExpectSameRead(const std::string& path, bool withPreview, const DrawingRead& read) {
        DrawingRead here = ReadDrawingAlone(path, withPreview);
        EXPECT_EQ(here.version, read.version) << path;
        EXPECT_EQ(here.preview, read.preview) << path;
        EXPECT_EQ(here.previewSupported, read.previewSupported) << path;
        EXPECT_EQ(here.previewIs8Bit, read.previewIs8Bit) << path;
    }
    ScratchFolder folder;
    std::vector<std::string> paths;
};

// One drawing asked at a time, as the search does, over and over.
TEST_F(ReadAhead, AskedPathsComeBackInTurn) {
    DrawingReadAhead ahead(false, 1);
    EXPECT_FALSE(ahead.pending());
    for (int round = 0; round < 20; ++round)
        for (const std::string& asked : paths) {
            ahead.Ask(asked);
            EXPECT_TRUE(ahead.pending());
            std::string path;
            DrawingRead read;
            ASSERT_TRUE(ahead.TakeNext(path, read));
            EXPECT_EQ(asked, path);
            if (round == 0) ExpectSameRead(path, false, read);
            EXPECT_FALSE(ahead.pending());
        }
    std::string path;
    DrawingRead read;
    EXPECT_FALSE(ahead.TakeNext(path, read));
}

// Paths from a source on the thread, more of them than it reads ahead, with
// the previews; then the end. A reader dropped with reads left still stops.
TEST_F(ReadAhead, PathsFromASourceComeInItsOrderThenTheEnd) {
    for (int taken : {static_cast<int>(paths.size()), 2}) {
        DrawingReadAhead ahead(true, 3);
        size_t given = 0;
        ahead.AskEach([&](std::string& path) {
            if (given == paths.size()) return false;
            path = paths[given++];
            return true;
        });
        for (int i = 0; i < taken; ++i) {
            std::string path;
            DrawingRead read;
            ASSERT_TRUE(ahead.TakeNext(path, read));
            EXPECT_EQ(paths[i], path);
            ExpectSameRead(path, true, read);
        }
        if (taken < static_cast<int>(paths.size())) continue;
        std::string path;
        DrawingRead read;
        EXPECT_FALSE(ahead.TakeNext(path, read));
        EXPECT_FALSE(ahead.pending());
    }
}

// Taken in another order than read, as a listing whose folder a file server
// enumerates differently: each path's own read, each drawing read once.
TEST_F(ReadAhead, PathsTakenInAnotherOrderAreReadOnce) {
    int reads = 0;
    DrawingReadAhead ahead(false, 4, false, [&reads](const std::string& path) {
        ++reads;
        return ReadDrawingAlone(path, false);
    });
    for (const std::string& path : paths)
        ahead.Ask(path);
    std::vector<std::string> order(paths.rbegin(), paths.rend());
    std::swap(order[3], order[7]);
    for (const std::string& path : order) {
        DrawingRead read;
        ASSERT_TRUE(ahead.TakeFor(path, read)) << path;
        ExpectSameRead(path, false, read);
    }
    DrawingRead read;
    EXPECT_FALSE(ahead.TakeFor(paths[0], read));
    EXPECT_EQ(static_cast<int>(paths.size()), reads);
}

} // namespace
