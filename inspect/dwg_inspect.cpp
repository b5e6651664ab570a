#include "inspect/dwg_inspect.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "inspect/dib_layout.h"
#include "inspect/dwg_format.h"
#include "inspect/png_decode.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/long_paths.h"

static void ReportOpenFailure(const std::string& path) {
    std::fprintf(stderr, "Can't open file %s\n", path.c_str());
}

namespace {

constexpr uint64_t kFirstBlock = 64 * 1024;

// A drawing open for reading, its first block read at once: the release
// code, the image block's address and, in most drawings, the preview itself
// lie in the first 64 KB, so one open and one read serve them all.
class BlockFileReader : public ByteReader {
  public:
    BlockFileReader(const std::string& path, uint64_t blockSize) : h_(OpenForReading(path)) {
        if (!valid()) return;
        block_.resize(static_cast<size_t>(blockSize));
        DWORD got = 0;
        if (!ReadFile(h_, &block_[0], static_cast<DWORD>(block_.size()), &got, nullptr)) got = 0;
        // A first read that stops short has read the whole file: its size
        // needs no asking.
        if (got < block_.size()) size_ = got;
        block_.resize(got);
    }
    ~BlockFileReader() override {
        if (valid()) CloseHandle(h_);
    }
    BlockFileReader(const BlockFileReader&) = delete;
    BlockFileReader& operator=(const BlockFileReader&) = delete;

    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    uint64_t Size() const override {
        LARGE_INTEGER size = {};
        if (size_ == kUnknown) size_ = GetFileSizeEx(h_, &size) ? size.QuadPart : 0;
        return size_;
    }
    size_t ReadAt(uint64_t offset, void* buf, size_t n) const override {
        if (offset + n <= block_.size()) {
            std::memcpy(buf, block_.data() + offset, n);
            return n;
        }
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD got = 0;
        if (n > 0xFFFFFFFFu || !SetFilePointerEx(h_, at, nullptr, FILE_BEGIN) ||
            !ReadFile(h_, buf, static_cast<DWORD>(n), &got, nullptr))
            return 0;
        return got;
    }

  private:
    static constexpr uint64_t kUnknown = ~uint64_t(0);
    HANDLE h_;
    mutable uint64_t size_ = kUnknown;
    std::string block_;
};

} // namespace

// Writes the preview file over the previous one in place: deleting and
// re-creating it, or truncating it to nothing first, costs the listing far
// more than overwriting its bytes. A shorter preview cuts the file to length.
static void WritePreviewFile(const std::string& bytes) {
    HANDLE file = CreateFileA(Paths.previewBitmap.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ReportOpenFailure(Paths.previewBitmap);
        std::exit(1);
    }
    LARGE_INTEGER start = {};
    SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) != bytes.size())
        SetEndOfFile(file); // the file pointer stands at the end of the bytes written
    CloseHandle(file);
}

// The drawing's PNG preview decoded into a 24-bit bitmap file's bytes; empty
// when it is missing, damaged or too large.
static std::string PngPreviewFile(const ByteReader& reader, signed char& is8Bit) {
    PngEntry entry;
    if (!FindPngEntry(reader, entry)) return std::string();
    std::string png(entry.size, '\0');
    PngHeader header;
    std::string bmp;
    if (reader.ReadAt(entry.start, &png[0], entry.size) != entry.size ||
        !CheckPngData(png, header) || !DecodePngToBmp(png, header, bmp))
        return std::string();
    is8Bit = 0;
    return bmp;
}

// The bytes of the preview file for a drawing; empty when it has no preview
// that can be shown. A preview found tells whether it has 8 bits a pixel.
// Bytes of the entry past the end of the drawing are written as zeros, but
// a picture is only made of pixels that are all in the drawing: one cut
// short is no preview.
static std::string PreviewFileOf(const ByteReader& reader, signed char& is8Bit) {
    PreviewEntry entry;
    PreviewLookup lookup = FindPreviewEntry(reader, entry);
    // A bitmap is preferred; drawings of 2013 and later carry only a PNG.
    if (lookup == PreviewLookup::None) return PngPreviewFile(reader, is8Bit);
    if (lookup != PreviewLookup::Found) return std::string();
    if (!PreviewEntryFits(entry.header.data(), entry.size)) return std::string();

    std::array<uint8_t, 14> header = PreviewFileHeader(entry.header);
    size_t got = 0;
    std::unique_ptr<char[]> data = PreviewData(reader, entry, &got);
    if (!data) return std::string();
    std::string bytes(reinterpret_cast<const char*>(header.data()), header.size());
    bytes.append(data.get(), got);
    DibLayout layout;
    if (got < entry.size && !LocateDibParts(bytes, layout)) return std::string();
    bytes.append(data.get() + got, entry.size - got);
    is8Bit = PreviewBitCount(entry.header) == 8;
    return bytes;
}

static void TakeIs8Bit(signed char is8Bit) {
    if (is8Bit >= 0) PreviewIs8Bit = is8Bit != 0;
}

static void KeepPreviewFile(const std::string& bytes) {
    if (!bytes.empty())
        WritePreviewFile(bytes);
    else if (PathExists(Paths.previewBitmap)) {
        // A stale preview must never answer for a drawing without one.
        DeleteFileA(Paths.previewBitmap.c_str());
    }
}

// Enough for the properties of most drawings in the first read: their block
// lies a few hundred bytes in (3 KB in 2007's, read on its own).
constexpr uint64_t kPropertiesBlock = 2048;

static std::shared_ptr<const DrawingProperties> PropertiesOf(const ByteReader& reader) {
    auto props = std::make_shared<DrawingProperties>();
    if (!ReadDrawingProperties(reader, *props)) return nullptr;
    return props;
}

std::shared_ptr<const DrawingProperties> ReadPropertiesOf(const std::string& path) {
    BlockFileReader reader(path, kPropertiesBlock);
    return reader.valid() ? PropertiesOf(reader) : nullptr;
}

DrawingRead ReadDrawingAlone(const std::string& path, bool withPreview, bool withProperties) {
    DrawingRead read;
    // The release alone needs the first six bytes. Whether a drawing that
    // cannot be opened is there at all is asked only then: a listing opens
    // every drawing, and one question to the system less for each counts.
    BlockFileReader reader(path, withPreview      ? kFirstBlock
                                 : withProperties ? kPropertiesBlock
                                                  : 64);
    if (!reader.valid() && !PathExists(path)) {
        read.version = kFileNotFoundVersion;
        return read;
    }
    if (!reader.valid()) {
        // A drawing locked by another program is shown, not fatal. Its
        // release may well carry a preview: it cannot be read now.
        read.unreadable = true;
        read.version = "Unknown Version";
    } else {
        std::string code = ReleaseCodeOf(reader);
        read.previewSupported = ReleaseSupportsPreview(code);
        read.version = VersionTextOf(code);
        if (withPreview) read.preview = PreviewFileOf(reader, read.previewIs8Bit);
        if (withProperties) read.properties = PropertiesOf(reader);
    }
    return read;
}

std::string ExtractPreview(const std::string& path) {
    // A drawing that cannot be read was reported when its release was read.
    DrawingRead read = ReadDrawingAlone(path, true);
    TakeIs8Bit(read.previewIs8Bit);
    KeepPreviewFile(read.preview);
    return read.preview;
}

void TakeDrawingRead(const std::string& path, const DrawingRead& read, bool withPreview) {
    if (read.unreadable) ReportOpenFailure(path);
    PreviewSupported = read.previewSupported;
    TakeIs8Bit(read.previewIs8Bit);
    if (withPreview && read.version != kFileNotFoundVersion) KeepPreviewFile(read.preview);
}

DrawingRead ReadDrawing(const std::string& path, bool withPreview) {
    DrawingRead read = ReadDrawingAlone(path, withPreview);
    TakeDrawingRead(path, read, withPreview);
    return read;
}

std::string ReadDwgVersion(const std::string& path) {
    return ReadDrawing(path, false).version;
}
