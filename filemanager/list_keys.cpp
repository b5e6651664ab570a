#include "filemanager/list_keys.h"

#include "filelist/file_list_build.h"
#include "filelist/list_selection.h"
#include "filemanager/file_operations.h"
#include "runtime/app_state.h"

bool HandleListKeyDown(WPARAM key, LPARAM flags) {
    // Bit 30: the key was already down, a repeat of a held key.
    if (flags & (1L << 30)) return key == VK_RETURN || key == VK_DELETE;
    switch (key) {
    case VK_ESCAPE: DeselectAllRows(); return true;
    case VK_RETURN: OpenSelection(); return true;
    case VK_DELETE:
        DeleteSelection(Win.list);
        BuildFileList();
        return true;
    case 'A':
        if (!(GetAsyncKeyState(VK_CONTROL) & 0x8000)) return false;
        SelectAllRows();
        return true;
    }
    return false;
}

bool ListWantsKey(const MSG* msg) {
    return msg && msg->message == WM_KEYDOWN &&
           (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
}
