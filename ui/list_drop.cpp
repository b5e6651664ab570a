// Files dropped on the file list are offered for copying or moving into the
// listed folder.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "filelist/file_list_build.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "ui/drag_drop.h"
#include "ui/shell_transfer.h"

static void InsertItem(HMENU menu, UINT position, UINT id, UINT type, const std::string& text) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = type;
    item.wID = id;
    item.dwTypeData = const_cast<char*>(text.c_str());
    InsertMenuItemA(menu, position, TRUE, &item);
}

HMENU BuildListDropMenu(const std::string& target) {
    HMENU menu = CreatePopupMenu();
    InsertItem(menu, 0, IDM_DROP_COPY, MFT_STRING, "C&opy To " + target);
    InsertItem(menu, 1, IDM_DROP_MOVE, MFT_STRING, "&Move To " + target);
    InsertItem(menu, 2, 0, MFT_SEPARATOR, "");
    InsertItem(menu, 3, IDM_LIST_DROP_CANCEL, MFT_STRING, "Cancel");
    return menu;
}

void DropOnList(HDROP drop) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> files;
    files.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        char name[2048] = {};
        DragQueryFileA(drop, i, name, sizeof name);
        files.push_back(name);
    }
    DragFinish(drop);
    if (files.empty()) return;

    std::string target = WithTrailingBackslash(CurrentFolder());
    HMENU menu = BuildListDropMenu(target);
    POINT at;
    GetCursorPos(&at);
    int chosen = static_cast<int>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, Win.main, nullptr));
    DestroyMenu(menu);
    if (chosen != IDM_DROP_COPY && chosen != IDM_DROP_MOVE) return;
    TransferFilesToFolder(chosen == IDM_DROP_COPY ? FO_COPY : FO_MOVE, files, target);
    BuildFileList();
}
