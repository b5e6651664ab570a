// Fitting a preview into the list's thumbnail cell: scaled to the cell's
// width, or to its height when a tall preview would not fit, and centred on
// the list's background so that no part of the cell is left undrawn. Works on
// 32-bit pixels in memory (blue, green, red, unused), rows top-down; no
// window calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The size a width x height picture is scaled to for the cell: the cell's
// width with the height in proportion, or the cell's height with the width in
// proportion when the picture is the taller one. Never less than 1 x 1.
void FittedSize(int width, int height, int cellWidth, int cellHeight, int& fitWidth,
                int& fitHeight);

// The cell's pixels: the picture scaled by area averaging to its fitted size
// and centred on `background` (a COLORREF, 0x00BBGGRR). Sizes must be positive.
std::vector<uint8_t> ComposeThumbnailCell(const uint8_t* pixels, int width, int height,
                                          int cellWidth, int cellHeight, uint32_t background);

// Swaps pure black and pure white in `count` pixels, in place.
void SwapBlackWhitePixels(uint8_t* pixels, size_t count);
