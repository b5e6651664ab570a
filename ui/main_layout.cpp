#include "ui/main_layout.h"

#include "runtime/status_bar_parts.h"

#include <windows.h>
#include <commctrl.h>

#include "runtime/app_state.h"

void LayoutMainWindow() {
    int w = Win.clientWidth, h = Win.clientHeight, t = Settings.treeWidth;
    double r = w - 80;
    MoveWindow(Win.shortcuts, 0, 0, 50, 20, TRUE);
    MoveWindow(Win.go, 50, 0, 30, 20, TRUE);
    MoveWindow(Win.pathBox, 80, 0, static_cast<int>(r - r * 0.3334), 20, TRUE);
    MoveWindow(Win.filterBox, static_cast<int>(80 + r * 0.6667), 0, static_cast<int>(r * 0.1667),
               20, TRUE);
    MoveWindow(Win.extensionBox, static_cast<int>(80 + r * 0.6667 + r * 0.1667), 0,
               static_cast<int>(r * 0.1667), 20, TRUE);
    MoveWindow(Win.treeContainer, 0, 20, t, h - 40, TRUE);
    MoveWindow(Win.splitter, t, 20, 4, h - 40, TRUE);
    MoveWindow(Win.list, t + 4, 20, w - t - 4, h - 40, TRUE);
    MoveWindow(Win.progressLabel, 0, h - 18, 150, 18, TRUE);
    MoveWindow(Win.progress, 150, h - 18, w - 151, 18, TRUE);

    SetStatusBarParts();
    SendMessageA(Win.status, WM_SIZE, 0, 0);
    RedrawWindow(Win.main, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
