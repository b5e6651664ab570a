// Fuzz target for the byte-level drawing code: the release code, the image
// block directory, the preview size limit, the preview's file header and the
// bitmap decoder, over arbitrary bytes. Built natively with sanitizers by scripts/fuzz.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "inspect/dib_layout.h"
#include "inspect/dwg_format.h"

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
            DecodeDibFile(file, picture);
        }
    }
    // The decoder also meets damaged bitmap files of its own.
    DibPicture picture;
    DecodeDibFile(bytes, picture);
    return 0;
}
