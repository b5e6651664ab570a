#include "filelist/list_sorting.h"

#include <windows.h>
#include <commctrl.h>

#include <unordered_map>

#include "filelist/list_rows.h"
#include "filelist/sort_keys.h"
#include "runtime/app_state.h"

void MarkSortHeader(bool toggle) {
    if (toggle) SortAscending = !SortAscending;
    for (int column = 2; column <= 6; ++column)
        SetHeaderText(Win.list, column, HeaderText(column, SortColumn, SortAscending));
}

// Keys of the rows being sorted, reached through each row's lParam. The list
// view on some systems cannot order rows by their texts itself.
static std::unordered_map<LPARAM, std::string>* sortKeys;

static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM) {
    return CompareKeys((*sortKeys)[a], (*sortKeys)[b]);
}

// Orders the rows by one text per row, given in row order.
static void OrderRowsBy(HWND list, const std::vector<std::string>& texts) {
    std::unordered_map<LPARAM, std::string> keys;
    for (int i = 0; i < static_cast<int>(texts.size()); ++i)
        keys[RowParam(list, i)] = texts[i];
    sortKeys = &keys;
    SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareRows));
    sortKeys = nullptr;
}

void OrderRowsByKeys(HWND list, const std::vector<std::string>& keys, bool ascending) {
    OrderRowsBy(list, keys);
    int n = static_cast<int>(keys.size());
    if (!ascending) {
        // Ranks that run backwards reverse the rows when ordered by. They are
        // compared at a fixed width, so that lists of ten thousand rows and
        // more keep their order. Ascending, the rows already stand in order.
        std::vector<std::string> ranks(n);
        for (int i = 0; i < n; ++i) {
            std::string digits = std::to_string((n - 1) - i);
            ranks[i] = std::string(10 - digits.size(), '0') + digits;
        }
        OrderRowsBy(list, ranks);
    }
    for (int i = 0; i < n; ++i)
        SetRowText(list, i, 0, RankText(i));
}

// In LIST view the list's columns are as wide as the widest name beside its
// thumbnail. Names arrive in column 0 only after the switch, so the width the
// list may have worked out from the ranks there before is too narrow.
static void FitListColumns(const std::vector<std::string>& names) {
    int widest = 0;
    for (const std::string& name : names) {
        int width = static_cast<int>(
            SendMessageA(Win.list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(name.c_str())));
        if (width > widest) widest = width;
    }
    int imageWidth = 0, imageHeight = 0;
    if (Thumbs.images) ImageList_GetIconSize(Thumbs.images, &imageWidth, &imageHeight);
    // Room for the gaps around the image and the label.
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(imageWidth + widest + 20, 0));
}

void SortFileList() {
    if (SortColumn < 2 || SortColumn > 6) SortColumn = 2;
    MarkSortHeader(false);
    int n = RowCount(Win.list);
    std::vector<std::string> keys(n);
    for (int i = 0; i < n; ++i) {
        std::string name = RowText(i, 2);
        keys[i] = SortKey(SortColumn, name, SortColumn == 2 ? name : RowText(i, SortColumn));
    }
    OrderRowsByKeys(Win.list, keys, SortAscending);

    if (Settings.viewMode == "LIST") {
        std::vector<std::string> names(n);
        for (int i = 0; i < n; ++i) {
            names[i] = RowText(i, 2);
            SetRowText(i, 0, names[i]);
        }
        FitListColumns(names);
    }
}

void SortByHeaderClick(int column) {
    if (column < 2 || column > 6) return;
    MarkSortHeader(column == SortColumn);
    SortColumn = column;
    SortFileList();
}
