#include "filelist/file_list_build.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "filelist/folder_environment.h"
#include "filelist/list_columns.h"
#include "filelist/list_rows.h"
#include "filelist/list_sorting.h"
#include "filelist/listing_index.h"
#include "filelist/listing_rules.h"
#include "filelist/row_thumbnails.h"
#include "inspect/drawing_read_ahead.h"
#include "inspect/dwg_inspect.h"
#include "runtime/long_paths.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/strings.h"
#include "runtime/text_fit.h"
#include "runtime/win_helpers.h"
#include "settings/settings_rules.h"

// The counts of the listing under way, for its progress and its summary.
static ListCounters Counters;

static void SetStatusText(const std::string& text) {
    SendMessageA(Win.status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

static void SetListRedraw(bool on) {
    SendMessageA(Win.list, WM_SETREDRAW, on, 0);
    if (on) InvalidateRect(Win.list, nullptr, TRUE);
}

// The bar and its label take every drawing's figures, but painting them is
// slow enough under Wine to rival the listing's own work: their redrawing is
// held between paints at most every 50 ms apart.
constexpr DWORD kProgressPaintInterval = 50;
static bool progressHeld = false;
static DWORD lastProgressPaint = 0;

static void ReleaseProgressPaint(bool paint) {
    if (progressHeld) {
        SendMessageA(Win.progress, WM_SETREDRAW, TRUE, 0);
        SendMessageA(Win.progressLabel, WM_SETREDRAW, TRUE, 0);
        progressHeld = false;
    }
    if (!paint || !IsWindowVisible(Win.progress)) return;
    for (HWND part : {Win.progressLabel, Win.progress})
        RedrawWindow(part, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    lastProgressPaint = GetTickCount();
}

static std::string ProgressText(int position, int planned) {
    return " Building List: " + NumberText(position) + " of " + NumberText(planned);
}

void FitProgressLabel(int planned) {
    // Each listing starts over from the label's own font.
    SendMessageA(Win.progressLabel, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
    FitTextToWidth(Win.progressLabel, ProgressText(planned, planned));
}

static void ShowListingProgress(int position, int planned) {
    bool due = GetTickCount() - lastProgressPaint >= kProgressPaintInterval;
    if (!due && !progressHeld) {
        SendMessageA(Win.progress, WM_SETREDRAW, FALSE, 0);
        SendMessageA(Win.progressLabel, WM_SETREDRAW, FALSE, 0);
        progressHeld = true;
    }
    SendMessageA(Win.progress, PBM_SETPOS, position - 1, 0);
    SetWindowTextA(Win.progressLabel, ProgressText(position, planned).c_str());
    if (due) ReleaseProgressPaint(true);
}

static void ShowProgress(bool show) {
    // The last figures are painted before the bar goes; a held bar is
    // released so that showing it again shows it.
    ReleaseProgressPaint(!show);
    ShowWindow(Win.status, show ? SW_HIDE : SW_SHOW);
    RedrawWindow(show ? Win.progress : Win.status, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    ShowWindow(Win.progress, show ? SW_SHOW : SW_HIDE);
    ShowWindow(Win.progressLabel, show ? SW_SHOW : SW_HIDE);
}

// A newer listing cleared the flag: leave the rows made so far and go.
static void AbandonListing() {
    SetListRedraw(true);
    ShowProgress(false); // the status bar must not stay hidden behind an abandoned listing
    Counters = ListCounters();
    PumpMessages();
}

// Pending messages are handled between entries at most every 10 ms: under
// Wine one look at the queue costs more than listing a drawing, and a click,
// a newer listing or a closing window still takes effect before the entry
// after the one during which it came.
constexpr DWORD kPumpInterval = 10;
static DWORD lastPump = 0;

// Pumps pending messages when due and tells whether this listing may go on.
static bool StillCurrent() {
    if (GetTickCount() - lastPump >= kPumpInterval) {
        PumpMessages();
        lastPump = GetTickCount();
    }
    return ListingActive;
}

static void RebuildImageList(bool previews) {
    if (Thumbs.images) {
        ImageList_RemoveAll(Thumbs.images);
        ImageList_Destroy(Thumbs.images);
    }
    if (previews) {
        // A hidden Preview column leaves a size of 0; LIST view then uses the
        // column's remembered width.
        if (Settings.thumbWidth < 1) {
            Settings.thumbWidth =
                ThumbWidthFor(Settings.columnWidth[1] > 0 ? Settings.columnWidth[1] : 180);
            Settings.thumbHeight = ThumbHeightFor(Settings.thumbWidth);
        }
        // Room for the thumbnails it may hold from the start: growing a large
        // image list a few images at a time copies it over and over.
        int w = Settings.thumbWidth, h = Settings.thumbHeight;
        Thumbs.images = ImageList_Create(w, h, ILC_COLOR24, ThumbnailLimitFor(w, h) + 3, 16);
        if (!Thumbs.images) Thumbs.images = ImageList_Create(w, h, ILC_COLOR24, 3, 64);
        Thumbs.noPreview =
            AddPlaceholderImage(Thumbs.images, IDB_NO_PREVIEW, w, h, BlackBackground);
        Thumbs.notFound =
            AddPlaceholderImage(Thumbs.images, IDB_PREVIEW_NOT_FOUND, w, h, BlackBackground);
        Thumbs.notSupported =
            AddPlaceholderImage(Thumbs.images, IDB_PREVIEW_NOT_SUPPORTED, w, h, BlackBackground);
    } else {
        Thumbs.images = ImageList_Create(16, 16, ILC_COLOR24, 0, 0);
    }
    SendMessageA(Win.list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(Thumbs.images));
    StartRowThumbnails(previews);
}

static std::string CurrentDirectory() {
    std::string path(MAX_PATH, '\0');
    DWORD n = GetCurrentDirectoryA(MAX_PATH, &path[0]);
    path.resize(n < MAX_PATH ? n : 0);
    return path;
}

// How many drawings the reading thread may read before the listing takes
// them: it starts while the folder is counted, and a read without its
// preview is a few bytes.
constexpr size_t kReadAhead = 16384;

// Makes the row of one listed drawing, read for its release. Its thumbnail
// is made when the row is to be seen; a drawing that has gone, or whose
// release keeps no preview, shows its placeholder at once.
static LPARAM AddRow(DrawingReadAhead& ahead, ListingIndex& index, const std::string& folder,
                     const std::string& name, const EntryFacts& facts) {
    ShowListingProgress(Counters.position, Counters.planned);

    bool thumbnails = Settings.showColumn[1] == "TRUE";
    // The reading thread went through the folder's entries on its own, most
    // often in the same order; a drawing it has no read for (the folder
    // changed between the two enumerations) is read here.
    DrawingRead drawing;
    if (!ahead.TakeFor(folder + name, drawing))
        drawing = ReadDrawingAlone(name, false, PropertyColumnsShown());
    TakeDrawingRead(name, drawing, false);
    // The enumeration's facts serve unless the drawing vanished meanwhile;
    // a vanished one shows what its path gives now.
    bool gone = drawing.version == kFileNotFoundVersion;
    std::string path = gone ? name : WithTrailingBackslash(CurrentFolder()) + name;
    int row = -1;
    LPARAM id = InsertRowAtTop(name, thumbnails ? I_IMAGECALLBACK : 0, &row);
    if (row < 0) return id;
    SetRowText(row, id, 2, FileNamePart(path));
    SetRowText(row, id, 3, drawing.version);
    FactTexts texts = FactTextsOf(path, gone, facts.size, facts.lastWrite, facts.attributes);
    SetRowText(row, id, 4, texts.size);
    SetRowText(row, id, 5, texts.modified);
    SetRowText(row, id, 6, texts.attributes);
    if (thumbnails) {
        RowIndexing indexing;
        int image = gone                       ? Thumbs.notFound
                    : drawing.previewSupported ? kThumbnailPending
                                               : Thumbs.notSupported;
        image = index.RowImage(folder + name, image, indexing);
        AddRowThumbnail(id, folder + name, image, indexing);
        SetRowImage(row, 1, I_IMAGECALLBACK);
    }
    if (drawing.properties) SetRowPropertyTexts(row, *drawing.properties);
    return id;
}

// The system's last write time of a folder, which changes as entries come and
// go; 0 when it cannot be read.
static uint64_t FolderLastWrite(const std::string& folder) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(LongPathForm(folder).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// The rows listed, by their parameters; their names are their kept texts.
using ListedRows = std::vector<LPARAM>;

static std::string ListedName(LPARAM row) {
    const std::string* name = KeptRowText(row, 2);
    return name ? *name : std::string();
}

// A folder that changed while it was listed is listed again where it
// differs: rows of drawings that have gone are removed, drawings that came
// are added, and the counts are taken afresh, so that the summary speaks of
// the rows shown. False when the listing was abandoned meanwhile.
static bool CatchUpWithFolder(const ListingEnvironment& env, DrawingReadAhead& ahead,
                              ListingIndex& index, const std::string& folder,
                              const std::string& filter, const std::string& extension,
                              ListedRows& rows) {
    std::map<std::string, EntryFacts> now;
    ListCounters scratch;
    if (!ListEntries(env, filter, extension, scratch,
                     [&](const std::string& name, const EntryFacts& facts) { now[name] = facts; }))
        return false;
    ListedRows kept;
    for (LPARAM row : rows) {
        auto found = now.find(ListedName(row));
        if (found == now.end()) {
            int index = RowWithParam(row);
            if (index >= 0) SendMessageA(Win.list, LVM_DELETEITEM, index, 0);
            continue;
        }
        now.erase(found);
        kept.push_back(row);
    }
    rows.swap(kept);
    Counters = ListCounters();
    if (!ClassifyEntries(env, extension, Counters) ||
        !PlanEntries(env, filter, extension, Counters))
        return false;
    Counters.listed = Counters.position = static_cast<int>(rows.size());
    for (const auto& entry : now) {
        if (!StillCurrent()) return false;
        ++Counters.position;
        ++Counters.listed;
        rows.push_back(AddRow(ahead, index, folder, entry.first, entry.second));
    }
    return true;
}

// The folder the last listing that ran to its end listed.
static std::string lastListedFolder;

// A folder opens at its first row; the same folder listed again (F5, a file
// operation) keeps its place.
static void ShowFirstRowOfNewFolder(const std::string& folderPath) {
    if (Lower(folderPath) != Lower(lastListedFolder) && RowCount(Win.list) > 0)
        SendMessageA(Win.list, LVM_ENSUREVISIBLE, 0, FALSE);
}

// The end of every listing that had a folder path, found or not: the Shortcuts
// button, the rows shown and redrawing.
static void FinishListing(const std::string& folderPath) {
    EnableWindow(Win.shortcuts, Counters.FolderShortcutSeen);
    ShowFirstRowOfNewFolder(folderPath);
    SetListRedraw(true);
}

// Why the drawing index is not used, told once after the summary.
static std::string IndexNotice;

static void ShowSummary(const std::string& folderPath) {
    lastListedFolder = folderPath;
    SetToolTip(Win.status, "Double-Click Here To View Contents Of " + folderPath);
    std::string summary = ListingSummary(Counters, WindowText(Win.extensionBox));
    if (!IndexNotice.empty()) summary += "   " + IndexNotice;
    IndexNotice.clear();
    SetStatusText(summary);
    // The selection of the list before belongs to rows that are gone.
    UpdateSelectionSummary();
    PumpMessages();
    ListingActive = false;
    SetFocus(Win.list);
}

static void ListFolder() {
    ListingActive = true;
    ApplyViewMode();
    std::string notice = DrawingIndexNotice();
    if (!notice.empty()) IndexNotice = notice;

    Counters = ListCounters();
    std::string folderPath = WithTrailingBackslash(CurrentFolder());
    SetStatusText("");
    SendMessageA(Win.list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(Win.list, LVM_DELETEALLITEMS, 0, 0);

    if (folderPath == "\\") {
        SetWindowTextA(Win.pathBox, "");
        SetWindowTextA(Win.main, "Korvex");
        SetListRedraw(true);
        ShowSummary(folderPath);
        return;
    }

    SetWindowTextA(Win.pathBox, folderPath.c_str());
    SetWindowTextA(Win.main, ("Korvex - " + folderPath).c_str());
    if (RememberPath) {
        LRESULT found = SendMessageA(Win.pathBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(folderPath.c_str()));
        if (found == CB_ERR)
            SendMessageA(Win.pathBox, CB_INSERTSTRING, 0,
                         reinterpret_cast<LPARAM>(folderPath.c_str()));
        RememberPath = false;
    }
    PumpMessages();
    lastPump = GetTickCount();
    if (!ListingActive) return AbandonListing();

    if (FileAttributesOf(folderPath) != INVALID_FILE_ATTRIBUTES) {
        if (Trim(WindowText(Win.filterBox)).empty()) SetWindowTextA(Win.filterBox, "*");
        SetStatusText(" Scanning For AutoCAD Files...");
        // A folder that cannot be entered lists nothing, rather than the
        // previous folder's entries under this folder's name.
        // A folder too deep for the buffers the shell keeps the current
        // directory in never becomes it (the shell would write past them):
        // the temporary folder stands in, and its entries are named in full.
        bool entered;
        if (FitsShellBuffers(folderPath)) {
            entered = SetCurrentDirectoryA(folderPath.c_str()) != 0;
        } else {
            DWORD attributes = FileAttributesOf(folderPath);
            entered =
                attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
            SetCurrentDirectoryA(Paths.tempFolder.c_str());
        }
        if (!entered) {
            FinishListing(folderPath);
            return ShowSummary(folderPath);
        }

        uint64_t folderTime = FolderLastWrite(folderPath);
        ListingEnvironment env = FolderEnvironment(StillCurrent, folderPath);
        auto filter = [] { return Trim(WindowText(Win.filterBox)); };
        auto extension = [] { return WindowText(Win.extensionBox); };
        // The drawings are read from the start, on a thread of their own,
        // while the folder is counted: opening each is most of a listing's
        // time. The reading thread is given whole paths: the current
        // directory may change under it, and the folder may have been given
        // relative.
        std::string readFolder =
            FitsShellBuffers(folderPath) ? CurrentDirectory() : FullPath(folderPath);
        readFolder = WithTrailingBackslash(readFolder.empty() ? folderPath : readFolder);
        std::string readFilter = filter(), readExtension = extension();
        bool properties = PropertyColumnsShown();
        ListingIndex index(properties);
        std::unique_ptr<DrawingReadAhead> ahead(
            new DrawingReadAhead(false, kReadAhead, properties, index.Reader()));
        ahead->AskEach(index.Paths(readFolder, readFilter, readExtension));
        if (!ClassifyEntries(env, extension(), Counters)) return AbandonListing();
        if (!PlanEntries(env, filter(), extension(), Counters)) return AbandonListing();

        // The range is set in 32 bits, so the bar also works beyond 65,535 drawings.
        SendMessageA(Win.progress, PBM_SETRANGE32, 0, Counters.planned);
        FitProgressLabel(Counters.planned);
        ShowProgress(true);
        SetStatusText("Building List:");
        if (Settings.viewMode == "DETAIL") {
            Settings.thumbWidth =
                ThumbWidthFor(static_cast<int>(SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, 1, 0)));
            Settings.thumbHeight = ThumbHeightFor(Settings.thumbWidth);
        }
        RebuildImageList(Settings.showColumn[1] == "TRUE");

        std::string listFilter = filter(), listExtension = extension();
        bool listed;
        {
            // A filter or selection changed during the counting is read afresh.
            if (listFilter != readFilter || listExtension != readExtension) {
                ahead.reset(new DrawingReadAhead(false, kReadAhead, properties, index.Reader()));
                ahead->AskEach(index.Paths(readFolder, listFilter, listExtension));
            }
            ListedRows rows;
            listed = ListEntries(env, listFilter, listExtension, Counters,
                                 [&](const std::string& name, const EntryFacts& facts) {
                                     rows.push_back(AddRow(*ahead, index, readFolder, name, facts));
                                 });
            // A folder that went while it was listed is reported as any
            // folder that is not there: no rows, nothing counted.
            if (listed && ListingActive &&
                FileAttributesOf(folderPath) == INVALID_FILE_ATTRIBUTES) {
                SendMessageA(Win.list, LVM_DELETEALLITEMS, 0, 0);
                Counters = ListCounters();
                ShowProgress(false);
                FinishListing(folderPath);
                return ShowSummary(folderPath);
            }
            if (listed && ListingActive &&
                (FolderLastWrite(folderPath) != folderTime || Counters.listed != Counters.planned))
                listed = CatchUpWithFolder(env, *ahead, index, readFolder, listFilter,
                                           listExtension, rows);
        }
        ahead.reset();
        if (!listed || !ListingActive) return AbandonListing();
        ForgetGoneDrawings(readFolder);
        ShowProgress(false);
        SortFileList();
    }
    FinishListing(folderPath);
    ShowSummary(folderPath);
}

// A listing asked for while one runs (by a message the running one handled
// between entries) supersedes it: the running one is abandoned and returns,
// ending its reading thread and freeing its rows, and only then is the
// newest request listed. Listings never pile up one inside another, however
// fast the user goes from folder to folder.
static bool listingRuns = false;
static bool listAgain = false;

void BuildFileList() {
    if (listingRuns) {
        ListingActive = false;
        listAgain = true;
        return;
    }
    listingRuns = true;
    do {
        listAgain = false;
        ListFolder();
    } while (listAgain && !Win.closing);
    listingRuns = false;
}
