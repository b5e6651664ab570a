// The text-input box, a modal dialog built in memory, and modeless dialogs
// from templates in memory, one open instance per dialog procedure.
#include "runtime/win_helpers.h"

#include <map>

#include "runtime/dialog_template.h"

namespace {

const int kInputCancel = 101;
const int kInputPrompt = 102;
const int kInputEdit = 103;
const int kInputOk = 104;
const int kInputLimit = 2048; // bytes of the answer, terminator included

std::string InputResult;

std::map<DLGPROC, HWND> OpenModeless;

} // namespace

static INT_PTR OnInputInit(HWND dlg) {
    HWND edit = GetDlgItem(dlg, kInputEdit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    return FALSE; // focus set here
}

static INT_PTR OnInputCommand(HWND dlg, int id) {
    switch (id) {
    case kInputOk: {
        std::string text(kInputLimit, '\0');
        int n = GetDlgItemTextA(dlg, kInputEdit, &text[0], kInputLimit);
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
        InputResult = text;
        EndDialog(dlg, 1);
        return TRUE;
    }
    case kInputCancel:
    case IDCANCEL: // Esc and the close box
        InputResult.clear();
        EndDialog(dlg, 0);
        return TRUE;
    }
    return FALSE;
}

static INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: return OnInputInit(dlg);
    case WM_COMMAND: return OnInputCommand(dlg, LOWORD(wParam));
    }
    return FALSE;
}

std::string InputBox(const std::string& title, const std::string& prompt,
                     const std::string& defaultText) {
    DialogTemplate t;
    t.Header(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 4, 0, 0,
             150, 60, title, 8, "MS Sans Serif");
    t.Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 95, 31, 35, 12, kInputCancel,
           kButtonAtom, "CANCEL");
    t.Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 20, 31, 35, 12, kInputOk,
           kButtonAtom, "OK");
    t.Item(WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 5, 140, 10, kInputPrompt, kStaticAtom, prompt);
    t.Item(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 15, 130, 12,
           kInputEdit, kEditAtom, defaultText);
    InputResult.clear();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), GetActiveWindow(), InputBoxProc, 0);
    return InputResult;
}

HWND ShowModelessDialog(const DLGTEMPLATE* tmpl, HWND owner, DLGPROC proc, LPARAM param) {
    auto open = OpenModeless.find(proc);
    if (open != OpenModeless.end()) {
        if (IsWindow(open->second)) return nullptr;
        OpenModeless.erase(open); // closed since
    }
    HWND dlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl, owner, proc, param);
    if (dlg) OpenModeless[proc] = dlg;
    return dlg;
}
