// The PNG preview that drawings of release 2013 and later carry in their image
// block (entry code 6) instead of a bitmap: finding it, checking every size it
// declares before anything is decoded, and the 24-bit bitmap file it becomes.
// No window or file-system calls; the decoding itself is done by the system's
// imaging component (png_decode.h).
#pragma once
#include <cstdint>
#include <string>

#include "inspect/dwg_format.h"

// Largest picture accepted on either side; previews are a few hundred pixels.
constexpr uint32_t kMaxPngSide = 4096;
// Largest decoded picture in the PNG's own pixel format, so that a small
// entry cannot make the decoder unpack hundreds of megabytes.
constexpr uint64_t kMaxPngDecodedBytes = 64ull << 20;
// Largest PNG entry read from a drawing.
constexpr uint32_t kMaxPngEntryBytes = 16u << 20;

constexpr uint8_t kPngEntryCode = 6;

struct PngEntry {
    uint32_t start = 0;
    uint32_t size = 0;
};

// The first code-6 entry of the image block reached through offset 13. False
// when there is none, or when it is empty, larger than kMaxPngEntryBytes, or
// does not lie wholly inside the file.
bool FindPngEntry(const ByteReader& file, PngEntry& entry);

struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t depth = 0;
    uint8_t colourType = 0;
    uint8_t interlace = 0;
};

// Checks PNG data before it goes to a decoder: the signature, a well-formed
// IHDR first (a valid depth and colour type, at most kMaxPngSide on each
// side, at most kMaxPngDecodedBytes decoded), every chunk inside the data with
// a correct CRC, at least one IDAT, and IEND. Bytes after IEND are ignored.
bool CheckPngData(const std::string& png, PngHeader& header);

// CRC-32 as PNG chunks use it (that of zip and zlib).
uint32_t PngCrc(const uint8_t* data, size_t size);

// A 24-bit bottom-up bitmap file of width x height: file header, 40-byte info
// header, rows padded to 4 bytes, all pixels black. The file header follows
// the rule of the bitmap previews: bfOffBits = 14 + 40, bfSize = bfOffBits +
// biSizeImage. Empty when a side is 0 or larger than kMaxPngSide.
std::string BlankBmp24(uint32_t width, uint32_t height);
// Bytes of one padded row of such a file.
uint32_t Bmp24Stride(uint32_t width);
// Stores row y (0 = top) from `bgra` (width pixels of blue, green, red,
// alpha, not premultiplied), laid over white where the pixel is transparent.
void PutBmp24Row(std::string& bmp, uint32_t y, const uint8_t* bgra);
