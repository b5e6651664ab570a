#include "filelist/list_sorting.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "filelist/list_rows.h"
#include "filelist/sort_keys.h"
#include "runtime/app_state.h"

void MarkSortHeader(bool toggle) {
    if (toggle) SortAscending = !SortAscending;
    for (int column = 2; column < kListColumns; ++column)
        SetHeaderText(Win.list, column, HeaderText(column, SortColumn, SortAscending));
}

// Where each row goes, found by the row's parameter: straight by index when
// the parameters lie close together (they are counted up as rows are made),
// otherwise by a search among them in order.
struct RowPlaces {
    LPARAM first = 0;
    std::vector<int> byIndex;
    std::vector<std::pair<LPARAM, int>> byParam;
};

static int PlaceOf(const RowPlaces& places, LPARAM param) {
    if (!places.byIndex.empty()) return places.byIndex[param - places.first];
    auto found = std::lower_bound(places.byParam.begin(), places.byParam.end(),
                                  std::make_pair(param, INT_MIN));
    return found->second;
}

// The list view on some systems cannot order rows by their texts itself, so
// it is given each row's place, worked out beforehand.
static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM places) {
    const RowPlaces& p = *reinterpret_cast<const RowPlaces*>(places);
    return PlaceOf(p, a) - PlaceOf(p, b);
}

// Moves the rows (parameters given in row order) so that row order[k] comes
// to stand at place k.
static void MoveRows(HWND list, const std::vector<LPARAM>& params, const std::vector<int>& order) {
    int n = static_cast<int>(params.size());
    bool inPlace = true;
    for (int place = 0; place < n && inPlace; ++place)
        inPlace = order[place] == place;
    if (inPlace) return;
    RowPlaces places;
    auto range = std::minmax_element(params.begin(), params.end());
    places.first = *range.first;
    long long span = static_cast<long long>(*range.second) - *range.first;
    if (span < 4ll * n + 1024) {
        places.byIndex.assign(static_cast<size_t>(span) + 1, 0);
        for (int place = 0; place < n; ++place)
            places.byIndex[params[order[place]] - places.first] = place;
    } else {
        for (int place = 0; place < n; ++place)
            places.byParam.emplace_back(params[order[place]], place);
        std::sort(places.byParam.begin(), places.byParam.end());
    }
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&places),
                 reinterpret_cast<LPARAM>(CompareRows));
}

static std::vector<LPARAM> RowParams(HWND list, int n) {
    std::vector<LPARAM> params(n);
    for (int i = 0; i < n; ++i)
        params[i] = RowParam(list, i);
    return params;
}

// The order in which the keys' rows are to stand: descending is ascending
// exactly reversed, equal keys included.
static std::vector<int> RowOrder(const std::vector<std::string>& keys, bool ascending) {
    std::vector<int> order = AscendingOrder(keys);
    if (!ascending) std::reverse(order.begin(), order.end());
    return order;
}

void OrderRowsByKeys(HWND list, const std::vector<std::string>& keys, bool ascending) {
    int n = static_cast<int>(keys.size());
    MoveRows(list, RowParams(list, n), RowOrder(keys, ascending));
    for (int i = 0; i < n; ++i)
        SetRowText(list, i, 0, RankText(i));
}

void AnswerSortItem(NMLVDISPINFOA* info) {
    LVITEMA& item = info->item;
    if (item.iSubItem != 0 || !(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    std::string text = SortItemNames ? RowText(Win.list, item.iItem, 2) : RankText(item.iItem);
    lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
}

// Column 0 of the sorted rows is answered when asked, so that a sort need
// not write a text into every row. Only rows made since the last sort still
// hold a text there (their name), and get the answer once. The rows'
// parameters are counted up as rows are made, and nothing else writes
// column 0 of a listed row.
static void AnswerColumnZero(const std::vector<LPARAM>& params) {
    LPARAM newest = SortItemsAnsweredUpTo;
    for (int i = 0; i < static_cast<int>(params.size()); ++i) {
        if (params[i] <= SortItemsAnsweredUpTo) continue;
        LVITEMA item = {};
        item.iSubItem = 0;
        item.pszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(Win.list, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        newest = std::max(newest, params[i]);
    }
    SortItemsAnsweredUpTo = newest;
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

// A row's text in a column as it was kept when the row was written, else as
// the list view holds it (read into `read`).
static const std::string& SortText(LPARAM param, int row, int column, std::string& read) {
    const std::string* kept = KeptRowText(param, column);
    return kept ? *kept : (read = RowText(row, column));
}

void SortFileList() {
    if (SortColumn < 2 || SortColumn >= kListColumns) SortColumn = 2;
    MarkSortHeader(false);
    int n = RowCount(Win.list);
    bool listView = Settings.viewMode == "LIST";
    std::vector<std::string> names(listView ? n : 0), keys(n);
    std::vector<LPARAM> params;
    if (!KeptRowOrder(n, params)) params = RowParams(Win.list, n);
    std::string readName, readText;
    for (int i = 0; i < n; ++i) {
        const std::string& name = SortText(params[i], i, 2, readName);
        keys[i] = SortKey(SortColumn, name,
                          SortColumn == 2 ? name : SortText(params[i], i, SortColumn, readText));
        if (listView) names[i] = name;
    }
    std::vector<int> order = RowOrder(keys, SortAscending);
    MoveRows(Win.list, params, order);

    SortItemNames = listView;
    std::vector<LPARAM> moved(n);
    for (int place = 0; place < n; ++place)
        moved[place] = params[order[place]];
    AnswerColumnZero(moved);
    KeepRowOrder(std::move(moved));
    if (SortItemNames) FitListColumns(names);
}

void SortByHeaderClick(int column) {
    if (column < 2 || column >= kListColumns) return;
    MarkSortHeader(column == SortColumn);
    SortColumn = column;
    SortFileList();
}
