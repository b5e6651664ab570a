#include "export/html_options.h"

#include <windows.h>
#include <commctrl.h>

#include "export/font_picker.h"
#include "export/html_export.h"
#include "export/html_settings.h"
#include "export/listing_wait.h"
#include "filelist/list_selection.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/dialog_template.h"
#include "runtime/files.h"
#include "runtime/folder_browser.h"
#include "runtime/group_box.h"
#include "runtime/ids.h"
#include "runtime/text_fit.h"
#include "runtime/win_helpers.h"

namespace {

const char kDefaultTitle[] = "Korvex HTML Output";

// Radio buttons, check boxes and pictures of the group boxes: children of
// their group box, so looked up among every descendant of the dialog.
struct FindById {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND wnd, LPARAM data) {
    auto* find = reinterpret_cast<FindById*>(data);
    if (GetDlgCtrlID(wnd) != find->id) return TRUE;
    find->found = wnd;
    return FALSE;
}

HWND Control(HWND dlg, int id) {
    FindById find = {id, nullptr};
    EnumChildWindows(dlg, MatchId, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool Checked(HWND dlg, int id) {
    return SendMessageA(Control(dlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Check(HWND dlg, int id, bool on) {
    SendMessageA(Control(dlg, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Show(HWND dlg, int id, bool show) {
    ShowWindow(Control(dlg, id), show ? SW_SHOW : SW_HIDE);
}

// Group boxes hold their controls as children; keyboard navigation enters
// them as it enters the dialog itself.
HWND GroupBox(const char* text, HWND dlg, int id, int x, int y, int w, int h, DWORD style = 0) {
    return CreateGroupBox(text, dlg, id, x, y, w, h, style, WS_EX_CONTROLPARENT);
}

// The Format Options pictures take no focus.
const DWORD kPictureStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BITMAP;
const DWORD kLayoutStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | BS_LEFT;

HWND FontPicker(HWND dlg) {
    return FindWindowExA(Control(dlg, ID_HTML_DISPLAY_GROUP), nullptr, kFontPickerClass, nullptr);
}

} // namespace

static void CreateFormatOptions(HWND dlg) {
    HWND group = GroupBox("Format Options", dlg, ID_HTML_FORMAT_GROUP, 5, 325, 190, 140,
                          WS_CHILD | WS_VISIBLE | BS_GROUPBOX);
    SubclassGroupBox(group);
    CreateBitmapLabel(IDB_HTML_TABLE, nullptr, group, ID_HTML_TABLE_PICTURE, 10, 20, 64, 48,
                      kPictureStyle);
    CreateBitmapLabel(IDB_HTML_GRID4, nullptr, group, ID_HTML_GRID4_PICTURE, 10, 80, 64, 48,
                      kPictureStyle);
    CreateBitmapLabel(IDB_HTML_GRID3, nullptr, group, ID_HTML_GRID3_PICTURE, 10, 80, 64, 48,
                      kPictureStyle);
    CreateRadioButton("1 File Per Row", group, ID_HTML_LAYOUT1, 80, 35, 95, 20, kLayoutStyle);
    CreateRadioButton("3 Files Per Row", group, ID_HTML_LAYOUT3, 80, 79, 95, 20, kLayoutStyle);
    CreateRadioButton("4 Files Per Row", group, ID_HTML_LAYOUT4, 80, 111, 95, 20, kLayoutStyle);
}

static void CreateDisplayOptions(HWND dlg) {
    HWND group = GroupBox("Display Options", dlg, ID_HTML_DISPLAY_GROUP, 200, 325, 195, 140);
    static const char* const kItems[6] = {"Preview", "Filename", "Version",
                                          "Size",    "Date",     "Attributes"};
    for (int i = 0; i < 6; ++i)
        CreateCheckBox(kItems[i], group, ID_HTML_SHOW_PREVIEW + i, i < 3 ? 10 : 105,
                       20 + 30 * (i % 3), 80, 20);
    CreateLabel("Font", group, ID_HTML_FONT_LABEL, 10, 112, 30, 20);
    CreateControl(kFontPickerClass, "", group, 0, 40, 110, 140, 20, WS_CHILD | WS_VISIBLE, 0);
}

static void CreateFileOptions(HWND dlg) {
    HWND group = GroupBox("File Options", dlg, ID_HTML_FILE_GROUP, 5, 85, 390, 75);
    SubclassGroupBox(group);
    CreateLabel("HTML Filename", group, ID_HTML_FILENAME_LABEL, 5, 20, 80, 20);
    CreateEdit("KvxHtml.htm", group, ID_HTML_FILENAME, 90, 20, 260, 20);
    CreateLabel("HTML Directory", group, ID_HTML_FOLDER_LABEL, 5, 45, 80, 20);
    CreateEdit((Paths.tempFolder + "KvxHtml").c_str(), group, ID_HTML_FOLDER, 90, 45, 260, 20);
    CreateButton("...", group, ID_HTML_BROWSE, 350, 45, 25, 20);
}

static void CreateFilesToExport(HWND dlg) {
    HWND group = GroupBox("Files To Export", dlg, ID_HTML_FILES_GROUP, 5, 5, 390, 75);
    CreateFilesChoice(group, ID_HTML_ALL_FILES, ID_HTML_SELECTED_FILES);
}

static void CreateHeaderOptions(HWND dlg) {
    HWND group = GroupBox("Header Options", dlg, ID_HTML_HEADER_GROUP, 5, 220, 390, 100);
    CreateCheckBox("Display Header On First Page", group, ID_HTML_SHOW_HEADER, 5, 20, 300, 20);
    CreateRadioButton("Directory Name", group, ID_HTML_FOLDER_HEADER, 5, 45, 100, 20);
    CreateEdit(CurrentFolder().c_str(), group, ID_HTML_FOLDER_HEADER_TEXT, 110, 45, 260, 20);
    CreateRadioButton("Custom Header", group, ID_HTML_CUSTOM_HEADER, 5, 70, 100, 20);
    CreateEdit(HtmlOptions.customHeader.c_str(), group, ID_HTML_CUSTOM_HEADER_TEXT, 110, 70, 260,
               20);
    Check(dlg, ID_HTML_SHOW_HEADER, HtmlOptions.showHeader == "TRUE");
    bool custom = HtmlOptions.useCustomHeader == "TRUE";
    Check(dlg, custom ? ID_HTML_CUSTOM_HEADER : ID_HTML_FOLDER_HEADER, true);
}

static void CreateTitleOption(HWND dlg) {
    HWND group = GroupBox("Title Option", dlg, ID_HTML_TITLE_GROUP, 5, 165, 390, 50);
    SubclassGroupBox(group);
    CreateLabel("Title", group, ID_HTML_TITLE_LABEL, 5, 22, 30, 20);
    CreateEdit(HtmlOptions.title.c_str(), group, ID_HTML_TITLE, 35, 20, 245, 20);
    CreateButton("Restore Default", group, ID_HTML_RESTORE_TITLE, 280, 20, 95, 20);
}

static void ShowLayout(HWND dlg, int layout) {
    if (layout == 0) return; // no button checked; the pictures stay as made
    Check(dlg,
          layout == 1   ? ID_HTML_LAYOUT1
          : layout == 3 ? ID_HTML_LAYOUT3
                        : ID_HTML_LAYOUT4,
          true);
    Show(dlg, ID_HTML_GRID4_PICTURE, layout != 3);
    Show(dlg, ID_HTML_GRID3_PICTURE, layout == 3);
}

static void SetUpDisplayOptions(HWND dlg) {
    for (int i = 0; i < 6; ++i)
        Check(dlg, ID_HTML_SHOW_PREVIEW + i, HtmlOptions.showItem[i] == "TRUE");
    HWND picker = FontPicker(dlg);
    SendMessageA(picker, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    SendMessageA(picker, WM_KVX_FILL_FONTS, 0, 0);
    SendDlgItemMessageA(picker, ID_FONT_PICKER_COMBO, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(HtmlOptions.font.c_str()));
}

// OK becomes the default button again after another button was pressed.
static void MakeOkDefault(HWND dlg, HWND pressed) {
    SendMessageA(pressed, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(dlg, DM_SETDEFID, ID_HTML_OK, 0);
    HWND ok = GetDlgItem(dlg, ID_HTML_OK);
    SendMessageA(ok, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    SetFocus(ok);
}

static INT_PTR OnInitDialog(HWND dlg) {
    SetWindowPos(dlg, nullptr, 0, 0, 406, GetSystemMetrics(SM_CYSIZE) + 515,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow(dlg, Win.main);
    LoadHtmlSettings();

    CreateFormatOptions(dlg);
    CreateDisplayOptions(dlg);
    CreateFileOptions(dlg);
    CreateFilesToExport(dlg);
    CreateHeaderOptions(dlg);
    CreateProgressBar(dlg, ID_HTML_PROGRESS, 5, 467, 390, 10, WS_CHILD | PBS_SMOOTH);
    CreateTitleOption(dlg);
    CreateButton("OK", dlg, ID_HTML_OK, 120, 480, 80, 25,
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_MULTILINE | BS_DEFPUSHBUTTON);
    CreateButton("Cancel", dlg, ID_HTML_CANCEL, 210, 480, 80, 25);

    ShowLayout(dlg, HtmlOptions.layout);
    SetUpDisplayOptions(dlg);
    FitTextsToWidths(dlg);
    SendMessageA(dlg, DM_SETDEFID, ID_HTML_OK, 0);
    SetFocus(GetDlgItem(dlg, ID_HTML_OK));
    return FALSE; // the focus is set
}

static void OnBrowse(HWND dlg) {
    HWND folder = Control(dlg, ID_HTML_FOLDER);
    std::string chosen = BrowseForFolder(WindowText(folder));
    if (!chosen.empty()) SetWindowTextA(folder, chosen.c_str());
    MakeOkDefault(dlg, Control(dlg, ID_HTML_BROWSE));
}

static void OnOk(HWND dlg) {
    // The export pumps messages: an OK pressed again meanwhile is not a second run.
    if (HtmlExportInProgress) return;
    std::string folder = WindowText(Control(dlg, ID_HTML_FOLDER));
    if (!PathExists(folder)) {
        ShowMessage("Invalid HTML Directory!", "Error", MB_OK);
        return;
    }
    HtmlExportRequest request;
    request.pagePath = WithTrailingBackslash(folder) + WindowText(Control(dlg, ID_HTML_FILENAME));
    // A name without an extension is a page all the same: the browser opens
    // it, and the next export knows it for Korvex's.
    std::string name = FileNamePart(request.pagePath);
    if (!name.empty() && name.find('.') == std::string::npos) request.pagePath += ".htm";
    // The pictures go beside the page, also where its name puts it in a
    // folder below: the page names them without a folder.
    request.htmlFolder = FolderPart(request.pagePath);

    int layout = Checked(dlg, ID_HTML_LAYOUT1)   ? 1
                 : Checked(dlg, ID_HTML_LAYOUT3) ? 3
                 : Checked(dlg, ID_HTML_LAYOUT4) ? 4
                                                 : 0;
    if (layout) HtmlOptions.layout = layout;
    for (int i = 0; i < 6; ++i) {
        request.show[i] = Checked(dlg, ID_HTML_SHOW_PREVIEW + i);
        HtmlOptions.showItem[i] = request.show[i] ? "TRUE" : "FALSE";
    }
    // A saved font that is not installed leaves the picker without a name:
    // the page takes the default font, never an empty face.
    HtmlOptions.font = WindowText(FontPicker(dlg));
    if (HtmlOptions.font.empty()) HtmlOptions.font = kDefaultHtmlFont;
    HtmlOptions.showHeader = Checked(dlg, ID_HTML_SHOW_HEADER) ? "TRUE" : "FALSE";
    std::string customHeader = WindowText(Control(dlg, ID_HTML_CUSTOM_HEADER_TEXT));
    if (Checked(dlg, ID_HTML_FOLDER_HEADER)) {
        HtmlOptions.headerText = WindowText(Control(dlg, ID_HTML_FOLDER_HEADER_TEXT));
        HtmlOptions.useCustomHeader = "FALSE";
    } else {
        HtmlOptions.headerText = customHeader;
        HtmlOptions.useCustomHeader = "TRUE";
    }
    HtmlOptions.customHeader = customHeader;
    request.allRows = Checked(dlg, ID_HTML_ALL_FILES);
    HtmlOptions.useCustomExport = "FALSE";

    if (!PathExists(CurrentFolder())) {
        ShowMessage("Invalid DWG Directory!", "Error", MB_OK);
        return;
    }
    HtmlOptions.title = WindowText(Control(dlg, ID_HTML_TITLE));
    SaveHtmlSettings();
    if (layout) {
        request.title = HtmlOptions.title;
        request.layout = layout;
        HWND progress = GetDlgItem(dlg, ID_HTML_PROGRESS);
        // Whatever kept the page from being written, the dialog stays open
        // with every entry as typed, so that another folder or name can be tried.
        if (ExportHtml(request, progress) != HtmlExportResult::Written) {
            ShowWindow(progress, SW_HIDE);
            return;
        }
    }
    SendMessageA(dlg, WM_CLOSE, 0, 0);
}

static void OnCommand(HWND dlg, int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case ID_HTML_LAYOUT4:
        Show(dlg, ID_HTML_GRID3_PICTURE, false);
        Show(dlg, ID_HTML_GRID4_PICTURE, true);
        break;
    case ID_HTML_LAYOUT3:
        Show(dlg, ID_HTML_GRID4_PICTURE, false);
        Show(dlg, ID_HTML_GRID3_PICTURE, true);
        break;
    case ID_HTML_BROWSE: OnBrowse(dlg); break;
    case ID_HTML_RESTORE_TITLE:
        SetWindowTextA(Control(dlg, ID_HTML_TITLE), kDefaultTitle);
        MakeOkDefault(dlg, Control(dlg, ID_HTML_RESTORE_TITLE));
        break;
    case ID_HTML_OK: OnOk(dlg); break;
    case ID_HTML_CANCEL:
    case IDCANCEL: SendMessageA(dlg, WM_CLOSE, 0, 0); break;
    }
}

static INT_PTR CALLBACK HtmlOptionsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dlg);
    case WM_COMMAND: OnCommand(dlg, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_CLOSE: EndDialog(dlg, 0); return TRUE;
    }
    return FALSE;
}

void ShowHtmlOptionsDialog() {
    if (RefusedWhileListing()) return;
    RegisterFontPickerClass();
    // An empty template: the controls are made at WM_INITDIALOG, in pixels.
    DialogTemplate tmpl;
    tmpl.Header(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0,
                0, 0, 0, "HTML Options", 8, "MS Sans Serif");
    HWND owner = Win.main ? Win.main : GetActiveWindow();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), tmpl.Get(), owner, HtmlOptionsProc, 0);
}
