// The small window the list's "Create ... .zip" command shows while it packs
// one file: the archive's name, a progress bar and Cancel, as in the zip
// options dialog.
#include "export/zip_progress.h"

#include <windows.h>
#include <commctrl.h>

#include "runtime/app_state.h"
#include "runtime/dialog_template.h"
#include "runtime/file_facts.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"

namespace {

const UINT kStartRun = WM_APP + 1;

struct OneFileRun {
    ArchiveWrite& archive;
    std::string name;
};

INT_PTR OnInitDialog(HWND dlg, const OneFileRun* run) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
    SetWindowPos(dlg, nullptr, 0, 0, 406, GetSystemMetrics(SM_CYSIZE) + 110, SWP_NOZORDER);
    CenterWindow(dlg, Win.main);
    CreateLabel(FileNamePart(run->archive.path).c_str(), dlg, ID_ZIP_NAME_LABEL, 10, 10, 380, 20,
                WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_PATHELLIPSIS);
    CreateProgressBar(dlg, ID_ZIP_PROGRESS, 10, 35, 380, 10, WS_CHILD | PBS_SMOOTH);
    HWND cancel = CreateButton("Cancel", dlg, IDCANCEL, 160, 55, 80, 25);
    SetFocus(cancel);
    // The run starts once the window is shown.
    PostMessageA(dlg, kStartRun, 0, 0);
    return FALSE;
}

void OnStartRun(HWND dlg) {
    auto* run = reinterpret_cast<const OneFileRun*>(GetWindowLongPtrA(dlg, DWLP_USER));
    ZipInProgress = true;
    PackFiles(run->archive, {run->name}, GetDlgItem(dlg, ID_ZIP_PROGRESS), true);
    ZipCancelRequested = false;
    ZipInProgress = false;
    EndDialog(dlg, 0);
    CloseIfAskedDuringRun();
}

INT_PTR CALLBACK ZipProgressProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dlg, reinterpret_cast<const OneFileRun*>(lParam));
    case kStartRun: OnStartRun(dlg); return TRUE;
    case WM_COMMAND:
        // Cancel, Esc and the close box stop the run; the window ends with it.
        if (LOWORD(wParam) == IDCANCEL && ZipInProgress) ZipCancelRequested = true;
        return TRUE;
    case WM_CLOSE:
        if (ZipInProgress) ZipCancelRequested = true;
        return TRUE;
    }
    return FALSE;
}

} // namespace

void ShowZipProgress(ArchiveWrite& archive, const std::string& name) {
    OneFileRun run = {archive, name};
    DialogTemplate tmpl;
    tmpl.Header(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0,
                0, 200, 60, "Creating Zip File", 8, "MS Sans Serif");
    HWND owner = Win.main ? Win.main : GetActiveWindow();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), tmpl.Get(), owner, ZipProgressProc,
                            reinterpret_cast<LPARAM>(&run));
    if (archive.zip) AbandonArchive(archive); // the window never ran it

}
