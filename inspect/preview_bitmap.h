// Turning a drawing's preview bitmap into what the screen shows: the list's
// thumbnail, the black-background colour swap and proportional scaling.
#pragma once
#include <windows.h>

#include <string>

// Thumbnail of the drawing `name` (a bare name in the listed folder, which is
// the working directory) for the list's image list. Sets Thumbs.current and
// PreviewFound; a name that no longer exists gets the Preview Not Found
// placeholder. On return `name` is the full path (current folder + "\" +
// name) unless the file had vanished.
void MakeListThumbnail(std::string& name);
// The same from the preview file's bytes as ExtractPreview returned them
// (empty: no preview), for a drawing that was there to be read.
void MakeThumbnailOfPreview(const std::string& preview);

// While held, thumbnails reach the image list in groups: Thumbs.current is
// the index a thumbnail will have once its group is added. A listing holds
// them for its drawings; whatever may draw or change the image list comes
// after AddHeldThumbnails (or the end of the hold).
void HoldThumbnails(bool hold);
void AddHeldThumbnails();

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
