#include "inspect/thumbnail_cell.h"

#include <algorithm>
#include <cstring>

#include "inspect/picture_scaling.h"

void FittedSize(int width, int height, int cellWidth, int cellHeight, int& fitWidth,
                int& fitHeight) {
    bool tall =
        static_cast<long long>(height) * cellWidth > static_cast<long long>(cellHeight) * width;
    // Multiplying before dividing keeps whole results whole: a 180 x 115
    // picture scaled to 180 wide stays 115 high, not 114.
    fitWidth =
        tall ? static_cast<int>(static_cast<double>(cellHeight) * width / height) : cellWidth;
    fitHeight =
        tall ? cellHeight : static_cast<int>(static_cast<double>(cellWidth) * height / width);
    fitWidth = std::max(1, fitWidth);
    fitHeight = std::max(1, fitHeight);
}

std::vector<uint8_t> ComposeThumbnailCell(const uint8_t* pixels, int width, int height,
                                          int cellWidth, int cellHeight, uint32_t background) {
    int fitWidth = 0, fitHeight = 0;
    FittedSize(width, height, cellWidth, cellHeight, fitWidth, fitHeight);
    std::vector<uint8_t> scaled;
    const uint8_t* fitted = pixels;
    if (fitWidth != width || fitHeight != height) {
        scaled = ScalePixelsByArea(pixels, width, height, fitWidth, fitHeight);
        fitted = scaled.data();
    }

    // Centred as a blit at ((cell - fitted) / 2) would place it, cut to the
    // cell; only what the picture leaves uncovered takes the background.
    std::vector<uint8_t> cell(static_cast<size_t>(cellWidth) * cellHeight * 4);
    const uint32_t fill =
        ((background & 0xFF) << 16) | (background & 0xFF00) | ((background >> 16) & 0xFF);
    int left = (cellWidth - fitWidth) / 2, top = (cellHeight - fitHeight) / 2;
    int x0 = std::max(0, left), x1 = std::min(cellWidth, left + fitWidth);
    int y0 = std::max(0, top), y1 = std::min(cellHeight, top + fitHeight);
    if (x0 >= x1) y0 = y1 = 0;
    auto fillRun = [&](int y, int from, int to) {
        uint8_t* p = &cell[(static_cast<size_t>(y) * cellWidth + from) * 4];
        for (int x = from; x < to; ++x, p += 4)
            std::memcpy(p, &fill, 4);
    };
    for (int y = 0; y < cellHeight; ++y) {
        if (y < y0 || y >= y1) {
            fillRun(y, 0, cellWidth);
            continue;
        }
        fillRun(y, 0, x0);
        std::memcpy(&cell[(static_cast<size_t>(y) * cellWidth + x0) * 4],
                    fitted + (static_cast<size_t>(y - top) * fitWidth + (x0 - left)) * 4,
                    static_cast<size_t>(x1 - x0) * 4);
        fillRun(y, x1, cellWidth);
    }
    return cell;
}

void SwapBlackWhitePixels(uint8_t* pixels, size_t count) {
    for (uint8_t* p = pixels; count-- > 0; p += 4) {
        if (p[0] == 255 && p[1] == 255 && p[2] == 255)
            p[0] = p[1] = p[2] = 0;
        else if (p[0] == 0 && p[1] == 0 && p[2] == 0)
            p[0] = p[1] = p[2] = 255;
    }
}
