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
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) != bytes.size())
        SetEndOfFile(file); // the file pointer stands at the end of the bytes written
    CloseHandle(file);
}

// The drawing's PNG preview decoded into a 24-bit bitmap file's bytes; empty
// when it is missing, damaged or too large.
static std::string PngPreviewFile(const ByteReader& reader) {
    PngEntry entry;
    if (!FindPngEntry(reader, entry)) return std::string();
    std::string png(entry.size, '\0');
    PngHeader header;
    std::string bmp;
    if (reader.ReadAt(entry.start, &png[0], entry.size) != entry.size ||
        !CheckPngData(png, header) || !DecodePngToBmp(png, header, bmp))
        return std::string();
    PreviewIs8Bit = false;
    return bmp;
}

// The bytes of the preview file for the drawing at path; empty when it has
// no preview that can be shown.
static std::string PreviewFileOf(const std::string& path) {
    if (!PathExists(path)) return std::string();
    // A drawing that cannot be read was reported when its release was read.
    FileStream file(path.c_str(), "rb");
    if (!file) return std::string();
    StreamReader reader(file.get());
    PreviewEntry entry;
    PreviewLookup lookup = FindPreviewEntry(reader, entry);
    // A bitmap is preferred; drawings of 2013 and later carry only a PNG.
    if (lookup == PreviewLookup::None) return PngPreviewFile(reader);
    if (lookup != PreviewLookup::Found) return std::string();
    if (!PreviewEntryFits(entry.header.data(), entry.size)) return std::string();
    PreviewIs8Bit = PreviewBitCount(entry.header) == 8;

    std::array<uint8_t, 14> header = PreviewFileHeader(entry.header);
    std::unique_ptr<char[]> data = PreviewData(reader, entry);
    if (!data) return std::string();
    std::string bytes(reinterpret_cast<const char*>(header.data()), header.size());
    bytes.append(data.get(), entry.size);
    return bytes;
}

std::string ExtractPreview(const std::string& path) {
    std::string bytes = PreviewFileOf(path);
    if (!bytes.empty())
        WritePreviewFile(bytes);
    else if (PathExists(Paths.previewBitmap))
        // A stale preview must never answer for a drawing without one.
        DeleteFileA(Paths.previewBitmap.c_str());
    return bytes;
}
