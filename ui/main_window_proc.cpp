// The main window's own procedure: commands, layout, focus, drops, shutdown.
#include <windows.h>
#include <shellapi.h>

#include "export/html_options.h"
#include "export/zip_options.h"
#include "filelist/file_list_build.h"
#include "filelist/list_columns.h"
#include "filelist/list_sorting.h"
#include "filelist/listing_index.h"
#include "filelist/listing_rules.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/strings.h"
#include "runtime/view_menu.h"
#include "runtime/win_helpers.h"
#include "search/search_window.h"
#include "settings/favorites_dialog.h"
#include "settings/favorites_menu.h"
#include "settings/settings_file.h"
#include "settings/targets_dialog.h"
#include "filemanager/drag_drop.h"
#include "filemanager/file_operations.h"
#include "settings/shortcuts.h"
#include "ui/about_dialog.h"
#include "ui/enlarged_view.h"
#include "ui/main_layout.h"
#include "ui/main_window.h"
#include "ui/shell_verb.h"
#include "ui/tree_pane.h"

// Go: a different existing folder is navigated to; anything else relists.
static void OnGo() {
    std::string typed = WindowText(Win.pathBox);
    if (PathExists(typed) &&
        Upper(WithTrailingBackslash(typed)) != Upper(WithTrailingBackslash(CurrentFolder())))
        NavigateTo(typed);
    else
        BuildFileList();
    LONG style = GetWindowLongA(Win.go, GWL_STYLE);
    SetWindowLongA(Win.go, GWL_STYLE, style & ~BS_DEFPUSHBUTTON);
    SetWindowPos(Win.go, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    PumpMessages();
    SetFocus(Win.list);
}

// A pick in a box's drop-down list, by mouse or by keyboard: the path box
// goes to the picked folder, the extension box lists with the new extension.
static void OnBoxSelection(int id) {
    if (id == ID_EXTENSION_BOX) {
        BuildFileList();
        PumpMessages();
        return;
    }
    LRESULT index = SendMessageA(Win.pathBox, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    LRESULT length = SendMessageA(Win.pathBox, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(Win.pathBox, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    if (PathExists(text)) NavigateTo(text);
}

// A favourite folder of the Favorites menu; an undefined one goes nowhere,
// and one that is gone says so and leaves the window where it is.
static void OpenFavorite(int n) {
    const std::string& folder = Settings.favorites[n];
    if (folder.empty()) return;
    if (!PathExists(WithTrailingBackslash(folder))) {
        ShowMessage("Invalid Directory: " + folder, "Error", MB_OK);
        RefreshFavoritesMenu();
        return;
    }
    NavigateTo(WithTrailingBackslash(folder));
}

// The Esc that closed a dialog must not reach the list as a deselect-all.
static void AfterDialog() {
    DialogClosed = true;
    SetTimer(Win.main, TIMER_DIALOG_CLOSED, 100, nullptr);
    SetFocus(Win.list);
}

// "Create New Folder..." of the Tools menu; the tree then shows the folder.
static void OnNewFolder() {
    CreateFolder(true);
    AfterDialog(); // the Esc that closed the input box must not deselect
}

// The Shortcuts button: its menu's choice is shown in the tree and the list.
static void GoToShortcutFolder() {
    std::string folder = ShowShortcutsMenu();
    if (!folder.empty()) NavigateTo(folder);
}

// Nothing is lost: the index only remembers what the drawings say.
static void OnClearDrawingIndex() {
    if (ShowMessage("Clear the drawing index?\n\nEvery drawing is read again from its file the "
                    "next time its folder is listed or searched.",
                    "Clear Drawing Index", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!ClearDrawingIndex())
        ShowMessage("The drawing index could not be cleared.", "Error", MB_OK | MB_ICONERROR);
}

static void OnCommand(HWND wnd, int id, int code) {
    switch (id) {
    case IDM_EXIT: SendMessageA(wnd, WM_CLOSE, 0, 0); break;
    case IDM_REFRESH: RefreshTreePane(); break;
    case IDM_SEARCH_SUBFOLDERS: OpenSearchWindow(); break;
    case IDM_CLEAR_INDEX: OnClearDrawingIndex(); break;
    case IDM_EXPORT_HTML:
        ShowHtmlOptionsDialog();
        AfterDialog();
        break;
    case IDM_ZIP_FILES:
        ShowZipOptionsDialog();
        AfterDialog();
        break;
    case IDM_COPY_MOVE_CONFIG: ShowTargetsDialog(wnd); break;
    case IDM_CUSTOMIZE_FAVORITES:
        ShowFavoritesDialog(wnd);
        SetFocus(Win.list);
        break;
    case IDM_NEW_FOLDER: OnNewFolder(); break;
    case IDM_SHELL_ON: EnableShellIntegration(); break;
    case IDM_SHELL_OFF: DisableShellIntegration(); break;
    case IDM_LIST_ENLARGE: ShowEnlargedView(wnd); break;
    case IDM_ABOUT:
        ShowAboutBox(wnd);
        SetFocus(Win.list);
        break;
    case ID_SHORTCUTS:
        if (code == 0) GoToShortcutFolder();
        break;
    case IDM_BLACK_BACKGROUND: BlackBackground = ToggleViewItem(IDM_BLACK_BACKGROUND); break;
    case IDM_DETAILS:
        EnterDetailMode();
        SortFileList();
        break;
    case IDM_LIST:
        EnterListMode();
        SortFileList();
        break;
    case ID_GO:
        if (code == 0) OnGo();
        break;
    case ID_PATH_BOX:
    case ID_EXTENSION_BOX:
        if (code == CBN_SELCHANGE) OnBoxSelection(id);
        break;
    default:
        if (ColumnOfItem(id) && ToggleColumn(ColumnOfItem(id))) RestartListBuild();
        if (id >= IDM_FAVORITE_FIRST && id <= IDM_FAVORITE_LAST)
            OpenFavorite(id - IDM_FAVORITE_FIRST + 1);
        break;
    }
}

static void OnSetFocus() {
    if (TreeReady) InvalidateRect(Win.main, nullptr, TRUE);
    SetFocus(Win.pathBox);
    int n = GetWindowTextLengthA(Win.pathBox);
    SendMessageA(Win.pathBox, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(Win.pathBox, EM_SETSEL, n, n);
    SendMessageA(Win.pathBox, EM_SCROLLCARET, 0, 0);
    SetFocus(Win.list);
}

// Only the first dropped path counts: a folder is opened, a file's folder shown.
static void OnDropFiles(HDROP drop) {
    std::string dropped = DroppedFileName(drop, 0);
    if (IsFolderAttributes(GetFileAttributesA(dropped.c_str())))
        NavigateTo(WithTrailingBackslash(dropped));
    else
        NavigateTo(FolderPart(dropped));
    DragFinish(drop);
}

static void OnClose(HWND wnd) {
    ListingActive = false; // a running listing must not go on into a closed window
    SaveMainSettings();
    DestroyWindow(wnd);
}

LRESULT CALLBACK MainWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: OnCommand(wnd, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_SIZE:
        Win.clientWidth = LOWORD(lParam);
        Win.clientHeight = HIWORD(lParam);
        LayoutMainWindow();
        break;
    case WM_SETFOCUS: OnSetFocus(); break;
    case WM_KEYUP: RefreshOnF5(wParam); break;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_CLOSE: OnClose(wnd); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_KVX_TREE_SELECTION: RestartListBuild(); return 0;
    case WM_KVX_TREE_READY: RunFirstNavigationIfReady(); return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}
