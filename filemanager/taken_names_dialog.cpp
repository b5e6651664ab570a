#include "filemanager/taken_names_dialog.h"

#include "runtime/dialog_template.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"

// Names listed one a line; more would not fit the box.
static const size_t kNamesShown = 5;

// The names taken, the folder and the operation, in a few lines.
static std::string TakenNamesText(const std::vector<std::string>& names, const std::string& folder,
                                  bool move) {
    std::string text = names.size() == 1
                           ? "A file of the same name is already in " + folder + ":\r\n"
                           : std::to_string(names.size()) +
                                 " files of the same names are already in " + folder + ":\r\n";
    for (size_t i = 0; i < names.size() && i < kNamesShown; ++i)
        text += "    " + names[i] + "\r\n";
    if (names.size() > kNamesShown)
        text += "    and " + std::to_string(names.size() - kNamesShown) + " more\r\n";
    text += std::string("\r\nReplace sends the files now there to the Recycle Bin before the ") +
            (move ? "move" : "copy") + ". Keep Both gives the new files numbered names.";
    return text;
}

static INT_PTR CALLBACK TakenNamesProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        if (HWND owner = GetWindow(dlg, GW_OWNER)) CenterWindow(dlg, owner);
        // Cancel, the default, takes the focus: Enter alone replaces nothing.
        SetFocus(GetDlgItem(dlg, IDCANCEL));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_TAKEN_REPLACE:
        case ID_TAKEN_KEEP_BOTH:
        case ID_TAKEN_SKIP:
        case IDCANCEL: EndDialog(dlg, LOWORD(wParam)); return TRUE;
        }
        break;
    }
    return FALSE;
}

TakenNameChoice AskAboutTakenNames(HWND owner, const std::vector<std::string>& names,
                                   const std::string& folder, bool move) {
    const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    // The text's lines: the folder line (room for a long folder to wrap),
    // the names, the explanation.
    size_t shown = names.size() < kNamesShown ? names.size() : kNamesShown;
    short textHeight = static_cast<short>(8 * (2 + shown + (names.size() > shown) + 3));
    short buttonsAt = static_cast<short>(textHeight + 14);
    DialogTemplate t;
    t.Header(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 5, 0, 0,
             280, static_cast<short>(buttonsAt + 21), move ? "Move Files" : "Copy Files", 8,
             "MS Sans Serif");
    // No mnemonics in the names: "a&b.dwg" reads as it is.
    t.Item(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 8, 7, 264, textHeight,
           ID_TAKEN_TEXT, kStaticAtom, TakenNamesText(names, folder, move));
    t.Item(button | BS_PUSHBUTTON, 8, buttonsAt, 60, 14, ID_TAKEN_REPLACE, kButtonAtom, "&Replace");
    t.Item(button | BS_PUSHBUTTON, 76, buttonsAt, 60, 14, ID_TAKEN_KEEP_BOTH, kButtonAtom,
           "&Keep Both");
    t.Item(button | BS_PUSHBUTTON, 144, buttonsAt, 60, 14, ID_TAKEN_SKIP, kButtonAtom, "&Skip");
    t.Item(button | BS_DEFPUSHBUTTON, 212, buttonsAt, 60, 14, IDCANCEL, kButtonAtom, "Cancel");
    INT_PTR chosen =
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), owner, TakenNamesProc, 0);
    switch (chosen) {
    case ID_TAKEN_REPLACE: return TakenNameChoice::Replace;
    case ID_TAKEN_KEEP_BOTH: return TakenNameChoice::KeepBoth;
    case ID_TAKEN_SKIP: return TakenNameChoice::Skip;
    }
    return TakenNameChoice::Cancel;
}
