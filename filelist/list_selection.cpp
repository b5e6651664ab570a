#include "filelist/list_selection.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "filelist/list_columns.h"
#include "runtime/app_state.h"
#include "runtime/win_helpers.h"

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

void CreateFilesChoice(HWND group, int allId, int onlyId) {
    int rows = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
    int selected = static_cast<int>(SendMessageA(Win.list, LVM_GETSELECTEDCOUNT, 0, 0));
    std::string all = "All " + std::to_string(rows) + " Displayed File(s) From Current Directory";
    std::string only =
        "Only " + std::to_string(selected) + " Selected File(s) From Current Directory";
    HWND allButton = CreateRadioButton(all.c_str(), group, allId, 5, 20, 370, 20);
    HWND onlyButton = CreateRadioButton(only.c_str(), group, onlyId, 5, 45, 370, 20);
    bool onlySelected = rows != selected && selected > 0;
    SendMessageA(onlySelected ? onlyButton : allButton, BM_SETCHECK, BST_CHECKED, 0);
}
