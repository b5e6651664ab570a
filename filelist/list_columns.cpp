#include "filelist/list_columns.h"

#include <commctrl.h>

#include "filelist/list_rows.h"
#include "filelist/sort_keys.h"
#include "runtime/file_facts.h"
#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "runtime/status_bar_parts.h"
#include "runtime/view_menu.h"
#include "runtime/win_helpers.h"

int AddPlaceholderImage(HIMAGELIST images, int resourceId, int width, int height,
                        bool swapBlackWhite) {
    HBITMAP bmp =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                        IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE));
    if (!images || !bmp) {
        if (bmp) DeleteObject(bmp);
        return -1;
    }
    if (swapBlackWhite) bmp = SwapBlackWhite(bmp);
    GdiObject<HBITMAP> sized(
        static_cast<HBITMAP>(CopyImage(bmp, IMAGE_BITMAP, width, height, LR_COPYDELETEORG)));
    if (!sized.get()) {
        DeleteObject(bmp);
        return -1;
    }
    return ImageList_Add(images, sized.get(), nullptr);
}

HIMAGELIST CreateThumbnailImageList(int width, int height) {
    HIMAGELIST images = ImageList_Create(width, height, ILC_COLOR24, 0, 0);
    AddPlaceholderImage(images, IDB_NO_PREVIEW, width, height, false);
    return images;
}

void SetUpFileList() {
    SendMessageA(Win.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
    SendMessageA(Win.list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    HIMAGELIST old = Thumbs.images;
    Thumbs.images = CreateThumbnailImageList(Settings.thumbWidth, Settings.thumbHeight);
    SendMessageA(Win.list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(Thumbs.images));
    if (old) ImageList_Destroy(old);

    for (int i = 0; i < kListColumns; ++i) {
        bool shown = i > 0 && Settings.showColumn[i] == "TRUE";
        InsertColumn(Win.list, i, kFileListHeaders[i], kColumnFormats[i],
                     shown ? Settings.columnWidth[i] : 0);
    }
}

static void EnableItem(int id, bool enabled) {
    EnableMenuItem(Win.viewMenu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

static void SetListStyle(DWORD view) {
    LONG style = GetWindowLongA(Win.list, GWL_STYLE);
    SetWindowLongA(Win.list, GWL_STYLE, (style & ~LVS_TYPEMASK) | view);
    SetWindowPos(Win.list, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void EnterListMode() {
    int was = UncheckViewItem(IDM_LIST);
    if (was < 0) return;
    if (was == 1) {
        CheckViewItem(IDM_LIST, true);
        return;
    }
    CheckViewItem(IDM_LIST, true);
    CheckViewItem(IDM_DETAILS, false);
    for (int column = 1; column < kListColumns; ++column) {
        EnableItem(ColumnItemId(column), false);
        CheckViewItem(ColumnItemId(column), column <= 2);
    }
    Settings.showColumn[1] = "TRUE";
    Settings.showColumn[2] = "TRUE";
    SetListStyle(LVS_LIST);
    Settings.viewMode = "LIST";
}

void EnterDetailMode() {
    int was = UncheckViewItem(IDM_DETAILS);
    if (was < 0) return;
    if (was == 1) {
        CheckViewItem(IDM_DETAILS, true);
        return;
    }
    CheckViewItem(IDM_DETAILS, true);
    CheckViewItem(IDM_LIST, false);
    for (int column = 1; column < kListColumns; ++column) {
        EnableItem(ColumnItemId(column), true);
        CheckViewItem(ColumnItemId(column), Settings.showColumn[column] == "TRUE");
    }
    SetListStyle(LVS_REPORT);
    // LIST view shows Preview and FileName whatever they were before: a
    // column hidden then comes back checked, so it must be visible too.
    for (int column = 1; column < kListColumns; ++column)
        if (Settings.showColumn[column] == "TRUE" &&
            SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, column, 0) == 0)
            SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, column,
                         MAKELPARAM(Settings.columnWidth[column] & 0xFFFF, 0));
    Settings.viewMode = "DETAIL";
}

void ApplyViewMode() {
    if (Settings.viewMode == "LIST")
        EnterListMode();
    else
        EnterDetailMode();
}

bool PropertyColumnsShown() {
    for (int column = kFirstPropertyColumn; column < kListColumns; ++column)
        if (Settings.showColumn[column] == "TRUE") return true;
    return false;
}

bool ToggleColumn(int column) {
    if (column < 1 || column >= kListColumns) return false;
    // A listing made with every property column hidden read no properties.
    bool propertiesRead = PropertyColumnsShown();
    if (!ToggleViewItem(ColumnItemId(column))) {
        Settings.showColumn[column] = "FALSE";
        Settings.columnWidth[column] =
            static_cast<int>(SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, column, 0));
        SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, column, 0);
        return false;
    }
    Settings.showColumn[column] = "TRUE";
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, column,
                 MAKELPARAM(Settings.columnWidth[column] & 0xFFFF, 0));
    return column == 1 || (column >= kFirstPropertyColumn && !propertiesRead);
}

std::string SelectionSummaryText(int selected, unsigned long long bytes) {
    if (selected == 0) return "0 File(s) Selected = 0 KB";
    return std::to_string(selected) + " File(s) Selected = " + KbText(bytes);
}

void UpdateSelectionSummary() {
    int selected = static_cast<int>(SendMessageA(Win.list, LVM_GETSELECTEDCOUNT, 0, 0));
    // Whole 64-bit sizes, so large selections still add up.
    unsigned long long bytes = 0;
    if (selected > 0) {
        std::string folder = WithTrailingBackslash(CurrentFolder());
        for (int row : SelectedRows())
            bytes += FileSizeOf(folder + RowText(row, 2));
    }
    std::string text = SelectionSummaryText(selected, bytes);
    SendMessageA(Win.status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(text.c_str()));
    // Room for the text and the part's frame, measured in the status bar's font.
    Win.selectionTextWidth = TextExtent(Win.status, text).cx + 16;
    SetStatusBarParts();
    KillTimer(Win.main, TIMER_SELECTION);
}
