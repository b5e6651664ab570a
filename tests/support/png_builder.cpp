#include "tests/support/png_builder.h"

#include <zlib.h>

static void AppendBE32(std::string& s, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        s += static_cast<char>(v >> shift);
}

std::string PngSignature() {
    return std::string("\x89PNG\r\n\x1a\n", 8);
}

std::string PngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    AppendBE32(chunk, static_cast<uint32_t>(data.size()));
    chunk += type + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.data() + 4),
                      static_cast<uInt>(chunk.size() - 4));
    AppendBE32(chunk, static_cast<uint32_t>(crc));
    return chunk;
}

std::string PngHeaderData(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                          uint8_t interlace) {
    std::string ihdr;
    AppendBE32(ihdr, width);
    AppendBE32(ihdr, height);
    ihdr += static_cast<char>(depth);
    ihdr += static_cast<char>(colourType);
    ihdr += '\0'; // compression
    ihdr += '\0'; // filter method
    ihdr += static_cast<char>(interlace);
    return ihdr;
}

static int PaletteIndex(const std::vector<uint32_t>& palette, uint32_t color) {
    for (size_t i = 0; i < palette.size(); ++i)
        if (palette[i] == (color & 0xFFFFFF)) return static_cast<int>(i);
    return 0;
}

// The filtered rows (filter type 0) of one picture or interlace pass.
static void AppendRows(std::string& raw, const PngRecipe& r, int x0, int y0, int dx, int dy) {
    for (int y = y0; y < r.height; y += dy) {
        if (x0 >= r.width) break; // a pass with no pixels in its rows has no rows
        raw += '\0';
        for (int x = x0; x < r.width; x += dx) {
            uint32_t c = r.color ? r.color(x, y) : 0xFFFFFFFFu;
            if (r.colourType == 3) {
                raw += static_cast<char>(PaletteIndex(r.palette, c));
                continue;
            }
            raw += static_cast<char>(c >> 16);
            raw += static_cast<char>(c >> 8);
            raw += static_cast<char>(c);
            if (r.colourType == 6) raw += static_cast<char>(c >> 24);
        }
    }
}

std::string MakePng(const PngRecipe& r) {
    std::string raw;
    if (!r.interlaced) {
        AppendRows(raw, r, 0, 0, 1, 1);
    } else {
        const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                  {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : passes)
            AppendRows(raw, r, p[0], p[1], p[2], p[3]);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);

    std::string png = PngSignature();
    png += PngChunk("IHDR",
                    PngHeaderData(static_cast<uint32_t>(r.width), static_cast<uint32_t>(r.height),
                                  8, static_cast<uint8_t>(r.colourType), r.interlaced));
    if (r.colourType == 3) {
        std::string plte;
        for (uint32_t c : r.palette) {
            plte += static_cast<char>(c >> 16);
            plte += static_cast<char>(c >> 8);
            plte += static_cast<char>(c);
        }
        png += PngChunk("PLTE", plte);
    }
    png += PngChunk("IDAT", packed);
    png += PngChunk("IEND", "");
    return png;
}
