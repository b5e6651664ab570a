#include "inspect/preview_bitmap.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "inspect/dib_layout.h"
#include "inspect/dwg_inspect.h"
#include "inspect/file_facts.h"
#include "inspect/picture_scaling.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/win_helpers.h"

namespace {

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
    if (!ReadWholeFile(path, bytes)) return nullptr;
    return PreviewBitmapOf(bytes);
}

HBITMAP PreviewBitmapOf(const std::string& bytes) {
    DibPicture picture;
    if (!DecodeDibFile(bytes, picture)) return nullptr;
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
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight * 4);
    WindowDC screen;
    if (!GetDIBits(screen.get(), bitmap, 0, info.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS))
        return static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, width, height, flags));
    std::vector<uint8_t> scaled =
        ScalePixelsByArea(pixels.data(), info.bmWidth, info.bmHeight, width, height);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    HBITMAP result =
        CreateDIBitmap(screen.get(), &bi.bmiHeader, CBM_INIT, scaled.data(), &bi, DIB_RGB_COLORS);
    if (result && (flags & LR_COPYDELETEORG)) DeleteObject(bitmap);
    return result;
}

// Scales a preview into the list's thumbnail cell: to the cell's width, or
// to its height when a tall preview would not fit, and centred on the list's
// own background (black with the black background), so no part of the cell
// is left undrawn.
static HBITMAP FitToCell(HBITMAP bitmap, int cellWidth, int cellHeight) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0) return bitmap;
    bool tall = static_cast<long long>(info.bmHeight) * cellWidth >
                static_cast<long long>(cellHeight) * info.bmWidth;
    HBITMAP fitted = tall ? ScaleBitmap(bitmap, 0, cellHeight, LR_COPYDELETEORG)
                          : ScaleBitmap(bitmap, cellWidth, 0, LR_COPYDELETEORG);
    if (!fitted) {
        DeleteObject(bitmap); // a failed copy leaves the original
        return nullptr;
    }
    GdiObject<HBITMAP> scaled(fitted);
    if (!GetObjectA(scaled.get(), sizeof info, &info)) return nullptr;
    WindowDC screen;
    HBITMAP cell = CreateCompatibleBitmap(screen.get(), cellWidth, cellHeight);
    if (!cell) return nullptr;
    MemoryDC from(screen.get()), to(screen.get());
    from.select(scaled.get());
    to.select(cell);
    RECT all = {0, 0, cellWidth, cellHeight};
    FillRect(to.get(), &all,
             static_cast<HBRUSH>(BlackBackground ? GetStockObject(BLACK_BRUSH)
                                                 : GetSysColorBrush(COLOR_WINDOW)));
    BitBlt(to.get(), (cellWidth - info.bmWidth) / 2, (cellHeight - info.bmHeight) / 2, info.bmWidth,
           info.bmHeight, from.get(), 0, 0, SRCCOPY);
    return cell;
}

void MakeListThumbnail(std::string& name) {
    // Vanished since the folder was read, or a name the system cannot open
    // (under Wine, "<" and ">"): a placeholder of its own, never the image
    // the previous drawing left.
    if (!PathExists(name)) {
        Thumbs.current = Thumbs.notFound;
        PreviewFound = false;
        return;
    }
    name = WithTrailingBackslash(CurrentFolder()) + name;
    // The preview file is still written for every drawing, but the
    // thumbnail is made from its bytes at hand rather than read back.
    std::string preview = ExtractPreview(name);
    if (preview.empty()) {
        Thumbs.current = PreviewSupported ? Thumbs.notFound : Thumbs.notSupported;
        PreviewFound = false;
        return;
    }

    HBITMAP bitmap = PreviewBitmapOf(preview);
    if (bitmap && BlackBackground) {
        bool listing = ListingActive;
        HBITMAP adapted = AdaptPreviewColours(bitmap);
        if (adapted != bitmap) DeleteObject(bitmap);
        bitmap = adapted;
        // The adaptation pumps messages: a newer listing may have run and
        // rebuilt the image list, which this drawing must not reach.
        if (listing && !ListingActive) {
            if (bitmap) DeleteObject(bitmap);
            Thumbs.current = -1;
            return;
        }
    }
    bitmap = FitToCell(bitmap, Settings.thumbWidth, Settings.thumbHeight);
    // A damaged preview decodes to nothing: the row then shows no image.
    Thumbs.current = bitmap ? ImageList_Add(Thumbs.images, bitmap, bitmap) : -1;
    if (bitmap) DeleteObject(bitmap);
    PreviewFound = true;
}
