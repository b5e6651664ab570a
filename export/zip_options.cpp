// The zip options dialog's procedure: its controls, the run it starts, and
// how Esc, Cancel and the close box stop that run.
#include "export/zip_options.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "export/listing_wait.h"
#include "export/zip_archive.h"
#include "filelist/list_selection.h"
#include "runtime/app_state.h"
#include "runtime/dialog_template.h"
#include "runtime/folder_browser.h"
#include "runtime/group_box.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "runtime/link_label.h"
#include "runtime/text_fit.h"
#include "runtime/win_helpers.h"

namespace {

const char kNotice[] = "KVX uses the ZLib compression library, maintained by Mark Adler.\r\n"
                       "KVX generated zip files are compatible with all modern zip "
                       "applications.\r\n"
                       "\r\n"
                       "For more information about the ZLib library, please visit the ZLib "
                       "website:";
const char kLibraryAddress[] = "https://zlib.net/";

// GDI objects of the open dialog.
struct ZipDialogObjects {
    GdiObject<HFONT> noticeFont, linkFont;
    GdiObject<HBRUSH> linkBack;
};
ZipDialogObjects Objects;

} // namespace

HWND ZipOptionsItem(int id) {
    if (!ZipOptionsDialog) return nullptr;
    if (HWND item = GetDlgItem(ZipOptionsDialog, id)) return item;
    for (int group : {ID_ZIP_FILES_GROUP, ID_ZIP_FILE_GROUP})
        if (HWND item = GetDlgItem(GetDlgItem(ZipOptionsDialog, group), id)) return item;
    return nullptr;
}

void ZipOptionsEscape() {
    if (ZipInProgress)
        ZipCancelRequested = true; // the dialog closes when the run returns
    else if (ZipOptionsDialog)
        SendMessageA(ZipOptionsDialog, WM_CLOSE, 0, 0);
}

static void MakeDefaultButton(HWND dlg, HWND button) {
    SendMessageA(dlg, DM_SETDEFID, GetDlgCtrlID(button), 0);
    SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

static void CreateFileChoice(HWND dlg) {
    HWND files = CreateGroupBox("Files To Zip", dlg, ID_ZIP_FILES_GROUP, 5, 5, 390, 75);
    CreateFilesChoice(files, ID_ZIP_ALL, ID_ZIP_SELECTED);
}

static void CreateFileOptions(HWND dlg) {
    HWND options = CreateGroupBox("File Options", dlg, ID_ZIP_FILE_GROUP, 5, 85, 390, 75);
    SubclassGroupBox(options);
    CreateLabel("ZIP Filename", options, ID_ZIP_NAME_LABEL, 5, 20, 80, 20);
    SubclassZipEscape(CreateEdit("KvxZIP.zip", options, ID_ZIP_NAME, 90, 20, 260, 20));
    CreateLabel("ZIP Directory", options, ID_ZIP_FOLDER_LABEL, 5, 45, 80, 20);
    SubclassZipEscape(CreateEdit(CurrentFolder().c_str(), options, ID_ZIP_FOLDER, 90, 45, 260, 20));
    CreateButton("...", options, ID_ZIP_BROWSE, 350, 45, 25, 20);
}

// Pixels the notice needs beyond its 53 in the font at hand: where that font
// is wider than the one the layout was made for, lines wrap and the notice
// grows, moving what lies below it down.
static int NoticeOverflow(HWND notice) {
    WindowDC dc(notice);
    HGDIOBJ old = SelectObject(dc.get(), Objects.noticeFont.get());
    RECT r = {0, 0, 390, 0};
    DrawTextA(dc.get(), kNotice, -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc.get(), old);
    return r.bottom > 53 ? r.bottom - 53 : 0;
}

// Returns how far the controls below the notice move down.
static int CreateNotice(HWND dlg) {
    Objects.noticeFont.reset(MakeFont("MS Sans Serif", 8));
    Objects.linkFont.reset(MakeFont("MS Sans Serif", 8));
    HWND notice = CreateLabel(kNotice, dlg, ID_ZIP_NOTICE, 5, 175, 390, 53);
    SendMessageA(notice, WM_SETFONT, reinterpret_cast<WPARAM>(Objects.noticeFont.get()), TRUE);
    int down = NoticeOverflow(notice);
    if (down) SetWindowPos(notice, nullptr, 0, 0, 390, 53 + down, SWP_NOMOVE | SWP_NOZORDER);
    HWND link = CreateLabel(kLibraryAddress, dlg, ID_ZIP_LINK, 5, 228 + down, 150, 20);
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(Objects.linkFont.get()), TRUE);
    SubclassWebLink(link);
    return down;
}

static INT_PTR OnInitDialog(HWND dlg) {
    ZipOptionsDialog = dlg;
    CreateFileChoice(dlg);
    CreateFileOptions(dlg);
    int down = CreateNotice(dlg);
    SetWindowPos(dlg, nullptr, 0, 0, 406, GetSystemMetrics(SM_CYSIZE) + 300 + down, SWP_NOZORDER);
    CenterWindow(dlg, Win.main);
    CreateProgressBar(dlg, ID_ZIP_PROGRESS, 10, 250 + down, 380, 10, WS_CHILD | PBS_SMOOTH);
    HWND create = CreateButton("Create Zip", dlg, ID_ZIP_CREATE, 110, 265 + down, 80, 25,
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    HWND cancel = CreateButton("Cancel", dlg, ID_ZIP_CANCEL, 210, 265 + down, 80, 25);
    SubclassZipEscape(create);
    SubclassZipEscape(cancel);
    FitTextsToWidths(dlg);
    MakeDefaultButton(dlg, create);
    SetFocus(create);
    return FALSE; // the focus is set
}

static void OnBrowse(HWND dlg) {
    HWND folder = ZipOptionsItem(ID_ZIP_FOLDER);
    std::string chosen = BrowseForFolder(WindowText(folder));
    if (!chosen.empty()) SetWindowTextA(folder, chosen.c_str());
    SendMessageA(ZipOptionsItem(ID_ZIP_BROWSE), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    HWND create = GetDlgItem(dlg, ID_ZIP_CREATE);
    MakeDefaultButton(dlg, create);
    SetFocus(create);
}

static void OnCreateZip(HWND dlg) {
    // Create Zip pressed again while the run pumps messages is not a second run.
    if (ZipInProgress) return;
    bool allRows = SendMessageA(ZipOptionsItem(ID_ZIP_ALL), BM_GETCHECK, 0, 0) == BST_CHECKED;
    // A folder that cannot take the archive leaves the dialog open, with the
    // typed name, to choose another.
    if (ZipListedFiles(allRows)) SendMessageA(dlg, WM_CLOSE, 0, 0);
}

static void OpenLink(HWND dlg) {
    char text[250] = {};
    GetDlgItemTextA(dlg, ID_ZIP_LINK, text, sizeof text);
    ShellExecuteA(nullptr, "open", text, "", nullptr, SW_SHOWNORMAL);
}

static void OnCommand(HWND dlg, int id, int code) {
    switch (id) {
    case ID_ZIP_BROWSE:
        if (code == BN_CLICKED && !ZipInProgress) OnBrowse(dlg);
        break;
    case ID_ZIP_CREATE:
        if (code == BN_CLICKED) OnCreateZip(dlg);
        break;
    case ID_ZIP_CANCEL:
        if (code == BN_CLICKED) {
            if (ZipInProgress) ZipCancelRequested = true;
            SendMessageA(dlg, WM_CLOSE, 0, 0);
        }
        break;
    case ID_ZIP_LINK: OpenLink(dlg); break;
    case IDCANCEL: ZipOptionsEscape(); break; // Esc where no subclassed control has the focus
    }
}

// The link is blue on the dialog's own background, whatever the colour scheme.
static INT_PTR OnLinkColor(HWND dlg, HDC dc) {
    COLORREF back;
    {
        WindowDC dialogDc(dlg);
        back = GetPixel(dialogDc.get(), 1, 1);
    }
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkColor(dc, back);
    Objects.linkBack.reset(CreateSolidBrush(back));
    return reinterpret_cast<INT_PTR>(Objects.linkBack.get());
}

static void OnClose(HWND dlg) {
    // The close box during a run stops it too: the run must not go on unseen.
    if (ZipInProgress) ZipCancelRequested = true;
    EndDialog(dlg, 0);
}

static void OnDestroy() {
    ZipOptionsDialog = nullptr;
    Objects.linkBack.reset();
    Objects.noticeFont.reset();
    Objects.linkFont.reset();
}

static INT_PTR CALLBACK ZipOptionsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dlg);
    case WM_COMMAND: OnCommand(dlg, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == ID_ZIP_LINK)
            return OnLinkColor(dlg, reinterpret_cast<HDC>(wParam));
        return FALSE;
    case WM_CLOSE: OnClose(dlg); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    }
    return FALSE;
}

void ShowZipOptionsDialog() {
    if (RefusedWhileListing()) return;
    DialogTemplate tmpl;
    tmpl.Header(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0,
                0, 200, 150, "Zip Options", 8, "MS Sans Serif");
    HWND owner = Win.main ? Win.main : GetActiveWindow();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), tmpl.Get(), owner, ZipOptionsProc, 0);
}
