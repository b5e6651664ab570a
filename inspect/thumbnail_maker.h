// Makes the list's thumbnail cells on a thread of its own, for the rows the
// caller wants now: the rows on screen first, then those around them. The
// wanted rows are replaced as the user scrolls, so a row scrolled past is
// never read. Only the pixels are made here; the image list belongs to the
// window's thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "inspect/preview_bitmap.h"

struct ThumbnailRequest {
    LPARAM row = 0; // whatever identifies the row to the caller
    std::string path;
};

struct MadeThumbnail {
    LPARAM row = 0;
    CellKind kind = CellKind::kNotFound;
    std::vector<uint8_t> cell; // 32-bit pixels, top-down, when kind is kCell
};

class ThumbnailMaker {
  public:
    // Cells of width x height on `background`; with swapBlackWhite, 8-bit
    // previews have black and white swapped. `notify` is posted `message`
    // whenever made cells wait to be taken.
    ThumbnailMaker(int width, int height, COLORREF background, bool swapBlackWhite, HWND notify,
                   UINT message);
    ~ThumbnailMaker(); // waits for the drawing being read; the rest is dropped
    ThumbnailMaker(const ThumbnailMaker&) = delete;
    ThumbnailMaker& operator=(const ThumbnailMaker&) = delete;

    // The rows wanted now, most wanted first, in place of those wanted before.
    void Want(std::vector<ThumbnailRequest> wanted);
    // The next made cell; false when none waits.
    bool Take(MadeThumbnail& made);

  private:
    static DWORD WINAPI Run(void* self);
    MadeThumbnail Make(const ThumbnailRequest& request) const;

    const int width_, height_;
    const COLORREF background_;
    const bool swap_;
    const HWND notify_;
    const UINT message_;
    HANDLE thread_ = nullptr;
    // Under lock_:
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::deque<ThumbnailRequest> wanted_;
    std::deque<MadeThumbnail> made_;
    bool making_ = false; // makingRow_ is being made
    LPARAM makingRow_ = 0;
    bool posted_ = false; // a notice is on its way and not yet answered by Take
    bool quit_ = false;
};
