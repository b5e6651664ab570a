#include "settings/targets_dialog.h"

#include <string>

#include "settings/settings_file.h"
#include "runtime/app_state.h"
#include "runtime/group_box.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "settings/folder_rows.h"

namespace {

// One group box of five rows: the Copy To targets or the Move To targets.
struct TargetGroup {
    int groupId, checkId, editId, browseId;
    int y;
    const char* title;
    std::string* shown;   // Settings' flags, 1..5
    std::string* folders; // Settings' folders, 1..5
};

TargetGroup Groups[2] = {
    {ID_COPY_TO_GROUP, ID_COPY_TO_CHECK, ID_COPY_TO_EDIT, ID_COPY_TO_BROWSE, 5,
     "Add directories to display in the Copy To context menu", Settings.showCopyTo,
     Settings.copyTo},
    {ID_MOVE_TO_GROUP, ID_MOVE_TO_CHECK, ID_MOVE_TO_EDIT, ID_MOVE_TO_BROWSE, 165,
     "Add directories to display in the Move To context menu", Settings.showMoveTo,
     Settings.moveTo},
};

} // namespace

static void AddGroup(HWND dlg, const TargetGroup& g) {
    // Only the first group box is a Tab stop; every row control is one.
    DWORD tab = g.groupId == ID_COPY_TO_GROUP ? WS_TABSTOP : 0;
    HWND group = CreateGroupBox(g.title, dlg, g.groupId, 5, g.y, 390, 155,
                                WS_CHILD | WS_VISIBLE | BS_GROUPBOX | tab, WS_EX_CONTROLPARENT);
    SubclassGroupBox(group);
    for (int n = 1; n <= 5; ++n) {
        int y = 25 * n;
        HWND check = CreateCheckBox("", group, g.checkId + n - 1, 10, y, 15, 20);
        SendMessageA(check, BM_SETCHECK, g.shown[n] == "TRUE" ? BST_CHECKED : BST_UNCHECKED, 0);
        CreateEdit(g.folders[n].c_str(), group, g.editId + n - 1, 25, y, 330, 20, 0, -1);
        CreateButton("...", group, g.browseId + n - 1, 355, y, 25, 20);
    }
}

static INT_PTR OnInit(HWND dlg) {
    SetWindowPos(dlg, nullptr, 0, 0, 406, GetSystemMetrics(SM_CYSIZE) + 360,
                 SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow(dlg, Win.main);
    for (const TargetGroup& g : Groups)
        AddGroup(dlg, g);
    HWND save = CreateButton("Save", dlg, IDOK, 120, 325, 80, 25,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    CreateButton("Cancel", dlg, IDCANCEL, 210, 325, 80, 25);
    SendMessageA(dlg, DM_SETDEFID, IDOK, 0);
    SetFocus(save);
    return FALSE; // the focus is set
}

static HWND RowControl(HWND dlg, const TargetGroup& g, int id) {
    return GetDlgItem(GetDlgItem(dlg, g.groupId), id);
}

static void OnSave(HWND dlg) {
    for (const TargetGroup& g : Groups) {
        for (int n = 1; n <= 5; ++n) {
            g.folders[n] = WindowText(RowControl(dlg, g, g.editId + n - 1));
            bool checked = SendMessageA(RowControl(dlg, g, g.checkId + n - 1), BM_GETCHECK, 0, 0) ==
                           BST_CHECKED;
            g.shown[n] = checked ? "TRUE" : "FALSE";
        }
    }
    // Saved at once, so that nothing the user set is lost if Korvex does not
    // get to close normally.
    SaveMainSettings();
    EndDialog(dlg, IDOK);
}

static void OnCommand(HWND dlg, int id, HWND control) {
    if (id == IDOK) {
        OnSave(dlg);
        return;
    }
    if (id == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return;
    }
    for (const TargetGroup& g : Groups) {
        if (id >= g.browseId && id < g.browseId + 5) {
            BrowseIntoEdit(RowControl(dlg, g, g.editId + id - g.browseId));
            RestoreSaveButton(dlg, control);
        }
    }
}

static INT_PTR CALLBACK TargetsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: return OnInit(dlg);
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            OnCommand(dlg, LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_CLOSE: EndDialog(dlg, IDCANCEL); return TRUE;
    }
    return FALSE;
}

void ShowTargetsDialog(HWND owner) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_COPY_MOVE_OPTIONS), owner,
                    TargetsProc, 0);
}
