#include "filelist/list_selection.h"

#include <windows.h>
#include <commctrl.h>

#include "filelist/list_columns.h"
#include "runtime/app_state.h"

static void SetEveryRowSelected(bool selected) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(Win.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

void SelectAllRows() {
    StatusUpdate = false;
    SetEveryRowSelected(true);
    StatusUpdate = true;
    SelectionMode = true;
    UpdateSelectionSummary();
}

void DeselectAllRows() {
    if (DialogClosed) return;
    SetEveryRowSelected(false);
    SelectionMode = false;
    UpdateSelectionSummary();
}
