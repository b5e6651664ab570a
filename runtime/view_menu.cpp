#include "runtime/view_menu.h"

#include <windows.h>

#include "runtime/app_state.h"

int UncheckViewItem(int id) {
    DWORD previous = CheckMenuItem(Win.viewMenu, id, MF_BYCOMMAND | MF_UNCHECKED);
    return previous == static_cast<DWORD>(-1) ? -1 : (previous & MF_CHECKED) != 0;
}

void CheckViewItem(int id, bool checked) {
    CheckMenuItem(Win.viewMenu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool ToggleViewItem(int id) {
    if (UncheckViewItem(id) == 1) return false;
    CheckViewItem(id, true);
    return true;
}
