#include "filelist/row_thumbnails.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "drawindex/drawing_index.h"
#include "filelist/list_rows.h"
#include "inspect/preview_bitmap.h"
#include "inspect/thumbnail_maker.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"

namespace {

struct RowThumb {
    // The drawing's whole path when it is not the row's name (its text in
    // column 2) in the folder of the rows; a name is held once, by the row.
    std::string path;
    int image = kThumbnailPending; // a placeholder, the row's own thumbnail, or pending
    int slot = -1;                 // the slot holding its thumbnail
    RowIndexing indexing;
};

// A place in the image list for one row's thumbnail.
struct Slot {
    int image = -1;
    LPARAM row = 0;         // 0: free
    unsigned long seen = 0; // when its row was last drawn
};

// Cells the image list may hold: what fits in this many bytes, within these
// bounds. Every cell on screen must fit whatever the bound.
constexpr size_t kCellBudget = 80u << 20;
constexpr int kMostCells = 1000, kFewestCells = 16;
// Rows made beyond the screen, before and after it, in screens.
constexpr int kScreensAfter = 2, kScreensBefore = 1;

std::unordered_map<LPARAM, RowThumb> rowThumbs;
// The folder of the rows' drawings, held once: the first row's.
std::string rowsFolder;

std::string PathOf(LPARAM row, const RowThumb& thumb) {
    if (!thumb.path.empty()) return thumb.path;
    const std::string* name = KeptRowText(row, 2);
    return name ? rowsFolder + *name : std::string();
}
std::vector<Slot> slots;
int limit = 0;
int cellWidth = 0, cellHeight = 0;
CellFormat cellFormat;
unsigned long seenClock = 0;
std::unique_ptr<ThumbnailMaker> maker;
bool askPending = false; // rows on screen wait for their thumbnails to be asked for
// Rows the list asked for while they waited, since the last ask: the rows it
// is drawing, whatever the view makes of the screen.
std::vector<LPARAM> rowsDrawn;

// The slot for a new thumbnail: a new one while the bound allows, else the
// one whose row was drawn longest ago, that row going back to waiting.
int SlotFor(LPARAM row) {
    int slot = static_cast<int>(slots.size());
    if (slot < limit) {
        slots.push_back(Slot());
    } else {
        if (slots.empty()) return -1;
        slot = static_cast<int>(
            std::min_element(slots.begin(), slots.end(),
                             [](const Slot& a, const Slot& b) { return a.seen < b.seen; }) -
            slots.begin());
        auto owner = rowThumbs.find(slots[slot].row);
        if (owner != rowThumbs.end()) {
            owner->second.image = kThumbnailPending;
            owner->second.slot = -1;
        }
    }
    slots[slot].row = row;
    slots[slot].seen = ++seenClock;
    return slot;
}

void PlaceCell(RowThumb& thumb, LPARAM row, const std::vector<uint8_t>& cell) {
    int slot = SlotFor(row);
    if (slot < 0) return;
    int image = PutCellInImageList(Thumbs.images, slots[slot].image, cell, cellWidth, cellHeight);
    if (image < 0 && slots[slot].image < 0) {
        // The image list can grow no more: it holds what it has.
        slots.pop_back();
        limit = std::max(1, static_cast<int>(slots.size()));
        thumb.image = Thumbs.notFound;
        return;
    }
    slots[slot].image = image >= 0 ? image : slots[slot].image;
    thumb.image = slots[slot].image;
    thumb.slot = slot;
}

// A row's thumbnail from the drawing index, when it holds the picture.
bool PlaceIndexedCell(RowThumb& thumb, LPARAM row) {
    if (!thumb.indexing.hasPicture || !DrawingsIndex) return false;
    thumb.indexing.hasPicture = false; // once: a picture that fails is made anew
    IndexedDrawing entry;
    std::vector<uint8_t> cell;
    if (!DrawingsIndex->Find(PathOf(row, thumb), thumb.indexing.facts, entry, true) ||
        entry.cell != IndexedCell::kPicture || !(entry.format == cellFormat) ||
        !DecodeCellPicture(reinterpret_cast<const uint8_t*>(entry.picture.data()),
                           entry.picture.size(), cellWidth, cellHeight, cell))
        return false;
    PlaceCell(thumb, row, cell);
    return true;
}

void AskForRowsOnScreen() {
    int rows = RowCount(Win.list);
    if (!maker || rows == 0) return;
    int top = static_cast<int>(SendMessageA(Win.list, LVM_GETTOPINDEX, 0, 0));
    int screen = static_cast<int>(SendMessageA(Win.list, LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
    top = std::max(0, std::min(top, rows - 1));
    screen = std::max(1, screen);
    // A screen always fits, and the rows around it as far as the bound allows.
    limit = std::max(limit, screen);
    int around = std::max(0, (limit - screen) / 2);
    int after = std::min(around, kScreensAfter * screen);
    int before = std::min(around - after / 2, kScreensBefore * screen);
    std::vector<ThumbnailRequest> wanted;
    std::vector<LPARAM> drawn;
    drawn.swap(rowsDrawn);
    auto wantRow = [&](LPARAM row) {
        auto found = rowThumbs.find(row);
        if (found == rowThumbs.end() || found->second.image != kThumbnailPending) return;
        // The index gives it when it is drawn: its drawing is not opened.
        if (found->second.indexing.hasPicture) return;
        for (const ThumbnailRequest& request : wanted)
            if (request.row == row) return;
        wanted.push_back({row, PathOf(row, found->second)});
    };
    for (LPARAM row : drawn)
        wantRow(row);
    auto want = [&](int from, int to) {
        for (int i = std::max(0, from); i < std::min(rows, to); ++i)
            wantRow(RowParam(Win.list, i));
    };
    want(top, top + screen);
    want(top + screen, top + screen + after);
    want(top - std::max(0, before), top);
    maker->Want(std::move(wanted));
}

} // namespace

int ThumbnailsHeld() {
    return static_cast<int>(
        std::count_if(slots.begin(), slots.end(), [](const Slot& s) { return s.row != 0; }));
}

int ThumbnailLimit() {
    return limit;
}

int ThumbnailLimitFor(int width, int height) {
    if (Thumbs.limit > 0) return Thumbs.limit;
    size_t cellBytes = static_cast<size_t>(std::max(1, width)) * std::max(1, height) * 3;
    return static_cast<int>(
        std::max<size_t>(kFewestCells, std::min<size_t>(kMostCells, kCellBudget / cellBytes)));
}

void StartRowThumbnails(bool thumbnails) {
    maker.reset();
    rowThumbs.clear();
    rowsFolder.clear();
    rowsDrawn.clear();
    slots.clear();
    askPending = false;
    cellWidth = Settings.thumbWidth;
    cellHeight = Settings.thumbHeight;
    cellFormat = CellFormat{cellWidth, cellHeight, ThumbnailBackground(), BlackBackground};
    limit = 0;
    if (!thumbnails || !Thumbs.images || cellWidth < 1 || cellHeight < 1) return;
    limit = ThumbnailLimitFor(cellWidth, cellHeight);
    maker.reset(new ThumbnailMaker(cellWidth, cellHeight, ThumbnailBackground(), BlackBackground,
                                   Win.main, WM_KVX_THUMBNAILS));
}

CellFormat RowCellFormat() {
    return CellFormat{Settings.thumbWidth, Settings.thumbHeight, ThumbnailBackground(),
                      BlackBackground};
}

void AddRowThumbnail(LPARAM row, const std::string& path, int image, const RowIndexing& indexing) {
    size_t slash = path.rfind('\\');
    std::string folder = path.substr(0, slash == std::string::npos ? 0 : slash + 1);
    if (rowThumbs.empty()) rowsFolder = folder;
    RowThumb& thumb = rowThumbs[row];
    const std::string* name = KeptRowText(row, 2);
    bool named =
        folder == rowsFolder && name && path.compare(folder.size(), std::string::npos, *name) == 0;
    thumb.path = named ? std::string() : path;
    thumb.image = image;
    thumb.indexing = indexing;
}

void ForgetRowThumbnail(LPARAM row) {
    auto found = rowThumbs.find(row);
    if (found == rowThumbs.end()) return;
    if (found->second.slot >= 0)
        slots[found->second.slot] = {slots[found->second.slot].image, 0, 0};
    rowThumbs.erase(found);
}

void ForgetAllRowThumbnails() {
    rowThumbs.clear();
    rowsFolder.clear();
    for (Slot& slot : slots)
        slot.row = 0, slot.seen = 0;
}

void AnswerRowImage(NMLVDISPINFOA* info) {
    LVITEMA& item = info->item;
    // Only the row's own image and the Preview column's show a thumbnail.
    if (!(item.mask & LVIF_IMAGE) || item.iSubItem > 1) return;
    auto found = rowThumbs.find(RowParam(Win.list, item.iItem));
    if (found == rowThumbs.end()) {
        item.iImage = Thumbs.noPreview;
        return;
    }
    RowThumb& thumb = found->second;
    if (thumb.image != kThumbnailPending) {
        item.iImage = thumb.image;
        if (thumb.slot >= 0) slots[thumb.slot].seen = ++seenClock;
        return;
    }
    if (PlaceIndexedCell(thumb, found->first)) {
        item.iImage = thumb.image;
        return;
    }
    // Until its own is made, a row shows the image of a row without one.
    item.iImage = Thumbs.noPreview;
    if (!maker) return;
    if (rowsDrawn.size() < static_cast<size_t>(limit) &&
        std::find(rowsDrawn.begin(), rowsDrawn.end(), found->first) == rowsDrawn.end())
        rowsDrawn.push_back(found->first);
    if (!askPending) {
        askPending = true;
        PostMessageA(Win.main, WM_KVX_THUMBNAILS, 0, 0);
    }
}

void TakeMadeThumbnails() {
    if (!maker) return;
    bool placed = false;
    MadeThumbnail made;
    while (maker->Take(made)) {
        auto found = rowThumbs.find(made.row);
        if (found == rowThumbs.end() || found->second.image != kThumbnailPending) continue;
        RowThumb& thumb = found->second;
        if (thumb.indexing.indexed && DrawingsIndex)
            DrawingsIndex->PutCell(PathOf(made.row, thumb), thumb.indexing.facts,
                                   made.kind == CellKind::kCell       ? IndexedCell::kPicture
                                   : made.kind == CellKind::kNotFound ? IndexedCell::kNotFound
                                                                      : IndexedCell::kNotSupported,
                                   cellFormat, made.cell);
        if (made.kind == CellKind::kCell)
            PlaceCell(thumb, made.row, made.cell);
        else
            thumb.image =
                made.kind == CellKind::kNotSupported ? Thumbs.notSupported : Thumbs.notFound;
        placed = true;
    }
    if (placed) InvalidateRect(Win.list, nullptr, FALSE);
    if (askPending) {
        askPending = false;
        AskForRowsOnScreen();
    }
}
