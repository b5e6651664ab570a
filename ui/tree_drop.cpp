// Files dropped on the folder tree: copy or move them to the folder under the
// drop point, or go to the folder they came from.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "runtime/file_facts.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/strings.h"
#include "runtime/win_helpers.h"
#include "filemanager/file_transfer.h"
#include "filemanager/drag_drop.h"
#include "ui/tree_pane.h"
#include "ui/tree_pane_parts.h"
#include "ui/tree_rules.h"

HMENU BuildTreeDropMenu(const std::string& target, bool targetValid,
                        const std::string& sourceFolder) {
    HMENU menu = CreatePopupMenu();
    if (targetValid) {
        InsertMenuEntry(menu, 0, IDM_DROP_COPY, "C&opy To " + MenuItemText(target));
        InsertMenuEntry(menu, 1, IDM_DROP_MOVE, "&Move To " + MenuItemText(target));
        InsertMenuEntry(menu, 2, 0, "", MFT_SEPARATOR);
    }
    InsertMenuEntry(menu, 3, IDM_TREE_DROP_SET_PATH, "Set Path To " + MenuItemText(sourceFolder));
    InsertMenuEntry(menu, 4, 0, "", MFT_SEPARATOR);
    InsertMenuEntry(menu, 5, IDM_TREE_DROP_CANCEL, "&Cancel");
    return menu;
}

void DropFilesOnTree(HWND tree, HDROP drop) {
    POINT point;
    DragQueryPoint(drop, &point);
    TVHITTESTINFO hit = {};
    hit.pt = point;
    SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    std::string target;
    bool targetValid = false;
    if (hit.hItem && hit.flags) {
        target = TreeItemPath(tree, hit.hItem);
        targetValid = PathExists(target);
    }

    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> names;
    for (UINT i = 0; i < count; ++i)
        names.push_back(DroppedFileName(drop, i));
    DragFinish(drop);
    if (names.empty()) return;

    std::string sourceFolder = FolderPart(names.back());
    HMENU menu = BuildTreeDropMenu(target, targetValid, sourceFolder);
    ClientToScreen(tree, &point);
    int chosen = static_cast<int>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, point.x, point.y, tree, nullptr));
    DestroyMenu(menu);

    switch (chosen) {
    case IDM_DROP_COPY:
    case IDM_DROP_MOVE: TransferFilesToFolder(tree, chosen == IDM_DROP_MOVE, names, target); break;
    case IDM_TREE_DROP_SET_PATH:
        // Navigation is the main thread's; the container hands it over.
        GoToFolderLater(tree, sourceFolder);
        break;
    }
}
