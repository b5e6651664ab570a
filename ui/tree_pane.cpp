// The folder tree pane. Its tree view runs on a thread of its own, made as
// the child of a hidden window of that thread and re-parented into a
// container on the main window: the tree reads folders and answers the user
// while the main thread lists, and the main thread answers whatever the tree
// is reading.
#include "ui/tree_pane.h"

#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "filelist/file_list_build.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/folder_browser.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "settings/settings_file.h"
#include "ui/main_layout.h"
#include "ui/tree_pane_parts.h"
#include "ui/tree_rules.h"

// The panes are numbered; each pane's thread knows its own number, and only
// the selections of the pane that has made its first navigation count. So a
// pane that is still starting or already being taken down cannot change the
// current folder, whatever its tree does meanwhile.
static std::atomic<unsigned> listeningPane{0};
static thread_local unsigned thisThreadsPane = 0;
static thread_local HWND thisThreadsContainer = nullptr;

// Written on the pane's thread while the pane initialises, read on the
// main thread.
static std::atomic<HWND> paneDialog{nullptr};
static std::atomic<HWND> paneTree{nullptr};
static std::atomic<bool> paneInitialised{false};
static std::atomic<int> selectionChanges{0};

// Main thread only.
static unsigned paneNumber = 0;
static HWND paneContainer = nullptr;
static HANDLE paneThread = nullptr;
static unsigned paneThreadId = 0;
static bool firstNavigationDone = false;
static bool refreshing = false;
// The folder the next first navigation goes to: the folder shown when a
// refresh began, or the last one asked for while the pane could not yet
// navigate. Empty at start.
static std::string returnFolder;
// A pane built by a refresh hands the focus back to the list once it is in.
static bool focusListWhenReady = false;

// Upper bounds for waiting on the pane's thread; it normally takes a moment.
static const DWORD ThreadStartLimit = 10000;
static const DWORD ThreadEndLimit = 10000;

HWND PaneTree() {
    return paneTree;
}

HWND PaneDialog() {
    return paneDialog;
}

// ---- The pane's thread --------------------------------------------------
//
// Nothing here waits for the main thread: what the tree needs done there is
// posted (the selection, the first navigation, keys, the tooltip's mouse
// messages), so the tree keeps working while the main thread is busy.

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

void FitTreeToContainer(HWND tree, HWND container) {
    RECT client;
    GetClientRect(container, &client);
    MoveWindow(tree, 0, 0, client.right, client.bottom, TRUE);
}

// The tree shows the program's shared tooltip; one of its own for long
// names would come up under the mouse in its place.
static HWND CreateFolderTree(HWND dialog) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                               TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS,
                           0, 0, 1, 1, dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The tree starts at the current folder; the current folder itself is left
// alone, since it is what the user last asked for and what the first
// navigation returns to. The container is shown by the main thread.
static void InitialisePane(HWND dialog, HWND tree) {
    HWND container = thisThreadsContainer;
    paneDialog = dialog;
    paneTree = tree;
    StartTreeFolders(dialog, tree);
    SelectFolderInTree(CurrentFolder(), 0);
    SetParent(tree, container);
    SubclassTreeView(tree);
    FitTreeToContainer(tree, container);
    DragAcceptFiles(tree, TRUE);
    paneInitialised = true;
    // The first navigation belongs to the main thread, after the window build.
    PostMessageA(Win.main, WM_KVX_TREE_READY, thisThreadsPane, 0);
}

void TreeSelectionChanged(const std::string& path) {
    if (thisThreadsPane != listeningPane) return;
    SetCurrentFolder(path);
    ++selectionChanges;
    // Listings run on the main thread only.
    PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
}

// The folder was selected already, or the tree cannot show it (a network
// folder): an existing folder is listed all the same.
void TreeSelectionUnchanged(const std::string& folder) {
    if (thisThreadsPane != listeningPane || !PathExists(folder)) return;
    PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
}

// The pane's number and its container, handed to its thread.
struct PaneStart {
    unsigned number;
    HWND container;
};

// The pane's windows and their message loop, until DestroyTreePane closes
// the hidden window. The shell's folder menu on the tree needs COM.
static void RunPane() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND dialog = CreateTreeDialog();
    HWND tree = dialog ? CreateFolderTree(dialog) : nullptr;
    if (tree) {
        InitialisePane(dialog, tree);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } else if (dialog) {
        DestroyWindow(dialog);
    }
    CoUninitialize();
}

static unsigned __stdcall PaneThreadProc(void* argument) {
    PaneStart* start = static_cast<PaneStart*>(argument);
    thisThreadsPane = start->number;
    thisThreadsContainer = start->container;
    delete start;
    RunPane();
    auto endThread = reinterpret_cast<EndThreadEx>(RuntimeFunction("_endthreadex"));
    if (endThread) endThread(0);
    return 0;
}

// ---- Main thread ----------------------------------------------------------

// Waits for the pane's thread to end, or with stopWhenReady for its windows
// to be initialised. Meanwhile only messages sent to this thread's windows
// are handled (the pane's windows send some while they start and close):
// nothing the user does, no F5 and no Go, runs in the middle of replacing
// the pane.
static bool WaitForPaneThread(DWORD limit, bool stopWhenReady) {
    DWORD start = GetTickCount();
    for (;;) {
        if (stopWhenReady && paneInitialised) return true;
        DWORD waited = GetTickCount() - start;
        if (waited >= limit) return false;
        DWORD slice = stopWhenReady ? 20 : limit - waited;
        DWORD result = MsgWaitForMultipleObjects(1, &paneThread, FALSE, slice, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) return !stopWhenReady;
        if (result == WAIT_FAILED) return false;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
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
    firstNavigationDone = false;
    ++paneNumber;
    // A pane made at start-up goes where start-up says, not where an earlier
    // window of this process was.
    if (!refreshing) returnFolder.clear();

    SubclassTreeContainer(container);
    ShowWindow(container, SW_HIDE);

    auto beginThread = reinterpret_cast<BeginThreadEx>(RuntimeFunction("_beginthreadex"));
    PaneStart* start = new PaneStart{paneNumber, container};
    paneThread = beginThread ? reinterpret_cast<HANDLE>(
                                   beginThread(nullptr, 0, PaneThreadProc, start, 0, &paneThreadId))
                             : nullptr;
    if (!paneThread) delete start;
    return container;
}

DWORD PaneThreadId() {
    return paneThread ? paneThreadId : 0;
}

void DestroyTreePane() {
    // A pane being taken down neither navigates nor changes the folder.
    listeningPane = 0;
    firstNavigationDone = true;
    // The hidden window can only be closed once the pane's thread has made it.
    if (paneThread && !paneInitialised) WaitForPaneThread(ThreadStartLimit, true);

    HWND dialog = paneDialog;
    HWND tree = paneTree;
    // The tree goes back to its window so that it ends with it.
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

void NavigateTo(std::string path) {
    std::string folder = NavigationPath(std::move(path));
    SetCurrentFolder(folder);
    HWND dialog = paneDialog;
    // A pane that is starting (or being replaced) goes there when it is in.
    if (!dialog || !firstNavigationDone || listeningPane != paneNumber) {
        returnFolder = folder;
        return;
    }
    // The selection, or the folder already selected, asks for the listing;
    // folders on the way that take long to read are read after this returns.
    SendMessageA(dialog, WM_KVX_TREE_SELECT, 0, reinterpret_cast<LPARAM>(&folder));
}

void RestartListBuild() {
    // Nothing more is listed into a closing window.
    if (Win.closing) return;
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
    if (folder.empty()) folder = StartFolder;
    if (folder.empty()) folder = ReadMainText("Path");
    // From here on the pane's selections are the current folder.
    listeningPane = paneNumber;
    int before = selectionChanges;
    NavigateTo(folder);
    // An existing folder has been handed to the listing by the tree,
    // selected or not; any other is listed here.
    if (selectionChanges == before && !PathExists(CurrentFolder()))
        PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
    TreeReady = true;
    if (focusListWhenReady) SetFocus(Win.list);
    focusListWhenReady = false;
}

bool RefreshOnF5(WPARAM key) {
    if (key != VK_F5) return false;
    RefreshTreePane();
    return true;
}

// A refresh replaces the pane at once, without handling any other message
// meanwhile. One asked for while a pane is still starting is folded into that
// pane, which is new already and lists the current folder once it is in; and
// a closing window gets no new pane.
void RefreshTreePane() {
    if (refreshing || Win.closing || !paneContainer) return;
    if (paneThread && !firstNavigationDone) return;
    refreshing = true;
    std::string current = CurrentFolder();
    returnFolder = current.empty() ? std::string() : WithTrailingBackslash(current);
    RECT client = {};
    GetClientRect(paneContainer, &client);
    DestroyTreePane();
    CreateTreePane(Win.main, ID_TREE_PANE, 0, 0, client.right, client.bottom);
    focusListWhenReady = true;
    SetFocus(Win.list);
    refreshing = false;
}

// ---- Paths of tree items --------------------------------------------------

static std::string DesktopPath() {
    LPITEMIDLIST items = nullptr;
    std::string path;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &items)) && items) {
        path = PathOfItems(items);
        CoTaskMemFree(items);
    }
    return path;
}

static std::string ItemText(HWND tree, HTREEITEM item) {
    // A display name of up to 255 characters, each up to four UTF-8 bytes.
    std::string text(1024, '\0');
    TVITEMA info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = &text[0];
    info.cchTextMax = static_cast<int>(text.size());
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    text.resize(text.find('\0'));
    return text;
}

std::string TreeItemPath(HWND tree, HTREEITEM item) {
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (item == root) return DesktopPath() + "\\";

    // The tree names items by their folders' names; a drive's text holds
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
