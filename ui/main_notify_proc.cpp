// The layer in front of the main window's procedure: list notifications,
// timers and the tree pane's end on close.
#include <windows.h>
#include <commctrl.h>

#include "filelist/list_columns.h"
#include "filelist/list_rows.h"
#include "filelist/list_sorting.h"
#include "filelist/row_thumbnails.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "search/search_window.h"
#include "filemanager/drag_drop.h"
#include "ui/main_window.h"
#include "ui/tree_pane.h"

static void OnTimer(HWND wnd, UINT_PTR id) {
    if (id == TIMER_DIALOG_CLOSED && DialogClosed) {
        for (int i = 0; i < 4; ++i) {
            Sleep(10);
            PumpMessages();
        }
        DialogClosed = false;
        KillTimer(wnd, TIMER_DIALOG_CLOSED);
    } else if (id == TIMER_SELECTION && StatusUpdate) {
        UpdateSelectionSummary();
    }
}

// Only changes of a row's state can change the selection; text changes, of
// which a listing or a sort makes tens of thousands, leave the timer alone.
static void OnNotify(HWND wnd, const NMHDR* hdr) {
    if (hdr->hwndFrom == Win.list && hdr->code == LVN_ITEMCHANGED &&
        (reinterpret_cast<const NMLISTVIEW*>(hdr)->uChanged & LVIF_STATE))
        SetTimer(wnd, TIMER_SELECTION, 50, nullptr);
}

// What the file list tells of its rows' texts; true when it is answered
// here, with `answer`.
static bool AnswerFileList(NMHDR* hdr, LRESULT& answer) {
    if (hdr->hwndFrom != Win.list) return false;
    switch (hdr->code) {
    // Rows that go take their kept texts with them; all at once, the list
    // need not tell of each.
    case LVN_DELETEALLITEMS:
        ForgetAllRowTexts();
        ForgetAllRowThumbnails();
        answer = TRUE;
        return true;
    case LVN_DELETEITEM:
        ForgetRowTexts(reinterpret_cast<NMLISTVIEW*>(hdr)->lParam);
        ForgetRowThumbnail(reinterpret_cast<NMLISTVIEW*>(hdr)->lParam);
        break;
    // Column 0 of the sorted rows is given when asked (the sort), and the
    // rows' images (their thumbnails, made when first drawn).
    case LVN_GETDISPINFOA:
        AnswerSortItem(reinterpret_cast<NMLVDISPINFOA*>(hdr));
        AnswerRowText(reinterpret_cast<NMLVDISPINFOA*>(hdr));
        AnswerRowImage(reinterpret_cast<NMLVDISPINFOA*>(hdr));
        answer = 0;
        return true;
    }
    return false;
}

// Closing while an export or a zip runs asks whether to stop it: Yes stops
// it (a stopped zip leaves nothing behind), No lets it finish in sight; the
// window closes when the run has ended, which posts the close again. False
// while the window must stay.
static bool CloseNowOrWhenRunEnds() {
    if (!ZipInProgress && !HtmlExportInProgress) return true;
    if (CloseWhenRunEnds) return false; // asked already
    int answer = ShowMessage("An export or a zip file is being written.\r\n\r\n"
                             "Yes stops it and removes what it wrote so far; No lets it "
                             "finish. Korvex closes when it has ended.",
                             "Stop the export?", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return false;
    CloseWhenRunEnds = true;
    if (answer == IDYES) {
        ZipCancelRequested = ZipInProgress;
        HtmlExportStopRequested = HtmlExportInProgress;
    }
    return false;
}

LRESULT CALLBACK MainNotifyProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_QUERYENDSESSION:
        // Windows ending the session is a close too: asked the same, and held
        // up until the run has ended.
        if (!CloseNowOrWhenRunEnds()) return FALSE;
        break;
    case WM_CLOSE:
        if (!CloseNowOrWhenRunEnds()) return 0;
        // A second close during the wait for a search would save the settings
        // of a window that is already gone.
        if (Win.closing) return 0;
        Win.closing = true;
        // The window goes from the screen at once: a tree holding many
        // thousands of folders takes its time to be taken down. What is
        // saved of the window is read from it hidden as well.
        ShowWindow(wnd, SW_HIDE);
        DestroyTreePane();
        // A running search stops before the settings are saved.
        CloseSearchWindowForExit();
        break;
    case WM_TIMER: OnTimer(wnd, wParam); break;
    case WM_KVX_THUMBNAILS: TakeMadeThumbnails(); return 0;
    case WM_NOTIFY:
        // A drag with the right button opens the list's context menu.
        if (reinterpret_cast<const NMHDR*>(lParam)->code == LVN_BEGINRDRAG) {
            SendMessageA(Win.list, WM_CONTEXTMENU, 0, 0);
            return 1;
        }
        // A drag of rows, from whichever list: their files go out as a drop.
        if (reinterpret_cast<const NMHDR*>(lParam)->code == LVN_BEGINDRAG) {
            DragSelectionOut(Win.list);
            return 1;
        }
        {
            LRESULT answer = 0;
            if (AnswerFileList(reinterpret_cast<NMHDR*>(lParam), answer)) return answer;
        }
        OnNotify(wnd, reinterpret_cast<const NMHDR*>(lParam));
        break;
    }
    return CallWindowProcA(Win.previousMainProc, wnd, msg, wParam, lParam);
}
