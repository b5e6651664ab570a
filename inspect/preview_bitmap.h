// Turning a drawing's preview bitmap into what the screen shows: the list's
// thumbnail, the black-background colour swap and proportional scaling.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "inspect/dwg_inspect.h"

// The preview of the listed drawing `name` (a bare name in the listed
// folder, which is the working directory), read into the preview file as the
// context menu and the enlarged view need it: sets PreviewFound and
// PreviewIs8Bit, and `name` becomes the full path. False, with no preview,
// when the file is not there.
bool ReadListPreview(std::string& name, std::string* preview = nullptr);

// The same, and its thumbnail added to the list's image list: sets
// Thumbs.current (a placeholder when there is no preview, or a damaged one).
void MakeListThumbnail(std::string& name);
// The thumbnail of the preview file's bytes as ExtractPreview returned them
// (empty: no preview), for a drawing that was there to be read.
void MakeThumbnailOfPreview(const std::string& preview);

// What a read of a drawing shows in its thumbnail cell: its preview, or the
// placeholder of a drawing without one. A drawing that is gone, or whose
// preview is damaged, shows Preview Not Found; one whose release keeps no
// preview, Preview Not Supported. The cell's pixels come with kCell.
enum class CellKind { kCell, kNotFound, kNotSupported };
CellKind ThumbnailCellOf(const DrawingRead& read, bool swapBlackWhite, int cellWidth,
                         int cellHeight, COLORREF background, std::vector<uint8_t>& cell);

// The thumbnail cell of a preview file's bytes: 32-bit pixels, top-down,
// black and white swapped first when asked. False for a damaged preview.
// Safe on any thread.
bool ComposePreviewCell(const std::string& preview, bool swapBlackWhite, int cellWidth,
                        int cellHeight, COLORREF background, std::vector<uint8_t>& cell);
// Puts a cell into the image list at `index`, or adds it at the end when
// index is -1. Returns its index, -1 when it could not.
int PutCellInImageList(HIMAGELIST images, int index, const std::vector<uint8_t>& cell,
                       int cellWidth, int cellHeight);
// What a thumbnail cell leaves uncovered: the list's background.
COLORREF ThumbnailBackground();

// The preview bitmap file decoded into a bitmap compatible with the screen;
// null when the file is missing or damaged.
HBITMAP LoadPreviewBitmap(const std::string& path);

// Black and white swapped for an 8-bit preview (PreviewIs8Bit), else the
// bitmap untouched. May return a new bitmap; the input then still belongs to
// the caller.
HBITMAP AdaptPreviewColours(HBITMAP bitmap);

// Swaps pure black and pure white in place, pixel by pixel; returns `bitmap`.
HBITMAP SwapBlackWhite(HBITMAP bitmap);

// A copy resized to width x height by area averaging; a 0 width or height is
// derived from the other to keep the proportions. With
// LR_COPYDELETEORG the input is deleted once copied. Null gives null.
HBITMAP ScaleBitmap(HBITMAP bitmap, int width, int height, UINT flags);
