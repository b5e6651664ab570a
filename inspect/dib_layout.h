// Reading a preview bitmap file (14-byte file header, then a device-independent
// bitmap) from its bytes alone. The parts are found from the info header and
// the colour table it implies; the file header's pixel offset is ignored,
// because drawings often carry a full colour table while the header written
// for them counts none. No window or file-system calls.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Bitmaps larger than this on either side are treated as damaged: no preview
// is that big, and a broken header must not make us allocate gigabytes.
constexpr int32_t kMaxDibSide = 4096;

// Whether a drawing's bitmap entry of entrySize bytes, whose data begins with
// the 40-byte info header `info`, may be a preview: a bitmap of at most
// kMaxDibSide on either side whose header, colour table and pixel rows hold
// at least the entry's bytes. A damaged or hostile entry claiming hundreds of
// megabytes is not one.
bool PreviewEntryFits(const uint8_t* info, uint32_t entrySize);

// Where the parts of a bitmap file lie (offsets from the start of the file).
struct DibLayout {
    uint32_t infoSize = 0; // biSize
    int32_t width = 0;
    int32_t height = 0;   // number of rows, always positive
    bool topDown = false; // the file stored a negative height
    uint16_t bits = 0;    // 1, 4, 8, 16, 24 or 32
    uint32_t compression = 0;
    uint64_t masksOffset = 0;  // the three colour masks of a BI_BITFIELDS bitmap
    uint64_t tableOffset = 0;  // colour table
    uint32_t tableEntries = 0; // entries of the colour table in the file
    uint64_t pixelOffset = 0;
    uint32_t stride = 0; // bytes per row, padded to 4
};

// Validates the info header and finds the parts. False for anything that
// cannot be shown safely: a header or colour table outside the file, zero or
// absurd sizes, an unknown bit count or compression, or pixel rows that do
// not fit in the file (only the padding after the last row may be missing).
bool LocateDibParts(const std::string& file, DibLayout& layout);

// A bitmap ready to hand to the system: `info` is a BITMAPINFO (40-byte
// header with a positive height, the masks of a BI_BITFIELDS bitmap, the
// colour table for 8 bits or fewer) and `rows` holds every pixel row
// bottom-up, full stride, with missing padding zeroed.
struct DibPicture {
    DibLayout layout;
    std::string info;
    std::string rows;
};

bool DecodeDibFile(const std::string& file, DibPicture& picture);

// The picture's pixels as 32-bit rows (blue, green, red, 0), top-down, for
// uncompressed bitmaps of 1, 4, 8, 24 or 32 bits, converted as the system
// converts them; a colour index past the table gives black. False for any
// other kind, which is left to the system.
bool DibPixels32(const DibPicture& picture, std::vector<uint8_t>& pixels);
