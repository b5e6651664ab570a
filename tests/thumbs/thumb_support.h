// Helpers of the thumbnail tests: preview bitmap files from pictures, pixels
// read back from bitmaps and from the list's image list, and a fixture that
// sets up the listed folder, the temporary preview path and the image list.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/app_state.h"
#include "tests/support/pixels.h"
#include "tests/support/scratch_folder.h"

// Draws image `index` of the list into a fresh bitmap and reads it back.
Pixels ReadImage(HIMAGELIST list, int index);
// The top-left width x height part of a picture.
Pixels Crop(const Pixels& p, int width, int height);
// The middle width x height of a picture, as a thumbnail sits in its cell.
Pixels CropCentered(const Pixels& p, int width, int height);
// The picture a colour function describes.
template <typename F> Pixels PixelsOf(int width, int height, F color) {
    Pixels p;
    p.width = width;
    p.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.rgb.push_back(color(x, y));
    return p;
}

// A preview bitmap file as the extraction writes it: 14-byte file header,
// then the device-independent bitmap.
std::string BmpFile(const std::string& dib);

// A listed folder (the current folder and working directory), a temporary
// folder for the preview bitmap and an image list with three placeholders.
class ThumbnailTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Writes a drawing into the listed folder under `name`.
    void PutDrawing(const std::string& name, const std::string& bytes);
    // The listed folder without a trailing backslash.
    std::string Folder() const;
    int ImageCount() const { return ImageList_GetImageCount(Thumbs.images); }

    ScratchFolder listed;
    ScratchFolder temp;
    std::string previousDirectory;
};
