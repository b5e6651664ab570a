// korvex_demo FOLDER: fills FOLDER with a small set of drawings to look at in
// Korvex: several releases with recognisable preview pictures, drawings
// without a preview, old releases that cannot carry one, a template, a
// backup, a sub-folder and a text file. The output is the same on every run.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/dwg_builder.h"
#include "tests/support/png_builder.h"

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 160;

// Colours of the drawing palette (see DrawingPalette).
constexpr uint32_t kBlack = 0x000000, kRed = 0xFF0000, kYellow = 0xFFFF00, kGreen = 0x00FF00,
                   kCyan = 0x00FFFF, kBlue = 0x0000FF, kMagenta = 0xFF00FF, kWhite = 0xFFFFFF,
                   kGrey = 0x808080, kSilver = 0xC0C0C0;

// Line types: 'x' draws, anything else leaves a gap; the pattern repeats.
const char* const kDashed = "xxxxxx   ";
const char* const kDashDot = "xxxxxxxxx  x  ";
const char* const kDotted = "x  ";

constexpr double kPi = 3.14159265358979323846;

// Glyphs 5 x 7, one byte per row from the top, bit 4 the leftmost pixel.
struct Glyph {
    char c;
    uint8_t rows[7];
};
const Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
    {'=', {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}},
    {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
};

// A picture to draw lines, arcs and text on, x to the right and y down.
class Canvas {
  public:
    explicit Canvas(uint32_t paper = kWhite) : px_(kWidth * kHeight, paper) {}

    uint32_t At(int x, int y) const { return px_[y * kWidth + x]; }

    void Dot(int x, int y, uint32_t c, int size = 1) {
        for (int dy = 0; dy < size; ++dy)
            for (int dx = 0; dx < size; ++dx)
                Set(x + dx, y + dy, c);
    }

    void Line(int x0, int y0, int x1, int y1, uint32_t c, int size = 1,
              const char* pattern = nullptr) {
        int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (int step = 0;; ++step) {
            if (Draws(pattern, step)) Dot(x0, y0, c, size);
            if (x0 == x1 && y0 == y1) break;
            int e2 = 2 * err;
            if (e2 >= dy) err += dy, x0 += sx;
            if (e2 <= dx) err += dx, y0 += sy;
        }
    }

    void Rect(int x0, int y0, int x1, int y1, uint32_t c, int size = 1) {
        Line(x0, y0, x1, y0, c, size);
        Line(x1, y0, x1, y1, c, size);
        Line(x1, y1, x0, y1, c, size);
        Line(x0, y1, x0, y0, c, size);
    }

    void Fill(int x0, int y0, int x1, int y1, uint32_t c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                Set(x, y, c);
    }

    // Angles in degrees, clockwise on screen from the +x direction.
    void Arc(int cx, int cy, int r, double from, double to, uint32_t c,
             const char* pattern = nullptr) {
        int steps = static_cast<int>((to - from) / 360.0 * 2 * kPi * r) + 1;
        for (int i = 0; i <= steps; ++i) {
            double a = (from + (to - from) * i / steps) * kPi / 180.0;
            if (Draws(pattern, i))
                Set(cx + static_cast<int>(std::lround(r * std::cos(a))),
                    cy + static_cast<int>(std::lround(r * std::sin(a))), c);
        }
    }

    void Circle(int cx, int cy, int r, uint32_t c, const char* pattern = nullptr) {
        Arc(cx, cy, r, 0, 360, c, pattern);
    }

    void Text(int x, int y, const std::string& text, uint32_t c) {
        for (char ch : text) {
            for (const Glyph& g : kFont) {
                if (g.c != ch) continue;
                for (int row = 0; row < 7; ++row)
                    for (int col = 0; col < 5; ++col)
                        if (g.rows[row] & (0x10 >> col)) Set(x + col, y + row, c);
            }
            x += 6;
        }
    }

    // Diagonal hatching inside a rectangle, leaving out a band of rows.
    void Hatch(int x0, int y0, int x1, int y1, uint32_t c, int skipFrom = 1, int skipTo = 0) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if ((x + y) % 6 == 0 && !(y >= skipFrom && y <= skipTo)) Set(x, y, c);
    }

    void Set(int x, int y, uint32_t c) {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) px_[y * kWidth + x] = c;
    }

  private:
    static bool Draws(const char* pattern, int step) {
        if (!pattern) return true;
        size_t n = std::strlen(pattern);
        return pattern[static_cast<size_t>(step) % n] == 'x';
    }

    std::vector<uint32_t> px_;
};

// A linear dimension with ticks and its text above the line.
void HorizontalDimension(Canvas& k, int x0, int x1, int y, int from, const std::string& text) {
    k.Line(x0, from, x0, y - 3, kRed);
    k.Line(x1, from, x1, y - 3, kRed);
    k.Line(x0, y, x1, y, kRed);
    k.Line(x0 - 2, y + 2, x0 + 2, y - 2, kRed);
    k.Line(x1 - 2, y + 2, x1 + 2, y - 2, kRed);
    k.Text((x0 + x1) / 2 - static_cast<int>(text.size()) * 3, y - 9, text, kRed);
}

void VerticalDimension(Canvas& k, int y0, int y1, int x, int from) {
    k.Line(from, y0, x + 3, y0, kRed);
    k.Line(from, y1, x + 3, y1, kRed);
    k.Line(x, y0, x, y1, kRed);
    k.Line(x - 2, y0 + 2, x + 2, y0 - 2, kRed);
    k.Line(x - 2, y1 + 2, x + 2, y1 - 2, kRed);
}

// A window in a horizontal wall: the wall opened and three thin lines.
void WindowInHorizontalWall(Canvas& k, int x0, int x1, int y) {
    k.Fill(x0, y, x1, y + 2, kWhite);
    k.Line(x0, y, x1, y, kBlack);
    k.Line(x0, y + 1, x1, y + 1, kCyan);
    k.Line(x0, y + 2, x1, y + 2, kBlack);
}

void WindowInVerticalWall(Canvas& k, int y0, int y1, int x) {
    k.Fill(x, y0, x + 2, y1, kWhite);
    k.Line(x, y0, x, y1, kBlack);
    k.Line(x + 1, y0, x + 1, y1, kCyan);
    k.Line(x + 2, y0, x + 2, y1, kBlack);
}

Canvas FloorPlan(const std::string& title, bool revised) {
    Canvas k;
    HorizontalDimension(k, 20, 238, 13, 21, "12000");
    VerticalDimension(k, 22, 140, 8, 19);

    k.Rect(20, 22, 236, 138, kBlack, 3);  // outer walls
    k.Line(130, 22, 130, 138, kBlack, 2); // living | rooms
    k.Line(130, 80, 236, 80, kBlack, 2);  // kitchen | bedroom
    k.Line(20, 95, 90, 95, kBlack, 2);    // living | bath
    k.Line(90, 95, 90, 138, kBlack, 2);

    WindowInHorizontalWall(k, 40, 100, 22);
    WindowInHorizontalWall(k, 160, 215, 22);
    WindowInVerticalWall(k, 95, 125, 236);

    // Doors: opening, leaf and swing.
    k.Fill(130, 40, 131, 58, kWhite); // living -> kitchen
    k.Line(131, 40, 149, 40, kBlack);
    k.Arc(131, 40, 18, 0, 90, kBlack);
    k.Fill(130, 100, 131, 118, kWhite); // living -> bedroom
    k.Line(131, 118, 149, 118, kBlack);
    k.Arc(131, 118, 18, -90, 0, kBlack);
    k.Fill(50, 138, 68, 140, kWhite); // entrance
    k.Line(50, 138, 50, 120, kBlack);
    k.Arc(50, 138, 18, 270, 360, kBlack);
    k.Fill(60, 95, 75, 96, kWhite); // bath
    k.Line(60, 96, 60, 111, kBlack);
    k.Arc(60, 96, 15, 0, 90, kBlack);

    k.Text(50, 55, "LIVING", kBlue);
    k.Text(28, 120, "BATH", kBlue);
    k.Text(148, 100, "BED 1", kBlue);
    if (revised) {
        k.Text(160, 45, "KITCHEN", kBlue);
        k.Rect(200, 26, 232, 34, kGrey); // counter
        k.Circle(212, 30, 2, kGrey);
        k.Rect(190, 88, 230, 120, kGrey); // bed
        k.Rect(194, 90, 226, 96, kSilver);
    }
    k.Rect(24, 99, 42, 108, kGrey); // bath tub
    k.Text(20, 148, title, kBlack);
    k.Text(190, 148, "1:100", kMagenta);
    return k;
}

Canvas Flange() {
    Canvas k;
    const int cx = 80, cy = 80;
    k.Line(10, cy, 150, cy, kRed, 1, kDashDot);
    k.Line(cx, 10, cx, 150, kRed, 1, kDashDot);
    k.Circle(cx, cy, 62, kBlack);
    k.Circle(cx, cy, 34, kBlack);
    k.Circle(cx, cy, 18, kBlack);
    k.Circle(cx, cy, 48, kRed, kDashDot);
    for (int i = 0; i < 8; ++i) {
        double a = (22.5 + 45 * i) * kPi / 180.0;
        k.Circle(cx + static_cast<int>(std::lround(48 * std::cos(a))),
                 cy + static_cast<int>(std::lround(48 * std::sin(a))), 6, kBlack);
    }

    // Section A-A: plate and hub, the bore left open.
    k.Hatch(171, 19, 184, 141, kBlue, 62, 98);
    k.Hatch(185, 47, 214, 113, kBlue, 62, 98);
    k.Rect(170, 18, 185, 142, kBlack);
    k.Rect(185, 46, 215, 114, kBlack);
    k.Fill(171, 62, 214, 98, kWhite);
    k.Line(170, 62, 215, 62, kBlack);
    k.Line(170, 98, 215, 98, kBlack);
    for (int y : {26, 38, 122, 134})
        k.Line(170, y, 185, y, kBlack, 1, kDashed);
    k.Line(160, cy, 225, cy, kRed, 1, kDashDot);
    k.Text(183, 6, "A-A", kBlack);
    k.Text(160, 150, "FLANGE DN150", kBlack);
    return k;
}

Canvas TitleBlock(const std::string& heading) {
    Canvas k;
    k.Rect(1, 1, 254, 158, kBlack);
    k.Rect(10, 10, 245, 149, kBlack, 2);
    const char* columns[] = {"1", "2", "3", "4"};
    for (int i = 0; i < 4; ++i) {
        k.Text(36 + i * 59, 2, columns[i], kBlack);
        if (i > 0) k.Line(10 + i * 59, 1, 10 + i * 59, 9, kBlack);
    }
    const char* rows[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        k.Text(3, 30 + i * 46, rows[i], kBlack);
        if (i > 0) k.Line(1, 10 + i * 46, 9, 10 + i * 46, kBlack);
    }

    k.Rect(130, 100, 245, 149, kBlack);
    k.Line(130, 112, 245, 112, kBlack);
    k.Line(130, 124, 245, 124, kBlack);
    k.Line(130, 136, 245, 136, kBlack);
    k.Line(202, 124, 202, 149, kBlack);
    k.Fill(131, 101, 141, 111, kMagenta); // company mark
    k.Text(145, 103, "KORVEX DEMO", kBlue);
    k.Text(133, 115, heading, kBlue);
    k.Text(133, 127, "SCALE 1:100", kBlack);
    k.Text(206, 127, "REV A", kBlack);
    k.Text(133, 139, "DRG 001", kBlack);
    k.Text(206, 139, "SH 1/1", kBlack);

    k.Text(18, 18, "NOTES:", kBlack);
    for (int i = 0; i < 4; ++i)
        k.Line(18, 32 + i * 8, 100 - i * 12, 32 + i * 8, kGrey);
    return k;
}

Canvas SitePlan() {
    Canvas k;
    // Road with its centre line.
    k.Line(4, 0, 4, 159, kBlack);
    k.Line(16, 0, 16, 159, kBlack);
    k.Line(10, 0, 10, 159, kYellow, 1, kDashed);
    // Contours.
    k.Arc(300, 220, 150, 180, 270, kCyan, kDotted);
    k.Arc(300, 220, 120, 180, 270, kCyan, kDotted);
    // Plot boundary.
    const int plot[][2] = {{24, 20}, {200, 14}, {236, 120}, {40, 146}};
    for (int i = 0; i < 4; ++i)
        k.Line(plot[i][0], plot[i][1], plot[(i + 1) % 4][0], plot[(i + 1) % 4][1], kRed, 1,
               kDashDot);
    // Building: an L in grey with its outline.
    k.Fill(80, 50, 160, 90, kSilver);
    k.Fill(80, 90, 120, 110, kSilver);
    const int house[][2] = {{80, 50}, {160, 50}, {160, 90}, {120, 90}, {120, 110}, {80, 110}};
    for (int i = 0; i < 6; ++i)
        k.Line(house[i][0], house[i][1], house[(i + 1) % 6][0], house[(i + 1) % 6][1], kBlack, 2);
    // Drive and parking.
    k.Line(16, 70, 80, 70, kBlack);
    k.Line(16, 84, 80, 84, kBlack);
    for (int i = 0; i < 7; ++i)
        k.Line(170 + i * 8, 96, 170 + i * 8, 112, kBlack);
    k.Line(170, 96, 218, 96, kBlack);
    // Trees.
    const int trees[][2] = {{40, 35}, {60, 125}, {180, 30}, {200, 130}, {140, 128}, {215, 65}};
    for (const auto& t : trees) {
        k.Circle(t[0], t[1], 6, kGreen);
        k.Circle(t[0], t[1], 5, kGreen);
        k.Dot(t[0], t[1], kGreen);
    }
    // North arrow.
    k.Line(238, 18, 232, 34, kBlack);
    k.Line(238, 18, 244, 34, kBlack);
    k.Line(232, 34, 244, 34, kBlack);
    k.Line(238, 18, 238, 34, kBlack);
    k.Text(236, 38, "N", kBlack);
    k.Text(100, 150, "SITE PLAN", kBlack);
    k.Text(96, 75, "HOUSE", kBlue);
    return k;
}

Canvas Gear() {
    Canvas k;
    const int cx = 80, cy = 80;
    auto point = [&](double r, double deg, int& x, int& y) {
        double a = deg * kPi / 180.0;
        x = cx + static_cast<int>(std::lround(r * std::cos(a)));
        y = cy + static_cast<int>(std::lround(r * std::sin(a)));
    };
    for (int t = 0; t < 24; ++t) {
        double a = t * 15.0;
        int x0, y0, x1, y1;
        k.Arc(cx, cy, 50, a, a + 4, kBlack);
        point(50, a + 4, x0, y0);
        point(60, a + 6, x1, y1);
        k.Line(x0, y0, x1, y1, kBlack);
        k.Arc(cx, cy, 60, a + 6, a + 10, kBlack);
        point(60, a + 10, x0, y0);
        point(50, a + 12, x1, y1);
        k.Line(x0, y0, x1, y1, kBlack);
        k.Arc(cx, cy, 50, a + 12, a + 15, kBlack);
    }
    k.Circle(cx, cy, 55, kRed, kDashDot);
    k.Circle(cx, cy, 22, kBlack);
    k.Circle(cx, cy, 12, kBlack);
    k.Rect(cx - 3, cy - 16, cx + 3, cy - 11, kBlack); // keyway
    k.Fill(cx - 2, cy - 12, cx + 2, cy - 11, kWhite);
    k.Line(8, cy, 152, cy, kRed, 1, kDashDot);
    k.Line(cx, 8, cx, 152, kRed, 1, kDashDot);

    // Side view.
    k.Hatch(176, 21, 199, 139, kBlue, 68, 92);
    k.Rect(175, 20, 200, 140, kBlack);
    k.Rect(168, 58, 207, 102, kBlack);
    k.Fill(176, 68, 199, 92, kWhite);
    k.Line(168, 68, 207, 68, kBlack);
    k.Line(168, 92, 207, 92, kBlack);
    k.Line(170, 30, 205, 30, kBlack, 1, kDashed);
    k.Line(165, cy, 212, cy, kRed, 1, kDashDot);

    k.Text(160, 146, "GEAR Z=24", kBlack);
    k.Text(212, 24, "M4", kMagenta);
    k.Text(8, 150, "PCD 110", kMagenta);
    return k;
}

Canvas SouthElevation() {
    Canvas k;
    k.Line(0, 140, 255, 140, kBlack, 2);
    for (int x = 0; x < 256; x += 6)
        k.Line(x, 142, x + 6, 148, kGrey);
    k.Rect(50, 70, 200, 140, kBlack, 2);
    k.Line(40, 70, 125, 25, kBlack, 2);
    k.Line(125, 25, 210, 70, kBlack, 2);
    k.Line(40, 70, 210, 70, kBlack);
    k.Rect(165, 30, 178, 47, kBlack);
    for (int wx : {62, 150}) {
        k.Rect(wx, 80, wx + 28, 100, kBlack);
        k.Line(wx + 14, 80, wx + 14, 100, kBlack);
        k.Line(wx, 90, wx + 28, 90, kBlack);
        k.Line(wx + 2, 98, wx + 12, 82, kCyan);
    }
    k.Rect(62, 112, 90, 130, kBlack);
    k.Line(76, 112, 76, 130, kBlack);
    k.Rect(112, 100, 138, 140, kBlack);
    k.Dot(133, 121, kBlack, 2);
    k.Rect(115, 104, 135, 116, kBlack);

    // Levels.
    for (const auto& level :
         {std::make_pair(140, "+0.00"), std::make_pair(70, "+3.00"), std::make_pair(25, "+6.20")}) {
        k.Line(212, level.first, 222, level.first, kRed);
        k.Line(214, level.first - 4, 217, level.first, kRed);
        k.Line(220, level.first - 4, 217, level.first, kRed);
        k.Line(214, level.first - 4, 220, level.first - 4, kRed);
        k.Text(224, level.first - 8, level.second, kRed);
    }
    k.Text(80, 150, "SOUTH ELEVATION", kBlack);
    return k;
}

// A shaded picture with many colours, for a 24-bit preview.
uint32_t PumpRender(int x, int y) {
    auto rgb = [](int r, int g, int b) {
        auto clamp = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
        return clamp(r) << 16 | clamp(g) << 8 | clamp(b);
    };
    // Body: a horizontal cylinder lit from above.
    if (x >= 60 && x <= 190 && y >= 40 && y <= 120) {
        double t = (y - 40) / 80.0;
        double light = 0.35 + 0.65 * std::sin(kPi * t) * (1.0 - 0.4 * t);
        if (y == 40 || y == 120 || x == 60 || x == 190) return kBlack;
        return rgb(static_cast<int>(70 * light + 20), static_cast<int>(110 * light + 30),
                   static_cast<int>(170 * light + 50));
    }
    // End flanges.
    for (int fx : {52, 198}) {
        if (x >= fx - 6 && x <= fx + 6 && y >= 30 && y <= 130) {
            double t = (y - 30) / 100.0;
            int shade = static_cast<int>(80 + 120 * std::sin(kPi * t));
            if (x == fx - 6 || x == fx + 6 || y == 30 || y == 130) return kBlack;
            return rgb(shade, shade, shade + 10);
        }
    }
    // Shadow on the floor.
    double ex = (x - 125) / 90.0, ey = (y - 142) / 8.0;
    if (ex * ex + ey * ey <= 1.0) return rgb(90, 90, 95);
    if (y > 136) return rgb(150 + (x % 7), 140 + (x % 5), 120);
    // Sky.
    return rgb(180 + y / 3, 200 + y / 4, 235);
}

std::string EightBitDib(const Canvas& k, bool headerCountsTable = true) {
    DibRecipe recipe;
    recipe.width = kWidth;
    recipe.height = kHeight;
    recipe.bits = 8;
    recipe.writeClrUsed = headerCountsTable;
    recipe.writeSizeImage = headerCountsTable;
    recipe.color = [&k](int x, int y) { return k.At(x, y); };
    return MakeDib(recipe);
}

std::string TrueColourDib(uint32_t (*color)(int x, int y)) {
    DibRecipe recipe;
    recipe.width = kWidth;
    recipe.height = kHeight;
    recipe.bits = 24;
    recipe.color = color;
    return MakeDib(recipe);
}

// A preview as drawings of 2013 and later carry it: an indexed PNG.
std::string PngPreview(const Canvas& k) {
    PngRecipe recipe;
    recipe.width = kWidth;
    recipe.height = kHeight;
    recipe.colourType = 3;
    recipe.palette = DrawingPalette();
    recipe.color = [&k](int x, int y) { return k.At(x, y); };
    return MakePng(recipe);
}

std::string HeaderEntry(const std::string& name) {
    std::string header(80, '\0');
    for (size_t i = 0; i < header.size(); ++i)
        header[i] = static_cast<char>(name[i % name.size()] ^ static_cast<char>(i));
    return header;
}

std::string WithPreview(const std::string& signature, const std::string& name,
                        const std::string& dib) {
    return MakeDrawing(signature, {{1, HeaderEntry(name)}, {2, dib}});
}

std::string WithPngPreview(const std::string& signature, const std::string& name,
                           const std::string& png) {
    return MakeDrawing(signature, {{1, HeaderEntry(name)}, {6, png}});
}

// Drawing data after the image block, so that a drawing without a preview
// still has the size of a real one rather than a few bytes.
std::string Body(const std::string& name, size_t length) {
    std::string body(length, '\0');
    uint32_t x = 2166136261u;
    for (char c : name)
        x = (x ^ static_cast<unsigned char>(c)) * 16777619u;
    for (char& b : body) {
        x = x * 1664525u + 1013904223u;
        b = static_cast<char>(x >> 24);
    }
    return body;
}

std::string WithoutPreview(const std::string& signature, const std::string& name,
                           size_t bodyLength) {
    return MakeDrawing(signature, {{1, HeaderEntry(name)}}) + Body(name, bodyLength);
}

const char kReadme[] =
    "Korvex demo folder\r\n"
    "==================\r\n"
    "\r\n"
    "Drawings made up for trying Korvex out:\r\n"
    "\r\n"
    "- previews in several releases (R13 to 2018), one of them 24-bit and the\r\n"
    "  2013 and 2018 ones stored as PNG pictures;\r\n"
    "- R13 and later drawings without a preview (Preview Not Found);\r\n"
    "- R9 to R12 drawings, which cannot carry a preview (Preview Not Supported);\r\n"
    "- a template (.dwt), a backup (.bak) and an Archive sub-folder.\r\n"
    "\r\n"
    "The folder is written again each time the demo starts.\r\n";

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: korvex_demo FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "Archive").c_str(), nullptr);

    struct File {
        std::string name, bytes;
    };
    std::vector<File> files = {
        {"Floor Plan Level 1.dwg",
         WithPreview("AC1015", "plan1", EightBitDib(FloorPlan("PLAN LEVEL 1", true)))},
        {"Floor Plan Level 1.bak",
         WithPreview("AC1015", "plan1", EightBitDib(FloorPlan("PLAN LEVEL 1", false)))},
        {"Flange DN150.dwg", WithPreview("AC1018", "flange", EightBitDib(Flange()))},
        // Written the way some programs do: the header counts no colour table.
        {"Title Block A3.dwg",
         WithPreview("AC1014", "title", EightBitDib(TitleBlock("TITLE BLOCK A3"), false))},
        {"Site Plan.dwg", WithPreview("AC1021", "site", EightBitDib(SitePlan()))},
        {"Gear 24 Teeth.dwg", WithPreview("AC1024", "gear", EightBitDib(Gear()))},
        {"South Elevation.dwg", WithPreview("AC1012", "elevation", EightBitDib(SouthElevation()))},
        {"Floor Plan Level 2.dwg",
         WithPngPreview("AC1027", "plan2", PngPreview(FloorPlan("PLAN LEVEL 2", true)))},
        {"Title Block A1.dwg",
         WithPngPreview("AC1032", "title1", PngPreview(TitleBlock("TITLE BLOCK A1")))},
        {"Pump Housing Render.dwg", WithPreview("AC1018", "render", TrueColourDib(PumpRender))},
        {"Bracket Detail.dwg", WithoutPreview("AC1015", "bracket", 23 * 1024 + 310)},
        {"Electrical Layout.dwg", WithoutPreview("AC1021", "electrical", 57 * 1024 + 95)},
        {"Survey 1992 R12.dwg", MakeDrawingWithoutImages("AC1009", 4096)},
        {"Pump Base R10.dwg", MakeDrawingWithoutImages("AC1006", 3072)},
        {"Old Sketch R9.dwg", MakeDrawingWithoutImages("AC1004", 2048)},
        {"Company Template.dwt",
         WithPreview("AC1018", "template", EightBitDib(TitleBlock("TEMPLATE")))},
        {"Archive\\Floor Plan Level 0.dwg",
         WithPreview("AC1014", "plan0", EightBitDib(FloorPlan("PLAN LEVEL 0", false)))},
        {"readme.txt", kReadme},
    };

    int failed = 0;
    for (const File& f : files) {
        if (!WriteBytes(folder + f.name, f.bytes)) {
            std::fprintf(stderr, "Can't open file %s\n", (folder + f.name).c_str());
            ++failed;
        }
    }
    std::printf("%d files written to %s\n", static_cast<int>(files.size()) - failed,
                folder.c_str());
    return failed ? 1 : 0;
}
