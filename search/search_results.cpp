#include "search/search_results.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <vector>

#include "filelist/list_rows.h"
#include "filelist/list_sorting.h"
#include "filelist/listing_index.h"
#include "filelist/sort_keys.h"
#include "inspect/drawing_read_ahead.h"
#include "inspect/dwg_inspect.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/long_paths.h"
#include "runtime/shell_open.h"
#include "runtime/win_helpers.h"
#include "search/search_keys.h"

namespace {

// What a result list keeps beside its rows. Column 0 is mirrored so that a
// new row finds its place without reading every row back.
struct ResultList {
    std::string root;
    std::vector<std::string> column0; // column 0 of each row, in row order
    LPARAM lastParam = 0;             // every row gets a parameter of its own
    bool drawingHeld = false;
    int firstNewRow = -1;   // lowest row inserted since the rows were last shown
    bool touched = false;   // the user acted on the list since then
    DWORD lastShown = 0;    // when the held rows were last shown
    bool reordered = false; // sorted by a header click since the rows came
    // The drawing found last waits for its release text while the walk goes
    // on; its row comes with the next drawing found, or at the search's end.
    DrawingReadAhead reading{false, 1};
    FolderLookup indexed;
    DirEntry readingEntry;
};

ResultList* StateOf(HWND list) {
    return reinterpret_cast<ResultList*>(GetWindowLongPtrA(list, GWLP_USERDATA));
}

const int kWidths[7] = {0, 250, 375, 60, 75, 120, 60};

// How often held rows are shown while the search runs: new rows on the page
// shown, and any rows at all.
const DWORD kNewRowsRefreshMs = 300;
const DWORD kResultsRefreshMs = 1000;

} // namespace

void SetUpResultList(HWND list, const std::string& root) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    for (int i = 0; i < 7; ++i)
        InsertColumn(list, i, kResultHeaders[i], kColumnFormats[i], kWidths[i]);
    ResultList* state = new ResultList;
    state->root = root;
    SetWindowLongPtrA(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
}

void ReleaseResultList(HWND list) {
    delete StateOf(list);
    SetWindowLongPtrA(list, GWLP_USERDATA, 0);
}

// Puts the row of a found drawing, its release text read, at its place.
static void InsertResultRow(HWND list, ResultList& state, const std::string& path,
                            const DirEntry& entry, const std::string& version) {
    // Column 0 is always in order (search keys, or ranks after a header
    // click), so a binary search finds the row's place.
    std::string key = SearchOrderKey(path, state.root);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(InsertionIndex(state.column0, key));
    item.pszText = const_cast<char*>(key.c_str());
    item.lParam = ++state.lastParam;
    int row =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;
    state.column0.insert(state.column0.begin() + row, key);
    if (state.firstNewRow < 0 || row < state.firstNewRow) state.firstNewRow = row;
    SetRowText(list, row, 1, FileNamePart(path));
    SetRowText(list, row, 2, FolderPart(path));
    SetRowText(list, row, 3, version);
    // The walk's own entry gives the facts, unless the drawing vanished since.
    FactTexts texts = FactTextsOf(path, version == kFileNotFoundVersion, entry.size,
                                  entry.lastWrite, entry.attributes);
    SetRowText(list, row, 4, texts.size);
    SetRowText(list, row, 5, texts.modified);
    SetRowText(list, row, 6, texts.attributes);
}

// The row of the drawing whose release is being read, once it is read.
static void InsertReadRow(HWND list, ResultList& state) {
    std::string path;
    DrawingRead read;
    if (!state.reading.TakeNext(path, read)) return;
    TakeDrawingRead(path, read, false);
    RememberDrawingRead(path, FactsOfEntry(state.readingEntry), read);
    InsertResultRow(list, state, path, state.readingEntry, read.version);
}

void AddSearchResult(HWND list, const std::string& path, const DirEntry& entry,
                     const DrawingRead* read) {
    ResultList* state = IsWindow(list) ? StateOf(list) : nullptr;
    if (!state) return; // its window was closed: the row goes nowhere
    if (!state->drawingHeld) {
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        state->drawingHeld = true;
        state->firstNewRow = -1;
        state->lastShown = GetTickCount();
    }
    InsertReadRow(list, *state);
    if (read && !read->version.empty()) {
        DrawingRead taken = *read;
        TakeDrawingRead(path, taken, false);
        InsertResultRow(list, *state, path, entry, taken.version);
        return;
    }
    // A drawing the index knows unchanged is not opened.
    IndexedDrawing known;
    if (state->indexed.Find(path, FactsOfEntry(entry), known)) {
        InsertResultRow(list, *state, path, entry, known.version);
        return;
    }
    state->readingEntry = entry;
    state->reading.Ask(path);
}

void FinishSearchResults(HWND list) {
    ResultList* state = IsWindow(list) ? StateOf(list) : nullptr;
    if (state) InsertReadRow(list, *state);
}

void NoteResultListTouched(HWND list) {
    if (ResultList* state = StateOf(list)) state->touched = true;
}

void ShowHeldResults(HWND list, bool always) {
    ResultList* state = IsWindow(list) ? StateOf(list) : nullptr;
    if (!state || !state->drawingHeld) return;
    // Turning the drawing back on lays out and repaints the whole list, which
    // costs more than a hundred rows. So it waits for the user, for new rows
    // on the page shown (or above it, which moves the page's rows) but
    // shows them a few times a second at most, and otherwise for a second to
    // pass, so that the scroll bar still tells the progress.
    DWORD since = GetTickCount() - state->lastShown;
    if (!always && !state->touched && since < kResultsRefreshMs) {
        if (state->firstNewRow < 0 || since < kNewRowsRefreshMs) return;
        int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        int page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
        if (state->firstNewRow > top + page) return;
    }
    state->drawingHeld = false;
    state->touched = false;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void MarkResultHeaders(HWND list) {
    for (int column = 1; column <= 6; ++column)
        SetHeaderText(list, column,
                      ResultHeaderText(column, ResultSortColumn, ResultSortAscending));
}

void SortSearchResults(HWND list) {
    ResultList* state = StateOf(list);
    if (!state || ResultSortColumn < 1 || ResultSortColumn > 6) return;
    int n = RowCount(list);
    std::vector<std::string> keys(n);
    for (int i = 0; i < n; ++i) {
        std::string name = RowText(list, i, 1), folder = RowText(list, i, 2);
        std::string text =
            ResultSortColumn <= 2 ? std::string() : RowText(list, i, ResultSortColumn);
        keys[i] = ResultSortKey(ResultSortColumn, name, folder, text, state->root);
    }
    OrderRowsByKeys(list, keys, ResultSortAscending);
    state->column0.resize(n);
    for (int i = 0; i < n; ++i)
        state->column0[i] = RankText(i);
    state->reordered = true;
}

void ReturnToSearchOrder(HWND list) {
    ResultList* state = StateOf(list);
    if (state && state->reordered) SortSearchResults(list);
}

void SortResultsByHeaderClick(HWND list, int column) {
    if (column < 1 || column > 6) return;
    if (column == ResultSortColumn) ResultSortAscending = !ResultSortAscending;
    MarkResultHeaders(list);
    ResultSortColumn = column;
    MarkResultHeaders(list);
    SortSearchResults(list);
}

std::string ResultPath(HWND list, int row) {
    return WholeRowText(list, row, 2) + WholeRowText(list, row, 1);
}

void OpenResultAtMessagePos(HWND list) {
    DWORD pos = GetMessagePos();
    LVHITTESTINFO hit = {};
    hit.pt.x = static_cast<short>(LOWORD(pos));
    hit.pt.y = static_cast<short>(HIWORD(pos));
    ScreenToClient(list, &hit.pt);
    int row = static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row < 0) return;
    std::string path = ResultPath(list, row);
    if (!OpenFile(list, path)) ShowMessage("Error opening " + path, "Error", MB_OK);
}
