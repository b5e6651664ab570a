#include "ui/list_keys.h"

#include "filelist/file_list_build.h"
#include "filelist/list_selection.h"
#include "runtime/app_state.h"
#include "ui/file_operations.h"

void HandleListKeyUp(WPARAM key) {
    if (key == VK_ESCAPE) DeselectAllRows();
    if (key == VK_RETURN) OpenSelection();
    if (key == VK_DELETE) {
        DeleteSelection(Win.list);
        BuildFileList();
    }
    if (key == 'A' && (GetAsyncKeyState(VK_CONTROL) & 0x8000)) SelectAllRows();
}
