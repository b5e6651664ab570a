#include "filelist/list_rows.h"

#include <commctrl.h>

#include <unordered_map>

#include "inspect/drawing_properties.h"
#include "runtime/app_state.h"

const int kColumnFormats[10] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT,
                                LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT,   LVCFMT_LEFT};

int RowCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string RowText(HWND list, int row, int column) {
    return WholeRowText(list, row, column);
}

std::string WholeRowText(HWND list, int row, int column) {
    // The file list's texts kept beside it are read there: the list view
    // would ask its parent for them, which need not be the main window.
    if (list && list == Win.list)
        if (const std::string* kept = KeptRowText(RowParam(list, row), column)) return *kept;
    // The list view gives back at most the buffer's length less one: a
    // text that fills the buffer may go on.
    for (int size = 512;; size *= 2) {
        std::string buf(size, '\0');
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = &buf[0];
        item.cchTextMax = size;
        int n = static_cast<int>(
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
        if (n < size - 1 || size >= 65536) return buf.substr(0, buf.find('\0'));
    }
}

void SetRowText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

LPARAM RowParam(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void InsertColumn(HWND list, int index, const char* header, int format, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(header);
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void SetHeaderText(HWND list, int column, const std::string& text) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
}

std::string RowText(int row, int column) {
    return RowText(Win.list, row, column);
}

namespace {

// The texts of a file list row's columns 2 to 6. They are held here only:
// the list view asks for them when it draws them or is asked for them, and
// keeps no copy of its own.
constexpr int kFirstKept = 2, kLastKept = 6;
struct KeptTexts {
    std::string column[kLastKept - kFirstKept + 1];
    unsigned char kept = 0; // a bit for each column written
};

std::unordered_map<LPARAM, KeptTexts>& Kept() {
    static std::unordered_map<LPARAM, KeptTexts> kept;
    return kept;
}

} // namespace

void SetRowText(int row, int column, const std::string& text) {
    if (column < kFirstKept || column > kLastKept) return SetRowText(Win.list, row, column, text);
    SetRowText(row, RowParam(Win.list, row), column, text);
}

void SetRowText(int row, LPARAM param, int column, const std::string& text) {
    if (column < kFirstKept || column > kLastKept) return SetRowText(Win.list, row, column, text);
    KeptTexts& kept = Kept()[param];
    kept.column[column - kFirstKept] = text;
    kept.kept |= 1u << (column - kFirstKept);
    // Also tells the list view that the row's text changed.
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(Win.list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

const std::string* KeptRowText(LPARAM param, int column) {
    if (column < kFirstKept || column > kLastKept) return nullptr;
    auto found = Kept().find(param);
    if (found == Kept().end() || !(found->second.kept & (1u << (column - kFirstKept))))
        return nullptr;
    return &found->second.column[column - kFirstKept];
}

void AnswerRowText(NMLVDISPINFOA* info) {
    LVITEMA& item = info->item;
    if (item.iSubItem < kFirstKept || item.iSubItem > kLastKept || !(item.mask & LVIF_TEXT) ||
        !item.pszText || item.cchTextMax <= 0)
        return;
    const std::string* text = KeptRowText(RowParam(Win.list, item.iItem), item.iSubItem);
    lstrcpynA(item.pszText, text ? text->c_str() : "", item.cchTextMax);
}

static std::vector<LPARAM> keptOrder;
static bool orderKept = false;

void ForgetRowTexts(LPARAM param) {
    Kept().erase(param);
    orderKept = false;
}

void ForgetAllRowTexts() {
    Kept().clear();
    orderKept = false;
}

void KeepRowOrder(std::vector<LPARAM> params) {
    keptOrder = std::move(params);
    orderKept = true;
}

bool KeptRowOrder(int rows, std::vector<LPARAM>& params) {
    // The ends are asked as well: a change that went unnoticed shows there
    // more often than not.
    if (!orderKept || rows != static_cast<int>(keptOrder.size())) return false;
    if (rows > 0 && (RowParam(Win.list, 0) != keptOrder.front() ||
                     RowParam(Win.list, rows - 1) != keptOrder.back()))
        return false;
    params = keptOrder;
    return true;
}

LPARAM InsertRowAtTop(const std::string& text, int image, int* row) {
    static LPARAM nextParam = 0;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 0;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    item.lParam = ++nextParam;
    orderKept = false;
    int at = static_cast<int>(
        SendMessageA(Win.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row) *row = at;
    return item.lParam;
}

int RowWithParam(LPARAM param) {
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = param;
    return static_cast<int>(SendMessageA(Win.list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(&find)));
}

void SetRowImage(int row, int column, int image) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    item.iImage = image;
    SendMessageA(Win.list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void SetRowPropertyTexts(int row, const DrawingProperties& props) {
    // Only texts there are: most rows leave the columns without any.
    const int texts[] = {kPropTitle, kPropAuthor, kPropLastSavedBy};
    for (int i = 0; i < 3; ++i)
        if (!props.text[texts[i]].empty())
            SetRowText(Win.list, row, kFirstPropertyColumn + i, props.text[texts[i]]);
}

std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int i = -1;
         (i = static_cast<int>(SendMessageA(Win.list, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
        rows.push_back(i);
    return rows;
}
