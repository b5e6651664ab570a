#include "inspect/dwg_inspect.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "inspect/dib_layout.h"
#include "inspect/dwg_format.h"
#include "inspect/png_decode.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"

static void ReportOpenFailure(const std::string& path) {
    std::fprintf(stderr, "Can't open file %s\n", path.c_str());
}

std::string ReadDwgVersion(const std::string& path) {
    PreviewSupported = true;
    if (!PathExists(path)) return kFileNotFoundVersion;
    std::string code;
    {
        FileStream file(path.c_str(), "rb");
        if (!file) {
            // A drawing locked by another program is shown, not fatal. Its
            // release may well carry a preview: it cannot be read now.
            ReportOpenFailure(path);
            return "Unknown Version";
        }
        code = ReleaseCodeOf(StreamReader(file.get()));
    }
    if (!ReleaseSupportsPreview(code)) PreviewSupported = false;
    return VersionTextOf(code);
}

// Writes the drawing's PNG preview, decoded into a 24-bit bitmap, as the
// preview bitmap file; nothing when it is missing, damaged or too large.
static void ExtractPngPreview(const ByteReader& reader) {
    PngEntry entry;
    if (!FindPngEntry(reader, entry)) return;
    std::string png(entry.size, '\0');
    PngHeader header;
    std::string bmp;
    if (reader.ReadAt(entry.start, &png[0], entry.size) != entry.size ||
        !CheckPngData(png, header) || !DecodePngToBmp(png, header, bmp))
        return;
    PreviewIs8Bit = false;

    FileStream out(Paths.previewBitmap.c_str(), "wb+");
    if (!out) {
        ReportOpenFailure(Paths.previewBitmap);
        std::exit(1);
    }
    std::fwrite(bmp.data(), 1, bmp.size(), out.get());
}

void ExtractPreview(const std::string& path) {
    // The old preview goes first, so that a stale one never answers for a
    // drawing that has vanished.
    if (PathExists(Paths.previewBitmap)) DeleteFileA(Paths.previewBitmap.c_str());
    if (!PathExists(path)) return;

    // A drawing that cannot be read was reported when its release was read.
    FileStream file(path.c_str(), "rb");
    if (!file) return;
    StreamReader reader(file.get());
    PreviewEntry entry;
    PreviewLookup lookup = FindPreviewEntry(reader, entry);
    // A bitmap is preferred; drawings of 2013 and later carry only a PNG.
    if (lookup == PreviewLookup::None) ExtractPngPreview(reader);
    if (lookup != PreviewLookup::Found) return;
    if (!PreviewEntryFits(entry.header.data(), entry.size)) return;
    PreviewIs8Bit = PreviewBitCount(entry.header) == 8;

    std::array<uint8_t, 14> header = PreviewFileHeader(entry.header);
    std::unique_ptr<char[]> data = PreviewData(reader, entry);
    file.close();
    if (!data) return;

    FileStream out(Paths.previewBitmap.c_str(), "wb+");
    if (!out) {
        ReportOpenFailure(Paths.previewBitmap);
        std::exit(1);
    }
    std::fwrite(header.data(), 1, header.size(), out.get());
    std::fwrite(data.get(), 1, entry.size, out.get());
}
