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

struct KeptTexts {
    std::string column[7];
    unsigned kept = 0; // a bit for each column kept
};

std::unordered_map<LPARAM, KeptTexts>& Kept() {
    static std::unordered_map<LPARAM, KeptTexts> kept;
    return kept;
}

} // namespace

void SetRowText(int row, int column, const std::string& text) {
    SetRowText(Win.list, row, column, text);
    if (column < 2 || column > 6) return;
    KeptTexts& kept = Kept()[RowParam(Win.list, row)];
    kept.column[column] = text.substr(0, 249); // as RowText reads it back
    kept.kept |= 1u << column;
}

const std::string* KeptRowText(LPARAM param, int column) {
    auto found = Kept().find(param);
    if (column < 0 || column > 6 || found == Kept().end() || !(found->second.kept & (1u << column)))
        return nullptr;
    return &found->second.column[column];
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

LPARAM InsertRowAtTop(const std::string& text, int image) {
    static LPARAM nextParam = 0;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 0;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    item.lParam = ++nextParam;
    orderKept = false;
    SendMessageA(Win.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
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
