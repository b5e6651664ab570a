// Builds small PNG files byte by byte, for tests and the demo folder: known
// pixels in an indexed, truecolour or truecolour-with-alpha picture, and the
// chunks to make damaged ones from.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PngRecipe {
    int width = 0;
    int height = 0;
    int colourType = 3; // 3 indexed (8-bit), 2 truecolour, 6 truecolour with alpha
    bool interlaced = false;
    // Colour of a pixel (x from the left, y from the top) as 0xAARRGGBB; the
    // alpha byte counts for colour type 6 only. Indexed pictures look the
    // colour up in the palette.
    std::function<uint32_t(int x, int y)> color;
    std::vector<uint32_t> palette; // indexed: up to 256 colours 0xRRGGBB
};

// The PNG file: signature, IHDR, PLTE when indexed, one IDAT, IEND.
std::string MakePng(const PngRecipe& recipe);
// One chunk: length, type, data, CRC.
std::string PngChunk(const std::string& type, const std::string& data);
// The 13 bytes of an IHDR chunk's data.
std::string PngHeaderData(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                          uint8_t interlace = 0);
// The eight signature bytes.
std::string PngSignature();
