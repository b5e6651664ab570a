#include "inspect/png_preview.h"

#include <array>
#include <cstring>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu; // the format's own limit
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBmpHeadersSize = 14 + kInfoHeaderSize;

uint32_t ReadBE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | static_cast<uint32_t>(p[3]);
}

void PutLE32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>(v >> (8 * i));
}

// Channels of a colour type, or 0 when the depth is not allowed for it.
unsigned Channels(uint8_t colourType, uint8_t depth) {
    switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 ? 1 : 0;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8 ? 1 : 0;
    case 2: return depth == 8 || depth == 16 ? 3 : 0;
    case 4: return depth == 8 || depth == 16 ? 2 : 0;
    case 6: return depth == 8 || depth == 16 ? 4 : 0;
    default: return 0;
    }
}

bool ReadHeader(const uint8_t* ihdr, PngHeader& h) {
    h.width = ReadBE32(ihdr);
    h.height = ReadBE32(ihdr + 4);
    h.depth = ihdr[8];
    h.colourType = ihdr[9];
    h.interlace = ihdr[12];
    if (h.width == 0 || h.height == 0 || h.width > kMaxPngSide || h.height > kMaxPngSide)
        return false;
    unsigned channels = Channels(h.colourType, h.depth);
    if (channels == 0 || ihdr[10] != 0 || ihdr[11] != 0 || h.interlace > 1) return false;
    uint64_t rowBytes = (static_cast<uint64_t>(h.width) * channels * h.depth + 7) / 8;
    return rowBytes * h.height <= kMaxPngDecodedBytes;
}

std::array<uint32_t, 256> CrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

} // namespace

uint32_t PngCrc(const uint8_t* data, size_t size) {
    static const std::array<uint32_t, 256> table = CrcTable();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

bool FindPngEntry(const ByteReader& file, PngEntry& entry) {
    uint8_t address[4], count;
    if (file.ReadAt(13, address, 4) != 4) return false;
    uint64_t pos = static_cast<uint64_t>(ReadLE32(address)) + 20;
    if (file.ReadAt(pos, &count, 1) != 1) return false;
    pos += 1;
    for (int i = 0; i < count; ++i, pos += 9) {
        uint8_t raw[9];
        if (file.ReadAt(pos, raw, sizeof raw) != sizeof raw) return false;
        if (raw[0] != kPngEntryCode) continue;
        uint32_t start = ReadLE32(raw + 1), size = ReadLE32(raw + 5);
        if (size == 0 || size > kMaxPngEntryBytes || start >= file.Size() ||
            size > file.Size() - start)
            return false;
        entry.start = start;
        entry.size = size;
        return true;
    }
    return false;
}

bool CheckPngData(const std::string& png, PngHeader& header) {
    const uint8_t* b = reinterpret_cast<const uint8_t*>(png.data());
    const size_t size = png.size();
    if (size < sizeof kSignature || std::memcmp(b, kSignature, sizeof kSignature) != 0)
        return false;
    PngHeader h;
    bool sawHeader = false, sawData = false;
    for (size_t pos = sizeof kSignature; size - pos >= 12;) {
        uint32_t length = ReadBE32(b + pos);
        if (length > kMaxChunkLength || length > size - pos - 12) return false;
        const uint8_t* type = b + pos + 4;
        const uint8_t* data = type + 4;
        if (PngCrc(type, 4 + static_cast<size_t>(length)) != ReadBE32(data + length)) return false;

        if (!sawHeader) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13 || !ReadHeader(data, h))
                return false;
            sawHeader = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            sawData = true;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            if (!sawData || length != 0) return false;
            header = h;
            return true;
        }
        pos += 12 + static_cast<size_t>(length);
    }
    return false; // ended without IEND: truncated
}

uint32_t Bmp24Stride(uint32_t width) {
    return (width * 3 + 3) & ~3u;
}

std::string BlankBmp24(uint32_t width, uint32_t height) {
    if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide) return {};
    const uint32_t imageSize = Bmp24Stride(width) * height;
    std::string bmp(kBmpHeadersSize + static_cast<size_t>(imageSize), '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLE32(bmp, 2, kBmpHeadersSize + imageSize);
    PutLE32(bmp, 10, kBmpHeadersSize);
    PutLE32(bmp, 14, kInfoHeaderSize);
    PutLE32(bmp, 18, width);
    PutLE32(bmp, 22, height); // positive: bottom-up
    bmp[26] = 1;              // planes
    bmp[28] = 24;             // bits per pixel; compression 0 (BI_RGB)
    PutLE32(bmp, 34, imageSize);
    PutLE32(bmp, 38, 2835); // 72 dots per inch
    PutLE32(bmp, 42, 2835);
    return bmp;
}

void PutBmp24Row(std::string& bmp, uint32_t y, const uint8_t* bgra) {
    if (bmp.size() < kBmpHeadersSize) return;
    const uint32_t width = ReadLE32(reinterpret_cast<const uint8_t*>(bmp.data()) + 18);
    const uint32_t height = ReadLE32(reinterpret_cast<const uint8_t*>(bmp.data()) + 22);
    if (width > kMaxPngSide || y >= height ||
        kBmpHeadersSize + static_cast<uint64_t>(Bmp24Stride(width)) * height > bmp.size())
        return;
    char* out = &bmp[kBmpHeadersSize + static_cast<size_t>(height - 1 - y) * Bmp24Stride(width)];
    for (uint32_t x = 0; x < width; ++x, bgra += 4, out += 3) {
        const unsigned alpha = bgra[3];
        for (int c = 0; c < 3; ++c)
            out[c] = static_cast<char>((bgra[c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
}
