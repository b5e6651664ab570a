// Program-wide state of Korvex. Everything that lives for the whole run and is
// shared between subsystems is declared here, and defined in app_state.cpp.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

// Paths fixed at start-up.
struct WorkPaths {
    std::string tempFolder;    // with a trailing backslash
    std::string programFolder; // with a trailing backslash
    std::string programName;
    std::string settingsFile;  // "KVX.ini"
    std::string previewBitmap; // tempFolder + "KvxBmp.bmp"
    std::string htmlFolder;    // tempFolder + "KvxHtml\"
    std::string htmlFile;      // htmlFolder + "KvxHtml.htm"
};

// The [MAIN] settings as they live in memory while the program runs. Flags are
// held as the words "TRUE" and "FALSE". Column arrays are indexed by list
// column (1 Preview .. 6 Attributes, then the drawing's 7 Title, 8 Author and
// 9 Last Saved By); element 0 is unused.
constexpr int kListColumns = 10;
constexpr int kFirstPropertyColumn = 7;
struct MainSettings {
    std::string showColumn[kListColumns];
    int columnWidth[kListColumns] = {};
    std::string viewMode = "DETAIL";
    int treeWidth = 250;
    std::string showCopyTo[6], showMoveTo[6]; // 1..5
    std::string copyTo[6], moveTo[6];         // 1..5
    std::string favorites[21];                // 1..20
    int thumbWidth = 180;
    int thumbHeight = 144;
};

// The [HTML] settings in memory, loaded when the HTML options dialog opens
// and saved when it is confirmed. Flags are the words "TRUE" and "FALSE".
struct HtmlSettings {
    // Preview, file name, version, size, date, attributes.
    std::string showItem[6] = {"TRUE", "TRUE", "TRUE", "TRUE", "TRUE", "TRUE"};
    std::string font = "Times New Roman";
    int layout = 0; // 1 detail table, 3 or 4 files per grid row; 0 none chosen
    std::string showHeader = "TRUE";
    std::string useCustomHeader = "FALSE";
    std::string customHeader;
    std::string title = "Korvex HTML Output";
    std::string useCustomExport = "FALSE";
    std::string customExport;
    std::string headerText; // the page's header line; never stored
};

// Handles and layout of the main window.
struct MainWindow {
    HWND main = nullptr;
    HWND shortcuts = nullptr;
    HWND go = nullptr;
    HWND pathBox = nullptr;
    HWND filterBox = nullptr;
    HWND extensionBox = nullptr;
    HWND list = nullptr;
    HWND status = nullptr;
    HWND progress = nullptr;
    HWND progressLabel = nullptr;
    HWND scratchList = nullptr;
    HWND treeContainer = nullptr;
    HWND splitter = nullptr;
    HWND tooltip = nullptr;
    HMENU viewMenu = nullptr;
    HMENU favoritesMenu = nullptr;
    HCURSOR handCursor = nullptr;
    HCURSOR splitterCursor = nullptr;
    WNDPROC previousListProc = nullptr;
    WNDPROC previousMainProc = nullptr;
    WNDPROC previousSplitterProc = nullptr;
    int clientWidth = 0;
    int clientHeight = 0;
    int selectionTextWidth = 0; // last measured width of status part 1's text
    bool closing = false;       // WM_CLOSE is being handled
};

// The list's image list and the images a row without a preview shows.
struct ThumbnailState {
    HIMAGELIST images = nullptr;
    int noPreview = 0;
    int notFound = 0;
    int notSupported = 0;
    int current = 0; // index chosen by the last MakeListThumbnail
    // Thumbnails the image list may hold besides the placeholders; 0 leaves
    // it to the memory the cells' size allows.
    int limit = 0;
};

extern WorkPaths Paths;
extern MainSettings Settings;
extern HtmlSettings HtmlOptions;
extern MainWindow Win;
extern ThumbnailState Thumbs;

// Flags of the main window and the listing.
extern bool FormLoaded;
extern bool TreeReady;
extern bool StatusUpdate;
extern bool BlackBackground; // "Invert": previews and placeholders shown on black
extern bool DialogClosed;
extern bool SelectionMode;
extern bool ListingActive;
extern bool RememberPath;

// Set by inspection of the last drawing.
extern bool PreviewSupported;
extern bool PreviewIs8Bit;
extern bool PreviewFound;

// The folder given on the command line, for the first navigation; "" for none.
extern std::string StartFolder;

extern bool SearchActive;
// The search's "Text in properties": only drawings whose properties hold it
// are found; "" finds every drawing.
extern std::string SearchPropertyText;
// The drawing index the listing and the search read through; null while
// none is used (turned off in the settings, or it cannot be opened).
class DrawingIndex;
extern DrawingIndex* DrawingsIndex;
// The window of the last search command; null once that window is destroyed.
extern HWND LastSearchWindow;
// Sorting of the search results: column 1..6, 0 until a search has ended.
extern int ResultSortColumn;
extern bool ResultSortAscending;
// An HTML export is running (it pumps messages while it asks and writes).
extern bool HtmlExportInProgress;
extern bool ZipInProgress;
extern bool ZipCancelRequested;
// The user closed Korvex while an export or a zip ran: the main window closes
// when the run ends, and a run stopped meanwhile leaves nothing behind.
extern bool CloseWhenRunEnds;
// The running HTML export is to stop before its next drawing.
extern bool HtmlExportStopRequested;
// Called when an export or a zip has ended: closes the main window when the
// user asked for that during the run.
void CloseIfAskedDuringRun();
// The open zip options dialog, null while none is open.
extern HWND ZipOptionsDialog;

// Sorting of the file list.
extern int SortColumn;
extern bool SortAscending;
// Column 0 of the sorted rows is answered when the list view asks for it:
// the name (LIST view) or else the rank. Rows whose parameters are at most
// SortItemsAnsweredUpTo are answered so; newer ones still hold their text.
extern bool SortItemNames;
extern LPARAM SortItemsAnsweredUpTo;

// The folder the program shows. The tree pane writes it; every other part
// reads a copy. Guarded, because the tree pane runs on a thread of its own.
std::string CurrentFolder();
void SetCurrentFolder(const std::string& path);
