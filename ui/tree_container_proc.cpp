// Subclass of the tree pane's container: the borrowed tree always fills it.
#include <windows.h>

#include "runtime/subclass.h"
#include "ui/tree_pane_parts.h"

static const char* const PreviousProcProperty = "DTVDialogContainer";

static void OnSize(HWND container) {
    HWND tree = PaneTree();
    if (tree && GetParent(tree) == container) FitTreeToContainer(tree, container);
}

static LRESULT CALLBACK TreeContainerProc(HWND container, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: OnSize(container); break;
    case WM_NCDESTROY: return EndSubclass(PreviousProcProperty, container, wParam, lParam);
    }
    return PassToPrevious(PreviousProcProperty, container, msg, wParam, lParam);
}

void SubclassTreeContainer(HWND container) {
    SubclassWithProperty(container, PreviousProcProperty, TreeContainerProc);
}
