#include "settings/folder_rows.h"

#include "runtime/folder_browser.h"
#include "runtime/win_helpers.h"

void BrowseIntoEdit(HWND edit) {
    std::string chosen = BrowseForFolder(WindowText(edit));
    if (!chosen.empty()) SetWindowTextA(edit, chosen.c_str());
}

void RestoreSaveButton(HWND dlg, HWND pressed) {
    if (pressed) SendMessageA(pressed, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(dlg, DM_SETDEFID, IDOK, 0);
    HWND save = GetDlgItem(dlg, IDOK);
    SendMessageA(save, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    SetFocus(save);
}
