// The file list's thumbnails, made when their rows are to be seen. A row
// shows its own thumbnail once made, a placeholder until then; the image
// list keeps a bounded number of thumbnails and reuses the slots of rows
// that have not been seen for longest. Main thread only.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "drawindex/index_entry.h"

// The image a row shows before its thumbnail is made.
constexpr int kThumbnailPending = -2;

// How many thumbnails an image list of cells this size may hold.
int ThumbnailLimitFor(int width, int height);
// Forgets every row's thumbnail and starts over for the image list now in
// Thumbs.images (its placeholders already added), with cells of the
// thumbnail size in Settings; without thumbnails, none are made.
void StartRowThumbnails(bool thumbnails);
// The cells made now, as the drawing index tells them apart.
CellFormat RowCellFormat();
// What the drawing index knows of a row's drawing: the facts its thumbnail
// is stored under once made, and whether it holds that thumbnail already.
struct RowIndexing {
    bool indexed = false;
    DrawingFacts facts;
    bool hasPicture = false;
};
// A row of the drawing at `path`: `image` is a placeholder's index, or
// kThumbnailPending for a thumbnail to be made, or taken from the index,
// when the row is seen. A row already named by its drawing's name (column 2)
// holds no path of its own.
void AddRowThumbnail(LPARAM row, const std::string& path, int image,
                     const RowIndexing& indexing = RowIndexing());
void ForgetRowThumbnail(LPARAM row);
void ForgetAllRowThumbnails();

// Answers the list's question for a row's image (LVN_GETDISPINFO); a row
// still without its thumbnail asks for the rows on screen to be made.
void AnswerRowImage(NMLVDISPINFOA* info);
// Puts the thumbnails made since into the image list (WM_KVX_THUMBNAILS).
void TakeMadeThumbnails();

// How many rows' thumbnails the image list holds now, and may hold.
int ThumbnailsHeld();
int ThumbnailLimit();
