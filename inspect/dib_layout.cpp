#include "inspect/dib_layout.h"

#include <algorithm>
#include <cstring>

#include "inspect/dwg_format.h"

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
// Headers from version 2 on hold the colour masks themselves.
constexpr uint32_t kInfoSizeWithMasks = 52;

const uint8_t* At(const std::string& file, uint64_t offset) {
    return reinterpret_cast<const uint8_t*>(file.data()) + offset;
}

void AppendLE32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(value >> (8 * i));
}

void AppendLE16(std::string& out, uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

} // namespace

bool LocateDibParts(const std::string& file, DibLayout& layout) {
    const uint64_t size = file.size();
    if (size < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') return false;

    DibLayout l;
    const uint8_t* info = At(file, kFileHeaderSize);
    l.infoSize = ReadLE32(info);
    if (l.infoSize < kInfoHeaderSize || kFileHeaderSize + l.infoSize > size) return false;

    l.width = static_cast<int32_t>(ReadLE32(info + 4));
    int32_t height = static_cast<int32_t>(ReadLE32(info + 8));
    l.bits = ReadLE16(info + 14);
    l.compression = ReadLE32(info + 16);
    uint32_t clrUsed = ReadLE32(info + 32);

    if (l.width <= 0 || l.width > kMaxDibSide) return false;
    if (height == 0 || height < -kMaxDibSide || height > kMaxDibSide) return false;
    l.topDown = height < 0;
    l.height = l.topDown ? -height : height;

    switch (l.bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return false;
    }
    bool bitfields = l.compression == kBiBitfields;
    if (l.compression != kBiRgb && !(bitfields && (l.bits == 16 || l.bits == 32))) return false;

    uint64_t after = kFileHeaderSize + l.infoSize;
    if (bitfields) {
        if (l.infoSize >= kInfoSizeWithMasks) {
            l.masksOffset = kFileHeaderSize + kInfoHeaderSize;
        } else {
            l.masksOffset = after;
            after += 12;
        }
    }

    if (l.bits <= 8) {
        uint32_t most = 1u << l.bits;
        if (clrUsed > most) return false;
        l.tableEntries = clrUsed ? clrUsed : most;
    } else {
        // A table here only suggests colours for palette displays; it is skipped.
        l.tableEntries = clrUsed;
    }
    l.tableOffset = after;
    l.pixelOffset = after + 4ull * l.tableEntries;
    if (l.pixelOffset > size) return false;

    uint64_t rowBits = static_cast<uint64_t>(l.width) * l.bits;
    l.stride = static_cast<uint32_t>((rowBits + 31) / 32 * 4);
    // The last row must hold its pixels; only its padding may be cut off.
    uint64_t needed = static_cast<uint64_t>(l.stride) * (l.height - 1) + (rowBits + 7) / 8;
    if (needed > size - l.pixelOffset) return false;

    layout = l;
    return true;
}

bool PreviewEntryFits(const uint8_t* info, uint32_t entrySize) {
    uint32_t infoSize = ReadLE32(info);
    int32_t width = static_cast<int32_t>(ReadLE32(info + 4));
    int32_t height = static_cast<int32_t>(ReadLE32(info + 8));
    uint16_t bits = ReadLE16(info + 14);
    // The largest info header (version 5) and colour table there are.
    constexpr uint32_t kLargestInfoSize = 124;
    constexpr uint64_t kLargestTable = 12 + 4 * 256;
    if (infoSize < kInfoHeaderSize || infoSize > kLargestInfoSize) return false;
    if (width <= 0 || width > kMaxDibSide || height == 0 || height < -kMaxDibSide ||
        height > kMaxDibSide)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    return entrySize <= infoSize + kLargestTable + stride * rows;
}

bool DecodeDibFile(const std::string& file, DibPicture& picture) {
    DibLayout l;
    if (!LocateDibParts(file, l)) return false;

    uint32_t paletteEntries = l.bits <= 8 ? l.tableEntries : 0;
    std::string info;
    AppendLE32(info, kInfoHeaderSize);
    AppendLE32(info, static_cast<uint32_t>(l.width));
    AppendLE32(info, static_cast<uint32_t>(l.height));
    AppendLE16(info, 1);
    AppendLE16(info, l.bits);
    AppendLE32(info, l.compression);
    AppendLE32(info, l.stride * static_cast<uint32_t>(l.height));
    info.append(file, kFileHeaderSize + 24, 8); // resolution, as stored
    AppendLE32(info, paletteEntries);
    AppendLE32(info, 0);
    if (l.compression == kBiBitfields) info.append(file, l.masksOffset, 12);
    info.append(file, l.tableOffset, 4ull * paletteEntries);

    std::string rows(static_cast<size_t>(l.stride) * l.height, '\0');
    for (int32_t r = 0; r < l.height; ++r) {
        uint64_t from = l.pixelOffset + static_cast<uint64_t>(r) * l.stride;
        uint64_t available = file.size() - from;
        size_t n = static_cast<size_t>(available < l.stride ? available : l.stride);
        int32_t to = l.topDown ? l.height - 1 - r : r;
        rows.replace(static_cast<size_t>(to) * l.stride, n, file, from, n);
    }

    picture.layout = l;
    picture.info.swap(info);
    picture.rows.swap(rows);
    return true;
}

bool DibPixels32(const DibPicture& picture, std::vector<uint8_t>& pixels) {
    const DibLayout& l = picture.layout;
    if (l.compression != kBiRgb || l.width <= 0 || l.height <= 0) return false;
    if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 24 && l.bits != 32) return false;
    if (picture.rows.size() < static_cast<size_t>(l.stride) * l.height ||
        picture.info.size() < kInfoHeaderSize)
        return false;
    // Every index a row can hold, looked up once: past the table, black.
    uint32_t colours[256] = {};
    const size_t entries = std::min<size_t>(256, (picture.info.size() - kInfoHeaderSize) / 4);
    for (size_t i = 0; i < entries; ++i)
        colours[i] = ReadLE32(reinterpret_cast<const uint8_t*>(picture.info.data()) +
                              kInfoHeaderSize + 4 * i) &
                     0xFFFFFFu;
    pixels.resize(static_cast<size_t>(l.width) * l.height * 4);
    for (int32_t y = 0; y < l.height; ++y) {
        const uint8_t* in = reinterpret_cast<const uint8_t*>(picture.rows.data()) +
                            static_cast<size_t>(l.height - 1 - y) * l.stride;
        uint8_t* out = &pixels[static_cast<size_t>(y) * l.width * 4];
        if (l.bits >= 24) {
            const int step = l.bits / 8;
            for (int32_t x = 0; x < l.width; ++x, in += step, out += 4)
                out[0] = in[0], out[1] = in[1], out[2] = in[2], out[3] = 0;
        } else if (l.bits == 8) {
            for (int32_t x = 0; x < l.width; ++x, out += 4)
                std::memcpy(out, &colours[in[x]], 4);
        } else {
            // Indices fill each byte from its high bits down. Only 1 and 4
            // bits come here: a mask of 24 or 32 bits would shift by the
            // whole width of the word.
            const uint32_t mask = (1u << l.bits) - 1;
            for (int32_t x = 0; x < l.width; ++x, out += 4) {
                size_t bit = static_cast<size_t>(x) * l.bits;
                uint32_t index = (in[bit / 8] >> (8 - l.bits - bit % 8)) & mask;
                std::memcpy(out, &colours[index], 4);
            }
        }
    }
    return true;
}
