// Builds small drawing files byte by byte, for tests, benchmarks and the demo
// folder: a release signature, the address at offset 13 and an image block
// with its entries, and device-independent bitmaps to put in them.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A device-independent bitmap without file header: BITMAPINFOHEADER, colour
// table, pixel rows (bottom-up, each padded to 4 bytes).
struct DibRecipe {
    int width = 0;
    int height = 0;
    int bits = 8;               // 8, 24 or 32
    bool writeClrUsed = true;   // 8-bit: biClrUsed = 256, else 0
    bool writeSizeImage = true; // biSizeImage = the pixel bytes, else 0
    // Colour of a pixel (x from the left, y from the top) as 0xRRGGBB; for
    // 8-bit pictures the colour is looked up in the palette below.
    std::function<uint32_t(int x, int y)> color;
    std::vector<uint32_t> palette; // 8-bit: up to 256 colours 0xRRGGBB
};

std::string MakeDib(const DibRecipe& recipe);
// A 256-colour palette with pure black at 0, pure white at 7 and a spread of
// colours elsewhere (like the ones drawings carry).
std::vector<uint32_t> DrawingPalette();

struct ImageEntry {
    uint8_t code = 2;
    std::string data;
};

// A drawing whose first six bytes are the signature (e.g. "AC1015"), whose
// offset 13 points at an image block holding the entries in order, each
// entry's data placed after the block directory.
std::string MakeDrawing(const std::string& signature, const std::vector<ImageEntry>& entries);
// A drawing with no image block: the address at offset 13 points past the end.
std::string MakeDrawingWithoutImages(const std::string& signature, size_t length = 64);

// Offset at which the image block starts in MakeDrawing's output.
constexpr uint32_t kImageBlockAddress = 0x40;

bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
// Makes the file `size` bytes long (created when missing), sparse: the file
// system stores no zeros, so that files of gigabytes cost nothing to make.
bool ExtendFile(const std::string& path, uint64_t size);
void PutLE32(std::string& bytes, size_t offset, uint32_t value);
// A summary properties block: the eight texts (UTF-8, stored as UTF-16 when
// wide, else as the bytes given), three times and the custom pairs.
std::string PropertiesBlock(bool wide, const std::vector<std::string>& texts,
                            const std::vector<std::string>& customPairs = {});
// The drawing with the block put at its end and its address at 0x20; the
// drawing's code page number set at 0x13.
std::string WithPropertiesBlock(std::string drawing, const std::string& block, uint16_t codePage);
// The same with the block 0x120 bytes in, before the image block, where the
// drawings of 2004 and later other than 2007's keep it.
std::string WithPropertiesBlockInFront(const std::string& drawing, const std::string& block,
                                       uint16_t codePage);
