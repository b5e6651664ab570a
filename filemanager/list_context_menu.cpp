#include "filemanager/list_context_menu.h"

#include <commctrl.h>

#include "export/html_options.h"
#include "export/zip_archive.h"
#include "export/zip_options.h"
#include "filelist/file_list_build.h"
#include "filelist/list_selection.h"
#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "settings/targets_dialog.h"
#include "filemanager/file_operations.h"
#include "filemanager/file_rules.h"
#include "filemanager/transfer_plan.h"

// Items go in by position, each past the current end.
static void AddItem(HMENU menu, int id, const std::string& text, UINT state = 0) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE | (state ? MIIM_STATE : 0);
    item.fType = MFT_STRING;
    item.fState = state;
    item.wID = static_cast<UINT>(id);
    item.dwTypeData = const_cast<char*>(text.c_str());
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

static void AddSeparator(HMENU menu) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.fType = MFT_SEPARATOR;
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

static void AddSubmenu(HMENU menu, const char* text, HMENU submenu) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE | MIIM_SUBMENU;
    item.fType = MFT_STRING;
    item.hSubMenu = submenu;
    item.dwTypeData = const_cast<char*>(text);
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

// The shown, non-empty targets, then Browse, New Folder and Customize.
static HMENU TargetMenu(const std::string* shown, const std::string* folders, int base) {
    HMENU menu = CreatePopupMenu();
    for (int i = 1; i <= 5; ++i) {
        std::string text = TargetItemText(shown[i], folders[i]);
        if (!text.empty()) AddItem(menu, base + i, text);
    }
    AddSeparator(menu);
    AddItem(menu, base + 6, "Browse...");
    AddSeparator(menu);
    AddItem(menu, base + 8, "Ne&w Folder...");
    AddSeparator(menu);
    AddItem(menu, base + 7, "Customize...");
    return menu;
}

HMENU BuildListContextMenu(const std::string& name, int selected, int count, bool previewFound) {
    HMENU menu = CreatePopupMenu();
    if (selected >= 1) {
        AddItem(menu, IDM_LIST_OPEN, OpenItemText(name, selected), MFS_DEFAULT);
        AddSeparator(menu);
    }
    if (selected == 1 && previewFound) {
        AddItem(menu, IDM_LIST_ENLARGE, "&3X Enlarged View");
        AddSeparator(menu);
    }
    if (selected != count) {
        AddItem(menu, IDM_LIST_SELECT_ALL, "Select &All");
        AddSeparator(menu);
    }
    if (selected >= 1) {
        AddSubmenu(menu, "&Copy To",
                   TargetMenu(Settings.showCopyTo, Settings.copyTo, IDM_COPY_TO_BASE));
        AddSubmenu(menu, "&Move To",
                   TargetMenu(Settings.showMoveTo, Settings.moveTo, IDM_MOVE_TO_BASE));
        AddItem(menu, IDM_LIST_DELETE, "&Delete");
        AddSeparator(menu);
    }
    if (count > 0) {
        AddItem(menu, IDM_LIST_EXPORT_HTML, "Export &HTML...");
        AddSeparator(menu);
        AddItem(menu, IDM_LIST_ZIP_FILES, "&Zip Files...");
    }
    if (selected == 1) AddItem(menu, IDM_LIST_ZIP_ONE, ZipItemText(name));
    AddSeparator(menu);
    AddItem(menu, IDM_LIST_NEW_FOLDER, "Create Ne&w Folder...");
    if (selected == 1) {
        AddSeparator(menu);
        AddItem(menu, IDM_LIST_PROPERTIES, "P&roperties");
    }
    return menu;
}

// Where a keyboard request opens the menu: on the focused row when it is
// selected, else on the first selected row, else near the list's corner.
static POINT KeyboardMenuPoint() {
    int row = static_cast<int>(
        SendMessageA(Win.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (row < 0 || !(SendMessageA(Win.list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED))
        row = static_cast<int>(
            SendMessageA(Win.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    POINT at = {8, 8};
    if (row >= 0) {
        SendMessageA(Win.list, LVM_ENSUREVISIBLE, row, FALSE);
        RECT label = {LVIR_LABEL, 0, 0, 0};
        if (SendMessageA(Win.list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label)))
            at = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    }
    ClientToScreen(Win.list, &at);
    return at;
}

void ShowListContextMenu(LPARAM screenPoint) {
    // A keyboard request (-1) opens the menu at the selection; a right-button
    // drag (0) carries no point and opens it where the drag began.
    POINT menuPoint;
    if (screenPoint == -1) {
        menuPoint = KeyboardMenuPoint();
    } else {
        DWORD at = screenPoint == 0 ? GetMessagePos() : static_cast<DWORD>(screenPoint);
        menuPoint = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    }
    // The menu names the row its commands act on first: a selected one.
    std::vector<int> rows = RowsActedOn(menuPoint);
    std::string name = rows.empty() ? std::string() : RowFileName(rows[0]);

    // A name whose file has gone must not be offered the previous drawing's
    // preview, which is still in the preview file.
    PreviewFound = false;
    std::string previewName = name;
    if (!name.empty()) ReadListPreview(previewName);

    DialogClosed = false;
    int selected = static_cast<int>(SendMessageA(Win.list, LVM_GETSELECTEDCOUNT, 0, 0));
    int count = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
    HMENU menu = BuildListContextMenu(name, selected, count, PreviewFound);
    int id = TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, menuPoint.x,
                              menuPoint.y, Win.main, nullptr);
    DestroyMenu(menu);
    RunListCommand(id, menuPoint);
    DialogClosed = true;
    SetTimer(Win.main, TIMER_DIALOG_CLOSED, 100, nullptr);
}

// A move changes the listed folder, and so does a copy into it.
static void Transfer(POINT menuPoint, bool move, const std::string& folder) {
    TransferSelection(menuPoint, move, folder);
    if (move || SamePath(folder, CurrentFolder())) BuildFileList();
}

static void TransferToBrowsed(POINT menuPoint, bool move) {
    std::string folder = AskForDestination();
    if (folder.empty()) return;
    Transfer(menuPoint, move, folder);
}

void RunListCommand(int id, POINT menuPoint) {
    switch (id) {
    case IDM_LIST_OPEN: OpenSelectionAtPoint(menuPoint); break;
    // The enlarged view is the main window's dialog.
    case IDM_LIST_ENLARGE: SendMessageA(Win.main, WM_COMMAND, IDM_LIST_ENLARGE, 0); break;
    case IDM_LIST_SELECT_ALL: SelectAllRows(); break;
    case IDM_LIST_DELETE:
        DeleteSelection(Win.list);
        BuildFileList();
        break;
    case IDM_LIST_EXPORT_HTML: ShowHtmlOptionsDialog(); break;
    case IDM_LIST_ZIP_FILES: ShowZipOptionsDialog(); break;
    case IDM_LIST_NEW_FOLDER: CreateFolder(true); break;
    case IDM_LIST_PROPERTIES: ShowFileProperties(menuPoint); break;
    case IDM_LIST_ZIP_ONE: ZipSelectedFile(); break;
    case IDM_COPY_BROWSE: TransferToBrowsed(menuPoint, false); break;
    case IDM_MOVE_BROWSE: TransferToBrowsed(menuPoint, true); break;
    case IDM_COPY_CUSTOMIZE:
    case IDM_MOVE_CUSTOMIZE: ShowTargetsDialog(Win.main); break;
    case IDM_COPY_NEW_FOLDER: TransferIntoNewFolder(menuPoint, false); break;
    case IDM_MOVE_NEW_FOLDER: TransferIntoNewFolder(menuPoint, true); break;
    default:
        if (id > IDM_COPY_TO_BASE && id <= IDM_COPY_TO_BASE + 5)
            Transfer(menuPoint, false, Settings.copyTo[id - IDM_COPY_TO_BASE]);
        else if (id > IDM_MOVE_TO_BASE && id <= IDM_MOVE_TO_BASE + 5)
            Transfer(menuPoint, true, Settings.moveTo[id - IDM_MOVE_TO_BASE]);
        break;
    }
}
