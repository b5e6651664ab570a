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
#include "filemanager/file_transfer.h"
#include "filemanager/drag_drop.h"
#include "ui/tree_pane.h"
#include "ui/tree_pane_parts.h"
#include "ui/tree_rules.h"

static void InsertItem(HMENU menu, UINT position, UINT id, const std::string& text) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = MFT_STRING;
    item.wID = id;
    item.dwTypeData = const_cast<char*>(text.c_str());
    InsertMenuItemA(menu, position, TRUE, &item);
}

static void InsertSeparator(HMENU menu, UINT position) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = MFT_SEPARATOR;
    InsertMenuItemA(menu, position, TRUE, &item);
}

HMENU BuildTreeDropMenu(const std::string& target, bool targetValid,
                        const std::string& sourceFolder) {
    HMENU menu = CreatePopupMenu();
    if (targetValid) {
        InsertItem(menu, 0, IDM_DROP_COPY, "C&opy To " + MenuItemText(target));
        InsertItem(menu, 1, IDM_DROP_MOVE, "&Move To " + MenuItemText(target));
        InsertSeparator(menu, 2);
    }
    InsertItem(menu, 3, IDM_TREE_DROP_SET_PATH, "Set Path To " + MenuItemText(sourceFolder));
    InsertSeparator(menu, 4);
    InsertItem(menu, 5, IDM_TREE_DROP_CANCEL, "&Cancel");
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
