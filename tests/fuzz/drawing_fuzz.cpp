// Fuzz target for the byte-level drawing code: the release code, the image
// block directory, the preview size limit, the preview's file header, the
// bitmap decoder and the thumbnail made of its pixels, and the checks a PNG
// preview passes before it is decoded, over arbitrary bytes. Built natively
// with sanitizers by scripts/fuzz.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "inspect/dib_layout.h"
#include "inspect/drawing_properties.h"
#include "inspect/dwg_format.h"
#include "inspect/picture_scaling.h"
#include "inspect/png_preview.h"
#include "inspect/thumbnail_cell.h"

namespace {

uint32_t ReadBE32(const std::string& s, size_t at) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(s.data()) + at;
    return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// The same bytes with every chunk's CRC made right, so that mutations reach
// the checks behind the CRC.
std::string WithGoodCrcs(std::string png) {
    for (size_t pos = 8; png.size() >= pos + 12;) {
        uint32_t length = ReadBE32(png, pos);
        if (length > png.size() - pos - 12) break;
        uint32_t crc = PngCrc(reinterpret_cast<const uint8_t*>(png.data()) + pos + 4, 4 + length);
        for (int i = 0; i < 4; ++i)
            png[pos + 8 + length + i] = static_cast<char>(crc >> (24 - 8 * i));
        pos += 12 + length;
    }
    return png;
}

// What the program does with PNG data short of the system's decoder: check
// it, then make the bitmap it would fill (small pictures only, to keep the
// run fast; the sizes are what is checked) and fill its rows.
void CheckPng(const std::string& png) {
    PngHeader header;
    if (!CheckPngData(png, header)) return;
    if (header.width > kMaxPngSide || header.height > kMaxPngSide) __builtin_trap();
    if (static_cast<uint64_t>(header.width) * header.height > 65536) return;
    std::string bmp = BlankBmp24(header.width, header.height);
    if (bmp.size() != 54 + static_cast<size_t>(Bmp24Stride(header.width)) * header.height)
        __builtin_trap();
    std::vector<uint8_t> row(static_cast<size_t>(header.width) * 4, 0x80);
    for (uint32_t y = 0; y <= header.height; ++y) // one row past the end is ignored
        PutBmp24Row(bmp, y, row.data());
}

// What the list does with a decoded preview: its colours swapped for the
// black background and the picture fitted into a thumbnail cell (pictures of
// up to 4096 pixels and cells of up to 51 pixels across, to keep the run
// fast: the scaling's steps depend on the ratio of the sizes, not on the
// sizes themselves). `side` picks the cell's width, as the Preview column's
// may be; the cell is 0.8 times as high. The vector and the plain scaling
// must agree.
void CheckThumbnail(const DibPicture& picture, std::vector<uint8_t>& pixels, uint8_t side) {
    const int width = picture.layout.width, height = picture.layout.height;
    if (static_cast<uint64_t>(width) * height > 4096) return;
    SwapBlackWhitePixels(pixels.data(), static_cast<size_t>(width) * height);
    const int cellWidth = 4 + side % 48, cellHeight = static_cast<int>(0.8 * cellWidth);
    std::vector<uint8_t> cell =
        ComposeThumbnailCell(pixels.data(), width, height, cellWidth, cellHeight, 0xFFFFFF);
    if (cell.size() != static_cast<size_t>(cellWidth) * cellHeight * 4) __builtin_trap();
    int fitWidth = 0, fitHeight = 0;
    FittedSize(width, height, cellWidth, cellHeight, fitWidth, fitHeight);
    if (fitWidth > cellWidth || fitHeight > cellHeight) __builtin_trap();
    if (ScalePixelsByArea(pixels.data(), width, height, fitWidth, fitHeight) !=
        ScalePixelsByAreaPlain(pixels.data(), width, height, fitWidth, fitHeight))
        __builtin_trap();
}

} // namespace

namespace {

// The bytes followed by hundreds of megabytes of zeros, without holding them:
// a large drawing whose image block may claim an entry of that size.
class LargeFileReader : public ByteReader {
  public:
    explicit LargeFileReader(const std::string& bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size() + (512ull << 20); }
    size_t ReadAt(uint64_t offset, void* buf, size_t n) const override {
        if (offset >= Size()) return 0;
        if (n > Size() - offset) n = static_cast<size_t>(Size() - offset);
        std::memset(buf, 0, n);
        if (offset < bytes_.size()) {
            size_t real = std::min<uint64_t>(n, bytes_.size() - offset);
            std::memcpy(buf, bytes_.data() + offset, real);
        }
        return n;
    }

  private:
    const std::string& bytes_;
};

// The largest entry the program may take for a preview: a version-5 info
// header, the largest colour table and 32-bit rows of the largest bitmap.
constexpr uint64_t kLargestPreviewEntry = 124 + 12 + 4 * 256 + 4ull * kMaxDibSide * kMaxDibSide;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const uint8_t side = size ? data[size - 1] : 0; // the thumbnail cell's width
    MemoryReader reader(bytes);
    std::string code = ReleaseCodeOf(reader);
    VersionTextOf(code);
    ReleaseSupportsPreview(code);

    // In a large file, whatever the entry claims, what is taken stays within
    // the preview limit.
    PreviewEntry large;
    if (FindPreviewEntry(LargeFileReader(bytes), large) == PreviewLookup::Found &&
        PreviewEntryFits(large.header.data(), large.size) && large.size > kLargestPreviewEntry)
        __builtin_trap();

    PreviewEntry entry;
    if (FindPreviewEntry(reader, entry) == PreviewLookup::Found &&
        PreviewEntryFits(entry.header.data(), entry.size)) {
        // What the program writes as the preview bitmap and then decodes.
        std::array<uint8_t, 14> header = PreviewFileHeader(entry.header);
        std::unique_ptr<char[]> body = PreviewData(reader, entry);
        if (body) {
            std::string file(reinterpret_cast<const char*>(header.data()), header.size());
            file.append(body.get(), entry.size);
            DibPicture picture;
            std::vector<uint8_t> pixels;
            if (DecodeDibFile(file, picture) && DibPixels32(picture, pixels))
                CheckThumbnail(picture, pixels, side);
        }
    }
    PngEntry png;
    if (FindPngEntry(reader, png)) {
        if (png.start >= size || png.size > size - png.start) __builtin_trap();
        std::string data = bytes.substr(png.start, png.size);
        CheckPng(data);
        CheckPng(WithGoodCrcs(data));
    }
    // The decoders also meet damaged files of their own.
    DibPicture picture;
    std::vector<uint8_t> pixels;
    if (DecodeDibFile(bytes, picture) && DibPixels32(picture, pixels)) {
        if (pixels.size() != static_cast<size_t>(picture.layout.width) * picture.layout.height * 4)
            __builtin_trap();
        CheckThumbnail(picture, pixels, side);
    }
    CheckPng(WithGoodCrcs(bytes));

    // The properties read back from their kept form as they were; the kept
    // form itself taken from any bytes.
    DrawingProperties props, back;
    if (ReadDrawingProperties(reader, props)) {
        std::string kept = SerializeProperties(props);
        if (!ParseProperties(kept, back) || SerializeProperties(back) != kept) __builtin_trap();
        FilledProperties(props);
    }
    if (ParseProperties(bytes, back)) FilledProperties(back);
    return 0;
}
