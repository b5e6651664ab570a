#include "inspect/preview_bitmap.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "inspect/dib_layout.h"
#include "inspect/dwg_inspect.h"
#include "runtime/file_facts.h"
#include "inspect/picture_scaling.h"
#include "inspect/thumbnail_cell.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/win_helpers.h"

namespace {

// The header of a top-down bitmap of 24 or 32 bits.
BITMAPINFO TopDownInfo(int width, int height, WORD bitCount) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = bitCount;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

// The raster route cannot go on without its pixels; the program ends as it
// always has in that case.
[[noreturn]] void AbortWithMemoryProblem(const char* caption) {
    ShowMessage("Memory Problem ... aborting", caption, MB_OK);
    std::fflush(stdout);
    ExitProcess(0);
}

// Swap in one block: copy the bitmap, read the copy as 32-bit pixels, change
// them in memory and write them back. Returns the copy.
HBITMAP SwapOnRaster(HBITMAP bitmap) {
    BITMAP source = {};
    GetObjectA(bitmap, sizeof source, &source);
    GdiObject<HBITMAP> copy;
    {
        MemoryDC from;
        from.select(bitmap);
        MemoryDC to(from.get());
        copy.reset(CreateCompatibleBitmap(from.get(), source.bmWidth, source.bmHeight));
        if (copy.get()) {
            to.select(copy.get());
            BitBlt(to.get(), 0, 0, source.bmWidth, source.bmHeight, from.get(), 0, 0, SRCCOPY);
        }
    } // GetDIBits needs the copy out of every device context

    BITMAP desc = {};
    if (!copy.get() || !GetObjectA(copy.get(), sizeof desc, &desc))
        AbortWithMemoryProblem("BITMAP");
    const int width = desc.bmWidth, height = desc.bmHeight;
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow)
                                          uint8_t[static_cast<size_t>(width) * height * 4]);
    if (!pixels) AbortWithMemoryProblem("glpBits");

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height; // bottom-up
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    WindowDC screen;
    if (!GetDIBits(screen.get(), copy.get(), 0, height, pixels.get(), &bi, DIB_RGB_COLORS))
        AbortWithMemoryProblem("GetDIBits");

    uint8_t* p = pixels.get(); // blue, green, red, reserved
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, p += 4) {
            uint32_t colour = p[2] + 256u * p[1] + 65536u * p[0];
            if (colour == 0xFFFFFF)
                p[0] = p[1] = p[2] = 0;
            else if (colour == 0)
                p[0] = p[1] = p[2] = 255;
        }
        PumpMessages(); // a big preview must not freeze the window
    }
    SetDIBits(screen.get(), copy.get(), 0, height, pixels.get(), &bi, DIB_RGB_COLORS);
    return copy.release();
}

} // namespace

HBITMAP LoadPreviewBitmap(const std::string& path) {
    std::string bytes;
    DibPicture picture;
    if (!ReadWholeFile(path, bytes) || !DecodeDibFile(bytes, picture)) return nullptr;
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(picture.info.data());
    WindowDC screen;
    return CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT, picture.rows.data(), info,
                          DIB_RGB_COLORS);
}

HBITMAP SwapBlackWhite(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return bitmap;
    MemoryDC dc;
    dc.select(bitmap);
    for (int x = 0; x < info.bmWidth; ++x) {
        for (int y = 0; y < info.bmHeight; ++y) {
            COLORREF colour = GetPixel(dc.get(), x, y);
            if (colour == kWhite)
                SetPixel(dc.get(), x, y, kBlack);
            else if (colour == kBlack)
                SetPixel(dc.get(), x, y, kWhite);
        }
    }
    return bitmap;
}

HBITMAP AdaptPreviewColours(HBITMAP bitmap) {
    if (!bitmap || !PreviewIs8Bit) return bitmap;
    // Old systems (and ones the version code does not know) take the slow
    // per-pixel route; both change the same pixels.
    if (OsVersionCode() <= 4) return SwapBlackWhite(bitmap);
    return SwapOnRaster(bitmap);
}

HBITMAP ScaleBitmap(HBITMAP bitmap, int width, int height, UINT flags) {
    if (!bitmap) return nullptr;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    // Multiplying before dividing keeps whole results whole: a 180 x 115
    // picture scaled to 180 wide stays 115 high, not 114.
    if (height == 0 && info.bmWidth > 0)
        height = static_cast<int>(static_cast<double>(width) * info.bmHeight / info.bmWidth);
    else if (width == 0 && info.bmHeight > 0)
        width = static_cast<int>(static_cast<double>(height) * info.bmWidth / info.bmHeight);
    if (width <= 0 || height <= 0 || info.bmWidth <= 0 || info.bmHeight <= 0 ||
        (width == info.bmWidth && height == info.bmHeight))
        return static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, width, height, flags));

    // Shrinking by dropping pixels breaks thin lines apart. Halftone
    // stretching would average them on Windows but drops pixels under Wine,
    // so the pixels are averaged here, the same on both.
    BITMAPINFO bi = TopDownInfo(info.bmWidth, info.bmHeight, 32);
    std::vector<uint8_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight * 4);
    WindowDC screen;
    if (!GetDIBits(screen.get(), bitmap, 0, info.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS))
        return static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, width, height, flags));
    std::vector<uint8_t> scaled =
        ScalePixelsByArea(pixels.data(), info.bmWidth, info.bmHeight, width, height);
    bi = TopDownInfo(width, height, 32);
    HBITMAP result =
        CreateDIBitmap(screen.get(), &bi.bmiHeader, CBM_INIT, scaled.data(), &bi, DIB_RGB_COLORS);
    if (result && (flags & LR_COPYDELETEORG)) DeleteObject(bitmap);
    return result;
}

namespace {

// A top-down DIB section of 24 or 32 bits and its pixels. Made in memory:
// unlike a bitmap compatible with the screen, it costs no trips to a display
// server.
struct Section {
    GdiObject<HBITMAP> bitmap;
    uint8_t* bits = nullptr;
    int width, height;

    Section(int w, int h, WORD bitCount = 32) : width(w), height(h) {
        BITMAPINFO bi = TopDownInfo(width, height, bitCount);
        void* p = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
        bits = bitmap.get() ? static_cast<uint8_t*>(p) : nullptr;
    }
};

// The preview's pixels as 32-bit rows, top-down.
bool PreviewPixels(const DibPicture& picture, std::vector<uint8_t>& pixels) {
    if (DibPixels32(picture, pixels)) return true;
    // Colour masks and 16 bits are converted by the system, as the screen
    // would show them.
    const int width = picture.layout.width, height = picture.layout.height;
    Section source(width, height);
    if (!source.bits) return false;
    {
        MemoryDC dc;
        const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(picture.info.data());
        if (!SetDIBits(dc.get(), source.bitmap.get(), 0, height, picture.rows.data(), info,
                       DIB_RGB_COLORS))
            return false;
    }
    GdiFlush(); // the section's bits are read directly
    pixels.assign(source.bits, source.bits + static_cast<size_t>(width) * height * 4);
    return true;
}

// Bytes per row of a 24-bit section `width` pixels wide.
size_t Stride24(int width) {
    return (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
}

} // namespace

bool ComposePreviewCell(const std::string& preview, bool swapBlackWhite, int cellWidth,
                        int cellHeight, COLORREF background, std::vector<uint8_t>& cell) {
    DibPicture picture;
    std::vector<uint8_t> pixels;
    if (cellWidth <= 0 || cellHeight <= 0 || !DecodeDibFile(preview, picture) ||
        !PreviewPixels(picture, pixels))
        return false;
    const int width = picture.layout.width, height = picture.layout.height;
    if (swapBlackWhite) SwapBlackWhitePixels(pixels.data(), static_cast<size_t>(width) * height);
    cell = ComposeThumbnailCell(pixels.data(), width, height, cellWidth, cellHeight, background);
    return true;
}

int PutCellInImageList(HIMAGELIST images, int index, const std::vector<uint8_t>& cell,
                       int cellWidth, int cellHeight) {
    if (cell.size() < static_cast<size_t>(cellWidth) * cellHeight * 4) return -1;
    // Handed over in the image list's own 24 bits, which it copies fastest,
    // through one section kept for cells of that size.
    static std::unique_ptr<Section> kept;
    if (!kept || kept->width != cellWidth || kept->height != cellHeight)
        kept.reset(new Section(cellWidth, cellHeight, 24));
    if (!kept->bits) return -1;
    const size_t stride = Stride24(cellWidth);
    for (int y = 0; y < cellHeight; ++y) {
        const uint8_t* from = &cell[static_cast<size_t>(y) * cellWidth * 4];
        uint8_t* to = kept->bits + y * stride;
        for (int x = 0; x < cellWidth; ++x, from += 4, to += 3)
            to[0] = from[0], to[1] = from[1], to[2] = from[2];
    }
    GdiFlush();
    if (index < 0) return ImageList_Add(images, kept->bitmap.get(), nullptr);
    return ImageList_Replace(images, index, kept->bitmap.get(), nullptr) ? index : -1;
}

COLORREF ThumbnailBackground() {
    return BlackBackground ? RGB(0, 0, 0) : GetSysColor(COLOR_WINDOW);
}

CellKind ThumbnailCellOf(const DrawingRead& read, bool swapBlackWhite, int cellWidth,
                         int cellHeight, COLORREF background, std::vector<uint8_t>& cell) {
    if (read.preview.empty())
        return read.previewSupported || read.version == kFileNotFoundVersion
                   ? CellKind::kNotFound
                   : CellKind::kNotSupported;
    return ComposePreviewCell(read.preview, swapBlackWhite && read.previewIs8Bit == 1, cellWidth,
                              cellHeight, background, cell)
               ? CellKind::kCell
               : CellKind::kNotFound;
}

void MakeThumbnailOfPreview(const std::string& preview) {
    DrawingRead read;
    read.preview = preview;
    read.previewSupported = PreviewSupported;
    read.previewIs8Bit = PreviewIs8Bit ? 1 : 0;
    std::vector<uint8_t> cell;
    CellKind kind = ThumbnailCellOf(read, BlackBackground, Settings.thumbWidth,
                                    Settings.thumbHeight, ThumbnailBackground(), cell);
    int index =
        kind == CellKind::kCell
            ? PutCellInImageList(Thumbs.images, -1, cell, Settings.thumbWidth, Settings.thumbHeight)
            : -1;
    Thumbs.current = index >= 0                        ? index
                     : kind == CellKind::kNotSupported ? Thumbs.notSupported
                                                       : Thumbs.notFound;
    PreviewFound = !preview.empty();
}

bool ReadListPreview(std::string& name, std::string* preview) {
    // Vanished since the folder was read, or a name the system cannot open
    // (under Wine, "<" and ">"): no preview, never the one the previous
    // drawing left in the preview file.
    PreviewFound = false;
    if (!PathExists(name)) return false;
    name = WithTrailingBackslash(CurrentFolder()) + name;
    std::string bytes = ExtractPreview(name);
    PreviewFound = !bytes.empty();
    if (preview) *preview = std::move(bytes);
    return true;
}

void MakeListThumbnail(std::string& name) {
    std::string preview;
    if (!ReadListPreview(name, &preview)) {
        Thumbs.current = Thumbs.notFound;
        return;
    }
    MakeThumbnailOfPreview(preview);
}
