// The executable's artwork: every resource the program loads by id is present,
// has the size and format the screens expect, and shows something.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "runtime/handles.h"
#include "runtime/ids.h"
#include "tests/support/pixels.h"
#include "tests/support/run_program.h"
#include "tests/support/version_resource.h"

namespace {

HINSTANCE Self() {
    return GetModuleHandleA(nullptr);
}

// The header of a bitmap resource as stored in the executable.
const BITMAPINFOHEADER* BitmapResourceHeader(int id) {
    HRSRC res = FindResourceA(Self(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (!res) return nullptr;
    HGLOBAL data = LoadResource(Self(), res);
    if (!data) return nullptr;
    return static_cast<const BITMAPINFOHEADER*>(LockResource(data));
}

// A bitmap loaded the way the list build loads it.
HBITMAP LoadBitmapResource(int id) {
    return static_cast<HBITMAP>(
        LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE));
}

// The box around the dark pixels inside the rectangle (x0, y0)-(x1, y1), inclusive.
struct Box {
    int left = 0, top = 0, right = -1, bottom = -1, count = 0;
};

Box DarkBox(const Pixels& px, int x0, int y0, int x1, int y1) {
    Box b;
    b.left = x1 + 1;
    b.top = y1 + 1;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (px.dark(x, y)) {
                ++b.count;
                if (x < b.left) b.left = x;
                if (x > b.right) b.right = x;
                if (y < b.top) b.top = y;
                if (y > b.bottom) b.bottom = y;
            }
    return b;
}

const int kPlaceholders[] = {IDB_NO_PREVIEW, IDB_PREVIEW_NOT_FOUND, IDB_PREVIEW_NOT_SUPPORTED};
const int kHtmlPictures[] = {IDB_HTML_TABLE, IDB_HTML_GRID4, IDB_HTML_GRID3};

} // namespace

TEST(PlaceholderBitmaps, StoredAs180By115TwoColourBlackAndWhite) {
    for (int id : kPlaceholders) {
        SCOPED_TRACE(id);
        const BITMAPINFOHEADER* h = BitmapResourceHeader(id);
        ASSERT_NE(nullptr, h);
        EXPECT_EQ(180, h->biWidth);
        EXPECT_EQ(115, h->biHeight);
        EXPECT_EQ(1, h->biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), h->biCompression);
        // Palette entry 0 black, entry 1 white: the black/white swap of the
        // black-background mode relies on pure colours.
        const RGBQUAD* pal =
            reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(h) + h->biSize);
        EXPECT_EQ(0, pal[0].rgbRed + pal[0].rgbGreen + pal[0].rgbBlue);
        EXPECT_EQ(255 * 3, pal[1].rgbRed + pal[1].rgbGreen + pal[1].rgbBlue);
    }
}

TEST(PlaceholderBitmaps, LoadAt180By115WithOneBitPerPixel) {
    for (int id : kPlaceholders) {
        SCOPED_TRACE(id);
        GdiObject<HBITMAP> bmp(LoadBitmapResource(id));
        ASSERT_NE(nullptr, bmp.get());
        BITMAP info{};
        ASSERT_TRUE(GetObjectA(bmp.get(), sizeof(info), &info));
        EXPECT_EQ(180, info.bmWidth);
        EXPECT_EQ(115, info.bmHeight);

        GdiObject<HBITMAP> dib(static_cast<HBITMAP>(
            LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_NE(nullptr, dib.get());
        DIBSECTION ds{};
        ASSERT_EQ(static_cast<int>(sizeof(ds)), GetObjectA(dib.get(), sizeof(ds), &ds));
        EXPECT_EQ(1, ds.dsBm.bmBitsPixel);
        EXPECT_EQ(1, ds.dsBmih.biBitCount);
    }
}

TEST(PlaceholderBitmaps, ShowCentredDarkTextOnWhite) {
    for (int id : kPlaceholders) {
        SCOPED_TRACE(id);
        GdiObject<HBITMAP> bmp(LoadBitmapResource(id));
        ASSERT_NE(nullptr, bmp.get());
        Pixels px = ReadPixels(bmp.get());
        ASSERT_EQ(180, px.width);
        ASSERT_EQ(115, px.height);

        // Inside a possible frame of two pixels: text, mostly white around it.
        Box text = DarkBox(px, 2, 2, 177, 112);
        EXPECT_GT(text.count, 300) << "no text";
        EXPECT_LT(text.count, 178 * 111 / 3) << "not black on white";
        // Large enough to read once the list shrinks it to a thumbnail.
        EXPECT_GE(text.right - text.left + 1, 90);
        EXPECT_GE(text.bottom - text.top + 1, 20);
        // Centred across; down the picture within a descender's height.
        int leftMargin = text.left, rightMargin = 179 - text.right;
        EXPECT_LE(std::abs(leftMargin - rightMargin), 3);
        int topMargin = text.top, bottomMargin = 114 - text.bottom;
        EXPECT_LE(std::abs(topMargin - bottomMargin), 8);
        EXPECT_GE(leftMargin, 4);
        EXPECT_GE(topMargin, 4);
        EXPECT_GE(bottomMargin, 4);
    }
}

TEST(PlaceholderBitmaps, EachReadsDifferently) {
    std::vector<Pixels> all;
    for (int id : kPlaceholders) {
        GdiObject<HBITMAP> bmp(LoadBitmapResource(id));
        ASSERT_NE(nullptr, bmp.get());
        all.push_back(ReadPixels(bmp.get()));
        ASSERT_FALSE(all.back().rgb.empty());
    }
    EXPECT_NE(all[0].rgb, all[1].rgb);
    EXPECT_NE(all[0].rgb, all[2].rgb);
    EXPECT_NE(all[1].rgb, all[2].rgb);
}

TEST(HtmlLayoutPictures, Stored64By48With16Colours) {
    for (int id : kHtmlPictures) {
        SCOPED_TRACE(id);
        const BITMAPINFOHEADER* h = BitmapResourceHeader(id);
        ASSERT_NE(nullptr, h);
        EXPECT_EQ(64, h->biWidth);
        EXPECT_EQ(48, h->biHeight);
        EXPECT_EQ(4, h->biBitCount);
    }
}

TEST(HtmlLayoutPictures, LoadAt64By48AndDifferFromEachOther) {
    std::vector<Pixels> all;
    for (int id : kHtmlPictures) {
        SCOPED_TRACE(id);
        GdiObject<HBITMAP> bmp(LoadBitmapResource(id));
        ASSERT_NE(nullptr, bmp.get());
        BITMAP info{};
        ASSERT_TRUE(GetObjectA(bmp.get(), sizeof(info), &info));
        EXPECT_EQ(64, info.bmWidth);
        EXPECT_EQ(48, info.bmHeight);
        all.push_back(ReadPixels(bmp.get()));
        ASSERT_EQ(64u * 48u, all.back().rgb.size());
        // A picture, not a flat fill: several colours.
        std::vector<uint32_t> colours;
        for (uint32_t p : all.back().rgb) {
            bool seen = false;
            for (uint32_t c : colours)
                seen = seen || c == p;
            if (!seen) colours.push_back(p);
        }
        EXPECT_GE(colours.size(), 3u);
    }
    EXPECT_NE(all[0].rgb, all[1].rgb);
    EXPECT_NE(all[0].rgb, all[2].rgb);
    EXPECT_NE(all[1].rgb, all[2].rgb);
}

TEST(ProgramIcon, LoadsAt32By32) {
    HICON icon =
        static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(IDI_KORVEX), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(nullptr, icon);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    GdiObject<HBITMAP> colour(ii.hbmColor), mask(ii.hbmMask);
    EXPECT_TRUE(ii.fIcon);
    ASSERT_NE(nullptr, colour.get());
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(colour.get(), sizeof(info), &info));
    EXPECT_EQ(32, info.bmWidth);
    EXPECT_EQ(32, info.bmHeight);
    // The shape has transparent parts and drawn parts.
    Pixels m = ReadPixels(mask.get());
    ASSERT_EQ(32, m.width);
    Box opaque = DarkBox(m, 0, 0, 31, 31);
    EXPECT_GT(opaque.count, 32 * 32 / 3);
    EXPECT_LT(opaque.count, 32 * 32);
    DestroyIcon(icon);

    // The small size used in title bars is there as well.
    HICON small =
        static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(IDI_KORVEX), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(nullptr, small);
    if (small) DestroyIcon(small);
}

namespace {

// The opaque pixels of a monochrome cursor (AND mask bit clear) and its hotspot.
struct CursorShape {
    Box opaque;
    int hotX = -1, hotY = -1;
    bool hotOpaque = false;
};

CursorShape ReadCursor(HCURSOR cursor) {
    CursorShape s;
    ICONINFO ii{};
    if (!GetIconInfo(cursor, &ii)) return s;
    GdiObject<HBITMAP> colour(ii.hbmColor), mask(ii.hbmMask);
    s.hotX = static_cast<int>(ii.xHotspot);
    s.hotY = static_cast<int>(ii.yHotspot);
    Pixels m = ReadPixels(mask.get());
    if (m.width != 32 || m.height < 32) return s;
    s.opaque = DarkBox(m, 0, 0, 31, 31);
    if (s.hotX >= 0 && s.hotX < 32 && s.hotY >= 0 && s.hotY < 32)
        s.hotOpaque = m.dark(s.hotX, s.hotY);
    return s;
}

} // namespace

TEST(Cursors, HandPointsWithItsHotspotAtTheFingertip) {
    HCURSOR hand = LoadCursorA(Self(), MAKEINTRESOURCEA(IDC_HAND_LINK));
    ASSERT_NE(nullptr, hand);
    CursorShape s = ReadCursor(hand);
    EXPECT_GT(s.opaque.count, 100);
    EXPECT_TRUE(s.hotOpaque);
    // The tip is the topmost drawn row.
    EXPECT_EQ(s.opaque.top, s.hotY);
}

TEST(Cursors, SplitterHasItsHotspotInTheMiddle) {
    HCURSOR splitter = LoadCursorA(Self(), MAKEINTRESOURCEA(IDC_SPLITTER));
    ASSERT_NE(nullptr, splitter);
    CursorShape s = ReadCursor(splitter);
    EXPECT_GT(s.opaque.count, 50);
    EXPECT_TRUE(s.hotOpaque);
    int midX = (s.opaque.left + s.opaque.right) / 2;
    int midY = (s.opaque.top + s.opaque.bottom) / 2;
    EXPECT_LE(std::abs(s.hotX - midX), 1);
    EXPECT_LE(std::abs(s.hotY - midY), 1);
    // Wider than tall: arrows to both sides.
    EXPECT_GT(s.opaque.right - s.opaque.left, 20);
}

// Korvex.exe's properties show one version, in its numbers and its texts:
// "1.95" for 1.95.0.0, the third number written only when it is not 0.
TEST(VersionResource, NumbersAndTextsAgree) {
    VersionResource v = ReadVersionResource(BuiltProgram("Korvex.exe"));
    ASSERT_TRUE(v.found);
    std::string expected = std::to_string(v.numbers[0]) + "." + std::to_string(v.numbers[1]);
    if (v.numbers[2]) expected += "." + std::to_string(v.numbers[2]);
    EXPECT_EQ(expected, v.productVersion);
    EXPECT_EQ(expected, v.fileVersion);
    EXPECT_EQ(0u, v.numbers[3]);
    EXPECT_GT(v.numbers[0] + v.numbers[1] + v.numbers[2], 0u);
}
