// The small window the list's "Create ... .zip" command shows while it packs
// one file: the archive's name, a progress bar and Cancel, as in the zip
// options dialog. The run itself pumps the messages, so the window needs no
// loop of its own; the main window is disabled meanwhile, as under a dialog.
#include "export/zip_progress.h"

#include <windows.h>
#include <commctrl.h>

#include "export/zip_options.h"
#include "runtime/app_state.h"
#include "runtime/file_facts.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"

static const char kProgressClass[] = "KvxZipProgress";

static LRESULT CALLBACK ZipProgressProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_ZIP_CANCEL && ZipInProgress) ZipCancelRequested = true;
        return 0;
    case WM_CLOSE:
        // The close box stops the run; the window goes with it.
        if (ZipInProgress) ZipCancelRequested = true;
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

static bool RegisterProgressClass() {
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kProgressClass, &wc)) return true;
    wc.lpfnWndProc = ZipProgressProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kProgressClass;
    return RegisterClassA(&wc) != 0;
}

void ShowZipProgress(ArchiveWrite& archive, const std::string& name) {
    HWND owner = Win.main ? Win.main : GetActiveWindow();
    HWND wnd = RegisterProgressClass()
                   ? CreateWindowExA(WS_EX_DLGMODALFRAME, kProgressClass, "Creating Zip File",
                                     WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 406,
                                     GetSystemMetrics(SM_CYSIZE) + 110, owner, nullptr,
                                     GetModuleHandleA(nullptr), nullptr)
                   : nullptr;
    if (!wnd) {
        AbandonArchive(archive);
        ShowZipMessage("Error Creating Zip File");
        return;
    }
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND label = CreateLabel(FileNamePart(archive.path).c_str(), wnd, ID_ZIP_NAME_LABEL, 10, 10,
                             380, 20, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_PATHELLIPSIS);
    HWND progress = CreateProgressBar(wnd, ID_ZIP_PROGRESS, 10, 35, 380, 10, WS_CHILD | PBS_SMOOTH);
    HWND cancel = CreateButton("Cancel", wnd, ID_ZIP_CANCEL, 160, 55, 80, 25);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(cancel, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SubclassZipEscape(cancel); // Esc stops the run
    CenterWindow(wnd, owner);
    bool ownerEnabled = owner && !EnableWindow(owner, FALSE);
    ShowWindow(wnd, SW_SHOW);
    SetFocus(cancel);

    ZipInProgress = true;
    PackFiles(archive, {name}, progress, true);
    ZipCancelRequested = false;
    ZipInProgress = false;

    // The owner is enabled before its popup goes, so that it takes the activation back.
    if (ownerEnabled) EnableWindow(owner, TRUE);
    DestroyWindow(wnd);
    CloseIfAskedDuringRun();
}
