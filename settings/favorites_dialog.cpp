#include "settings/favorites_dialog.h"

#include "settings/settings_file.h"
#include "runtime/app_state.h"
#include "runtime/group_box.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "settings/favorites_menu.h"
#include "settings/folder_rows.h"

// The rows live in the group box, so the dialog reaches them through it.
static HWND RowControl(HWND dlg, int id) {
    return GetDlgItem(GetDlgItem(dlg, ID_FAVORITES_GROUP), id);
}

static INT_PTR OnInit(HWND dlg) {
    SetWindowPos(dlg, nullptr, 0, 0, 456, GetSystemMetrics(SM_CYSIZE) + 575,
                 SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow(dlg, Win.main);
    // WS_EX_CONTROLPARENT lets Tab walk into the rows.
    HWND group = CreateGroupBox(
        "Add your favorite directories for faster access", dlg, ID_FAVORITES_GROUP, 5, 5, 440, 530,
        WS_CHILD | WS_VISIBLE | BS_GROUPBOX | WS_TABSTOP, WS_EX_CONTROLPARENT);
    SubclassGroupBox(group);
    for (int n = 1; n <= 20; ++n) {
        int y = 25 * n;
        HWND edit = CreateEdit(Settings.favorites[n].c_str(), group, ID_FAVORITE_EDIT + n - 1, 10,
                               y, 345, 20, 0, -1);
        SendMessageA(edit, EM_LIMITTEXT, 2047, 0); // the longest favourite the settings keep
        CreateButton("...", group, ID_FAVORITE_BROWSE + n - 1, 355, y, 25, 20);
        CreateButton("Current", group, ID_FAVORITE_CURRENT + n - 1, 375, y, 55, 20);
    }
    HWND save = CreateButton("Save", dlg, IDOK, 130, 540, 80, 25,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    CreateButton("Cancel", dlg, IDCANCEL, 220, 540, 80, 25);
    SendMessageA(dlg, DM_SETDEFID, IDOK, 0);
    SetFocus(save);
    return FALSE; // the focus is set
}

static void OnSave(HWND dlg) {
    for (int n = 1; n <= 20; ++n)
        Settings.favorites[n] = WindowText(RowControl(dlg, ID_FAVORITE_EDIT + n - 1));
    RefreshFavoritesMenu();
    // Saved at once, so that nothing the user set is lost if Korvex does not
    // get to close normally.
    SaveMainSettings();
    EndDialog(dlg, IDOK);
}

static void OnCommand(HWND dlg, int id, HWND control) {
    if (id == IDOK) {
        OnSave(dlg);
    } else if (id == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
    } else if (id >= ID_FAVORITE_BROWSE && id < ID_FAVORITE_BROWSE + 20) {
        BrowseIntoEdit(RowControl(dlg, ID_FAVORITE_EDIT + id - ID_FAVORITE_BROWSE));
        RestoreSaveButton(dlg, control);
    } else if (id >= ID_FAVORITE_CURRENT && id < ID_FAVORITE_CURRENT + 20) {
        SetWindowTextA(RowControl(dlg, ID_FAVORITE_EDIT + id - ID_FAVORITE_CURRENT),
                       CurrentFolder().c_str());
        RestoreSaveButton(dlg, control);
    }
}

static INT_PTR CALLBACK FavoritesProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
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

void ShowFavoritesDialog(HWND owner) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FAVORITES), owner,
                    FavoritesProc, 0);
}
