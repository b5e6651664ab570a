// The folder tree pane. The system's folder browser runs on a thread of its
// own; its dialog is kept off screen and its tree view is re-parented into a
// container on the main window, so the shell enumerates and draws the folders
// and the program hears of every selection through the browser's callback.
#include "ui/tree_pane.h"

#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

#include "filelist/file_list_build.h"
#include "inspect/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "settings/settings_file.h"
#include "ui/command_line.h"
#include "ui/main_layout.h"
#include "ui/tree_pane_parts.h"
#include "ui/tree_rules.h"

// Written on the pane's thread while the browser initialises, read on the
// main thread.
static std::atomic<HWND> paneDialog{nullptr};
static std::atomic<HWND> paneTree{nullptr};
static std::atomic<bool> paneInitialised{false};
static std::atomic<bool> paneInitialising{false};
// A selection the shell made while the browser initialised; it is listed by
// the first navigation rather than on its own, since initialisation empties
// the current folder right after it.
static std::atomic<bool> initialSelection{false};
static std::atomic<int> selectionChanges{0};

// Main thread only.
static HWND paneContainer = nullptr;
static HANDLE paneThread = nullptr;
static unsigned paneThreadId = 0;
static bool firstNavigationDone = false;
static std::string returnFolder;

// Upper bounds for waiting on the pane's thread; it normally takes a moment.
static const DWORD ThreadStartLimit = 15000;
static const DWORD ThreadEndLimit = 15000;

HWND PaneTree() {
    return paneTree;
}

// ---- The pane's thread --------------------------------------------------

using BeginThreadEx = uintptr_t(__cdecl*)(void*, unsigned, unsigned(__stdcall*)(void*), void*,
                                          unsigned, unsigned*);
using EndThreadEx = void(__cdecl*)(unsigned);

// The C runtime's thread functions, looked up by name so that the runtime
// sets up its per-thread data for the pane's thread.
static void* RuntimeFunction(const char* name) {
    HMODULE crt = GetModuleHandleA("msvcrt");
    if (!crt) crt = LoadLibraryA("msvcrt");
    return crt ? reinterpret_cast<void*>(GetProcAddress(crt, name)) : nullptr;
}

static void RepaintSoon(HWND wnd) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

static HWND FindBrowserTree(HWND dialog) {
    HWND tree = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[15] = {};
        GetClassNameA(child, className, sizeof className);
        if (std::strncmp(className, "SysTreeView32", 13) == 0) tree = child;
    }
    return tree;
}

void FitTreeToContainer(HWND tree, HWND container) {
    RECT client;
    GetClientRect(container, &client);
    MoveWindow(tree, 0, 0, client.right, client.bottom, TRUE);
}

static void OnBrowserInitialized(HWND dialog) {
    paneInitialising = true;
    initialSelection = false;
    paneDialog = dialog;
    MoveWindow(dialog, -5000, -5000, 1, 1, TRUE);
    std::string folder = CurrentFolder();
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));

    HWND tree = FindBrowserTree(dialog);
    paneTree = tree;
    if (tree) SetParent(tree, paneContainer);
    SubclassTreeDialog(dialog);
    if (tree) SubclassTreeView(tree);
    SetCurrentFolder("");
    if (tree) {
        FitTreeToContainer(tree, paneContainer);
        DragAcceptFiles(tree, TRUE);
    }
    RepaintSoon(paneContainer);
    ShowWindow(paneContainer, SW_SHOW);

    paneInitialising = false;
    paneInitialised = true;
    // The first navigation belongs to the main thread, after the window build.
    PostMessageA(Win.main, WM_KVX_TREE_READY, 0, 0);
}

static void OnBrowserSelectionChanged(LPCITEMIDLIST items) {
    char path[2048] = {};
    SetCurrentFolder(SHGetPathFromIDListA(items, path) ? path : "");
    ++selectionChanges;
    if (paneInitialising) {
        initialSelection = true;
        return;
    }
    // Listings run on the main thread only.
    PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
}

static int CALLBACK BrowserCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM) {
    switch (msg) {
    case BFFM_INITIALIZED: OnBrowserInitialized(dialog); break;
    case BFFM_SELCHANGED: OnBrowserSelectionChanged(reinterpret_cast<LPCITEMIDLIST>(lParam)); break;
    }
    return 0;
}

static void RunBrowser() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // No owner: the browser would disable it for as long as it runs.
    BROWSEINFOA info = {};
    info.hwndOwner = GetActiveWindow();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowserCallback;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (chosen) CoTaskMemFree(chosen);
    CoUninitialize();
}

static unsigned __stdcall PaneThreadProc(void*) {
    RunBrowser();
    auto endThread = reinterpret_cast<EndThreadEx>(RuntimeFunction("_endthreadex"));
    if (endThread) endThread(0);
    return 0;
}

// ---- Main thread ----------------------------------------------------------

// Waits for the pane's thread to end, or with stopWhenReady for its browser
// to be initialised, handling this thread's messages meanwhile: the pane's
// windows send messages to the main window's while they start and close.
static bool WaitForPaneThread(DWORD limit, bool stopWhenReady) {
    DWORD start = GetTickCount();
    for (;;) {
        if (stopWhenReady && paneInitialised) return true;
        DWORD waited = GetTickCount() - start;
        if (waited >= limit) return false;
        DWORD slice = stopWhenReady ? 20 : limit - waited;
        DWORD result = MsgWaitForMultipleObjects(1, &paneThread, FALSE, slice, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) return !stopWhenReady;
        if (result == WAIT_OBJECT_0 + 1) PumpMessages();
        if (result == WAIT_FAILED) return false;
    }
}

HWND CreateTreePane(HWND parent, int id, int x, int y, int width, int height) {
    HWND container = CreateWindowExA(
        0, "Static", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP | SS_NOTIFY, x, y,
        width, height, parent, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr),
        nullptr);
    paneContainer = container;
    Win.treeContainer = container;
    paneDialog = nullptr;
    paneTree = nullptr;
    paneInitialised = false;
    paneInitialising = false;
    firstNavigationDone = false;

    SubclassTreeContainer(container);
    ShowWindow(container, SW_HIDE);

    auto beginThread = reinterpret_cast<BeginThreadEx>(RuntimeFunction("_beginthreadex"));
    if (beginThread)
        paneThread = reinterpret_cast<HANDLE>(
            beginThread(nullptr, 0, PaneThreadProc, nullptr, 0, &paneThreadId));
    return container;
}

DWORD PaneThreadId() {
    return paneThread ? paneThreadId : 0;
}

void DestroyTreePane() {
    // A pane being taken down does not navigate any more.
    firstNavigationDone = true;
    // The dialog can only be closed once the browser has it.
    if (paneThread && !paneInitialised) WaitForPaneThread(ThreadStartLimit, true);

    HWND dialog = paneDialog;
    HWND tree = paneTree;
    // The tree goes back to its dialog so that it ends with it.
    if (tree && dialog) SetParent(tree, dialog);
    if (dialog) {
        SendMessageA(dialog, WM_CLOSE, 1, 0);
        DestroyWindow(dialog);
    }
    if (paneContainer) DestroyWindow(paneContainer);
    if (Win.treeContainer == paneContainer) Win.treeContainer = nullptr;
    paneContainer = nullptr;

    if (paneThread) {
        WaitForPaneThread(ThreadEndLimit, false);
        CloseHandle(paneThread);
        paneThread = nullptr;
    }
    paneDialog = nullptr;
    paneTree = nullptr;
    paneInitialised = false;
}

static void SelectInBrowser(HWND dialog, const std::string& folder) {
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
}

void NavigateTo(std::string path) {
    std::string folder = NavigationPath(std::move(path));
    SetCurrentFolder(folder);
    HWND dialog = paneDialog;
    if (!dialog) return;
    int before = selectionChanges;
    SelectInBrowser(dialog, folder);
    // Wine's browser finds the folder by comparing shell items that carry
    // each folder's times, and parsing the path reads, and so touches, the
    // folders along it: one changed since it was last read can be missed.
    for (int retry = 0; retry < 2 && selectionChanges == before && PathExists(folder); ++retry)
        SelectInBrowser(dialog, folder);
    // Still no change: the folder was selected already, or the browser does
    // not know it yet (Wine's tree misses folders made after their parent was
    // opened). The folder exists, so it is listed all the same.
    if (selectionChanges == before && PathExists(folder))
        PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
}

void RestartListBuild() {
    RememberPath = true;
    // Both run on the main thread, so the running listing sees the cleared
    // flag at its next message pump.
    if (ListingActive) ListingActive = false;
    BuildFileList();
}

void RunFirstNavigationIfReady() {
    if (!FormLoaded || !paneInitialised || firstNavigationDone) return;
    firstNavigationDone = true;

    LayoutMainWindow();
    RepaintSoon(Win.list);
    ShowWindow(Win.list, SW_SHOW);
    RepaintSoon(paneContainer);
    ShowWindow(paneContainer, SW_SHOW);
    if (paneTree) SetToolTip(paneTree, "Select A Folder To View", true);

    std::string folder = returnFolder;
    returnFolder.clear(); // each refresh sets it afresh
    if (folder.empty()) folder = CommandLineArguments();
    if (folder.empty()) folder = ReadMainText("Path");
    int before = selectionChanges;
    NavigateTo(folder);
    // The shell reports no change when the folder was already selected while
    // the browser initialised; that folder has not been listed yet. (An
    // existing folder has been handed to the listing by NavigateTo.)
    if (selectionChanges == before && initialSelection && !PathExists(CurrentFolder()))
        PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
    TreeReady = true;
}

bool RefreshOnF5(WPARAM key) {
    if (key != VK_F5) return false;
    RefreshTreePane();
    return true;
}

void RefreshTreePane() {
    returnFolder = WithTrailingBackslash(CurrentFolder());
    RECT client = {};
    GetClientRect(paneContainer, &client);
    DestroyTreePane();
    CreateTreePane(Win.main, ID_TREE_PANE, 0, 0, client.right, client.bottom);
    Sleep(300);
    SetFocus(Win.list);
}

// ---- Paths of tree items --------------------------------------------------

static std::string DesktopPath() {
    LPITEMIDLIST items = nullptr;
    char path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &items)) && items) {
        if (!SHGetPathFromIDListA(items, path)) path[0] = '\0';
        CoTaskMemFree(items);
    }
    return path;
}

static std::string ItemText(HWND tree, HTREEITEM item) {
    char text[261] = {};
    TVITEMA info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = 260;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    text[260] = '\0';
    return text;
}

std::string TreeItemPath(HWND tree, HTREEITEM item) {
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (item == root) return DesktopPath() + "\\";

    // The browser names items by their display texts; a drive's text holds
    // its letter and colon.
    std::vector<std::string> texts;
    for (int step = 0; step < 31; ++step) {
        texts.push_back(ItemText(tree, item));
        if (texts.back().find(':') != std::string::npos) return ItemPathFromTexts(texts, false, "");
        item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
        if (item == root) return ItemPathFromTexts(texts, true, DesktopPath());
    }
    return std::string();
}
