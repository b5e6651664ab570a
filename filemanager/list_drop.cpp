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
#include "filemanager/drag_drop.h"
#include "filemanager/file_transfer.h"
#include "runtime/strings.h"

static void InsertItem(HMENU menu, UINT position, UINT id, UINT type, const std::string& text) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = type;
    item.wID = id;
    item.dwTypeData = const_cast<char*>(text.c_str());
    InsertMenuItemA(menu, position, TRUE, &item);
}

std::string DroppedFileName(HDROP drop, UINT index) {
    UINT length = DragQueryFileA(drop, index, nullptr, 0);
    std::string name(length + 1, '\0');
    DragQueryFileA(drop, index, &name[0], length + 1);
    name.resize(length);
    return name;
}

HMENU BuildListDropMenu(const std::string& target) {
    HMENU menu = CreatePopupMenu();
    InsertItem(menu, 0, IDM_DROP_COPY, MFT_STRING, "C&opy To " + MenuItemText(target));
    InsertItem(menu, 1, IDM_DROP_MOVE, MFT_STRING, "&Move To " + MenuItemText(target));
    InsertItem(menu, 2, 0, MFT_SEPARATOR, "");
    InsertItem(menu, 3, IDM_LIST_DROP_CANCEL, MFT_STRING, "Cancel");
    return menu;
}

void DropOnList(HDROP drop) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> files;
    files.reserve(count);
    for (UINT i = 0; i < count; ++i)
        files.push_back(DroppedFileName(drop, i));
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
    TransferFilesToFolder(Win.main, chosen == IDM_DROP_MOVE, files, target);
    BuildFileList();
}
