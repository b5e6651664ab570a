#include "tests/thumbs/thumb_support.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "inspect/dwg_format.h"
#include "runtime/handles.h"
#include "tests/support/dwg_builder.h"

Pixels ReadImage(HIMAGELIST list, int index) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    WindowDC screen;
    GdiObject<HBITMAP> canvas(CreateCompatibleBitmap(screen.get(), cx, cy));
    {
        MemoryDC dc(screen.get());
        dc.select(canvas.get());
        if (!ImageList_Draw(list, index, dc.get(), 0, 0, ILD_NORMAL)) return Pixels();
    }
    return ReadPixels(canvas.get());
}

Pixels Crop(const Pixels& p, int width, int height) {
    Pixels c;
    c.width = std::min(width, p.width);
    c.height = std::min(height, p.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            c.rgb.push_back(p.at(x, y));
    return c;
}

Pixels CropCentered(const Pixels& p, int width, int height) {
    Pixels c;
    c.width = std::min(width, p.width);
    c.height = std::min(height, p.height);
    int left = (p.width - c.width) / 2, top = (p.height - c.height) / 2;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            c.rgb.push_back(p.at(left + x, top + y));
    return c;
}

std::string BmpFile(const std::string& dib) {
    std::array<uint8_t, 40> info{};
    std::memcpy(info.data(), dib.data(), std::min<size_t>(40, dib.size()));
    std::array<uint8_t, 14> header = PreviewFileHeader(info);
    return std::string(header.begin(), header.end()) + dib;
}

static HBITMAP Placeholder(COLORREF colour) {
    WindowDC screen;
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), 180, 115);
    MemoryDC dc(screen.get());
    dc.select(bitmap);
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    RECT all = {0, 0, 180, 115};
    FillRect(dc.get(), &all, brush.get());
    return bitmap;
}

void ThumbnailTest::SetUp() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    Settings.thumbWidth = 180;
    Settings.thumbHeight = 144;
    BlackBackground = false;
    PreviewIs8Bit = false;
    PreviewSupported = true;
    PreviewFound = false;
    Paths.previewBitmap = temp.file("KvxBmp.bmp");

    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    previousDirectory = cwd;
    SetCurrentFolder(Folder());
    ASSERT_TRUE(SetCurrentDirectoryA(listed.path().c_str()));

    Thumbs.images = ImageList_Create(Settings.thumbWidth, Settings.thumbHeight, ILC_COLOR24, 0, 8);
    ASSERT_NE(nullptr, Thumbs.images);
    const COLORREF colours[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    int* indices[3] = {&Thumbs.noPreview, &Thumbs.notFound, &Thumbs.notSupported};
    for (int i = 0; i < 3; ++i) {
        GdiObject<HBITMAP> bitmap(Placeholder(colours[i]));
        *indices[i] = ImageList_Add(Thumbs.images, bitmap.get(), nullptr);
        ASSERT_EQ(i, *indices[i]);
    }
    Thumbs.current = 0;
}

void ThumbnailTest::TearDown() {
    ImageList_Destroy(Thumbs.images);
    Thumbs.images = nullptr;
    BlackBackground = false;
    SetCurrentDirectoryA(previousDirectory.c_str());
}

void ThumbnailTest::PutDrawing(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(WriteBytes(listed.file(name), bytes));
}

std::string ThumbnailTest::Folder() const {
    const std::string& p = listed.path();
    return Unslashed(p);
}
