// Pictures read back from bitmaps, for comparing what the program drew.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// A picture as colours 0xRRGGBB, row 0 at the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
    uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
    // Dark: every channel below half.
    bool dark(int x, int y) const {
        uint32_t p = at(x, y);
        return ((p >> 16) & 0xFF) < 128 && ((p >> 8) & 0xFF) < 128 && (p & 0xFF) < 128;
    }
    bool operator==(const Pixels& o) const {
        return width == o.width && height == o.height && rgb == o.rgb;
    }
};

// Reads a bitmap (not selected into any device context); empty on failure.
Pixels ReadPixels(HBITMAP bitmap);
