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
#include "runtime/win_helpers.h"

std::string DroppedFileName(HDROP drop, UINT index) {
    UINT length = DragQueryFileA(drop, index, nullptr, 0);
    std::string name(length + 1, '\0');
    DragQueryFileA(drop, index, &name[0], length + 1);
    name.resize(length);
    return name;
}

HMENU BuildListDropMenu(const std::string& target) {
    HMENU menu = CreatePopupMenu();
    InsertMenuEntry(menu, 0, IDM_DROP_COPY, "C&opy To " + MenuItemText(target));
    InsertMenuEntry(menu, 1, IDM_DROP_MOVE, "&Move To " + MenuItemText(target));
    InsertMenuEntry(menu, 2, 0, "", MFT_SEPARATOR);
    InsertMenuEntry(menu, 3, IDM_LIST_DROP_CANCEL, "Cancel");
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
