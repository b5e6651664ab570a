#include "runtime/status_bar_parts.h"

#include <windows.h>
#include <commctrl.h>

#include "runtime/app_state.h"

void SetStatusBarParts() {
    RECT client;
    GetClientRect(Win.main, &client);
    int parts[2] = {client.right - Win.selectionTextWidth, -1};
    SendMessageA(Win.status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}
