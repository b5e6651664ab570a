#include "runtime/app_state.h"

#include <mutex>

WorkPaths Paths;
MainSettings Settings;
HtmlSettings HtmlOptions;
MainWindow Win;
ThumbnailState Thumbs;

bool FormLoaded = false;
bool TreeReady = false;
bool StatusUpdate = true;
bool BlackBackground = false;
bool DialogClosed = false;
bool SelectionMode = false;
bool ListingActive = false;
bool RememberPath = false;

bool PreviewSupported = true;
bool PreviewIs8Bit = false;
bool PreviewFound = false;

std::string StartFolder;
bool SearchActive = false;
std::string SearchPropertyText;
DrawingIndex* DrawingsIndex = nullptr;
HWND LastSearchWindow = nullptr;
int ResultSortColumn = 0;
bool ResultSortAscending = false;
bool HtmlExportInProgress = false;
bool ZipInProgress = false;
bool ZipCancelRequested = false;
bool CloseWhenRunEnds = false;
bool HtmlExportStopRequested = false;

void CloseIfAskedDuringRun() {
    if (!CloseWhenRunEnds) return;
    CloseWhenRunEnds = false;
    if (Win.main) PostMessageA(Win.main, WM_CLOSE, 0, 0);
}
HWND ZipOptionsDialog = nullptr;

int SortColumn = 2;
bool SortAscending = false;
bool SortItemNames = false;
LPARAM SortItemsAnsweredUpTo = 0;

static std::mutex folderLock;
static std::string currentFolder;

std::string CurrentFolder() {
    std::lock_guard<std::mutex> hold(folderLock);
    return currentFolder;
}

void SetCurrentFolder(const std::string& path) {
    std::lock_guard<std::mutex> hold(folderLock);
    currentFolder = path;
}
