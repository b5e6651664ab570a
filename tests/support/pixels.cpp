#include "tests/support/pixels.h"

#include "runtime/handles.h"

Pixels ReadPixels(HBITMAP bitmap) {
    Pixels p;
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return p;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> bgra(static_cast<size_t>(info.bmWidth) * info.bmHeight * 4);
    WindowDC screen;
    if (GetDIBits(screen.get(), bitmap, 0, info.bmHeight, bgra.data(), &bi, DIB_RGB_COLORS) !=
        info.bmHeight)
        return p;
    p.width = info.bmWidth;
    p.height = info.bmHeight;
    for (size_t i = 0; i < bgra.size(); i += 4)
        p.rgb.push_back(uint32_t{bgra[i + 2]} << 16 | uint32_t{bgra[i + 1]} << 8 | bgra[i]);
    return p;
}
