// Subclass of the tree pane's container: the tree always fills it,
// and what the tree's thread asks of the main thread arrives here.
#include <windows.h>

#include <atomic>
#include <string>

#include "filelist/list_selection.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/subclass.h"
#include "runtime/win_helpers.h"
#include "ui/tree_pane.h"
#include "ui/tree_pane_parts.h"

static const char* const PreviousProcProperty = "DTVDialogContainer";

// The newest mouse move of the tree, and whether one is on its way already.
static std::atomic<LPARAM> lastMouseMove{0};
static std::atomic<bool> mouseMovePosted{false};

// The container the tree is in; none once the tree is back in its dialog.
static HWND ContainerOf(HWND tree) {
    HWND parent = GetParent(tree);
    return parent && GetPropA(parent, PreviousProcProperty) ? parent : nullptr;
}

void PostMouseMessageForToolTip(HWND tree, UINT msg, LPARAM lParam) {
    HWND container = ContainerOf(tree);
    if (!container) return;
    if (msg == WM_MOUSEMOVE) {
        lastMouseMove = lParam;
        if (mouseMovePosted.exchange(true)) return;
    }
    if (!PostMessageA(container, WM_KVX_TREE_MOUSE, msg, lParam) && msg == WM_MOUSEMOVE)
        mouseMovePosted = false;
}

void GoToFolderLater(HWND tree, const std::string& folder) {
    HWND container = ContainerOf(tree);
    if (!container) return;
    std::string* request = new std::string(folder);
    if (!PostMessageA(container, WM_KVX_TREE_GO, 0, reinterpret_cast<LPARAM>(request)))
        delete request;
}

void PostTreeKey(HWND tree, WPARAM key) {
    HWND container = ContainerOf(tree);
    if (container) PostMessageA(container, WM_KVX_TREE_KEY, key, 0);
}

static void OnSize(HWND container) {
    HWND tree = PaneTree();
    if (tree && GetParent(tree) == container) FitTreeToContainer(tree, container);
}

static void OnTreeMouse(UINT msg, LPARAM lParam) {
    if (msg == WM_MOUSEMOVE) {
        mouseMovePosted = false;
        lParam = lastMouseMove;
    }
    HWND tree = PaneTree();
    if (tree) RelayToolTipEvent(tree, msg, 0, lParam);
}

static void OnTreeKey(WPARAM key) {
    if (key == VK_ESCAPE) {
        DeselectAllRows();
    } else if (key == 'A') {
        SetFocus(Win.list);
        SelectAllRows();
    }
}

static void OnTreeGo(LPARAM lParam) {
    std::string* folder = reinterpret_cast<std::string*>(lParam);
    NavigateTo(*folder);
    delete folder;
}

// Requests that a pane being taken down did not get to are dropped with it.
static LRESULT OnNcDestroy(HWND container, WPARAM wParam, LPARAM lParam) {
    MSG pending;
    while (PeekMessageA(&pending, container, WM_KVX_TREE_GO, WM_KVX_TREE_GO, PM_REMOVE))
        delete reinterpret_cast<std::string*>(pending.lParam);
    return EndSubclass(PreviousProcProperty, container, wParam, lParam);
}

static LRESULT CALLBACK TreeContainerProc(HWND container, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: OnSize(container); break;
    case WM_KVX_TREE_MOUSE: OnTreeMouse(static_cast<UINT>(wParam), lParam); return 0;
    case WM_KVX_TREE_KEY: OnTreeKey(wParam); return 0;
    case WM_KVX_TREE_GO: OnTreeGo(lParam); return 0;
    case WM_NOTIFY:
        // Where the tree tells its present parent rather than the window it
        // was made in, the pane's thread still answers.
        if (PaneDialog() && reinterpret_cast<NMHDR*>(lParam)->hwndFrom == PaneTree())
            return SendMessageA(PaneDialog(), WM_NOTIFY, wParam, lParam);
        break;
    case WM_NCDESTROY: return OnNcDestroy(container, wParam, lParam);
    }
    return PassToPrevious(PreviousProcProperty, container, msg, wParam, lParam);
}

void SubclassTreeContainer(HWND container) {
    mouseMovePosted = false; // one posted to an earlier container is gone with it
    SubclassWithProperty(container, PreviousProcProperty, TreeContainerProc);
}
