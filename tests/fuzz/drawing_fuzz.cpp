// Fuzz target for the byte-level drawing code: the release code, the image
// block directory, the preview's file header and the bitmap decoder, over
// arbitrary bytes. Built natively with sanitizers by scripts/fuzz.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "inspect/dib_layout.h"
#include "inspect/dwg_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryReader reader(bytes);
    std::string code = ReleaseCodeOf(reader);
    VersionTextOf(code);
    ReleaseSupportsPreview(code);

    PreviewEntry entry;
    if (FindPreviewEntry(reader, entry) == PreviewLookup::Found) {
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
