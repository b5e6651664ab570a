#include "ui/file_operations.h"

#include <commctrl.h>
#include <direct.h>
#include <shellapi.h>
#include <shlobj.h>

#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/strings.h"
#include "runtime/win_helpers.h"
#include "ui/file_rules.h"
#include "ui/shell_transfer.h"
#include "ui/tree_pane.h"

static std::string ListedFolder() {
    return WithTrailingBackslash(CurrentFolder());
}

std::string RowFileName(int row) {
    // Longer than any name, so a name the list would cut short is seen whole.
    std::string text(1024, '\0');
    LVITEMA item = {};
    item.iSubItem = 2;
    item.pszText = &text[0];
    item.cchTextMax = static_cast<int>(text.size() - 1);
    SendMessageA(Win.list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    text.resize(text.find('\0'));
    return text;
}

// The files of the rows as they stand now. A row whose name cannot be passed
// to the shell as it is, or whose file has gone since the listing, is left
// out: acting on a trimmed or wildcard name, or on a list the shell gives up
// on half way, could reach other files. The user hears of left-out rows.
static std::vector<std::string> FilesOfRows(const std::vector<int>& rows) {
    std::vector<std::string> files;
    std::string folder = ListedFolder();
    for (int row : rows) {
        std::string name = RowFileName(row);
        DWORD attributes = GetFileAttributesA((folder + name).c_str());
        if (IsActionableName(name) && attributes != INVALID_FILE_ATTRIBUTES &&
            !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + name);
    }
    if (files.size() != rows.size()) ShowMessage("File Not Found", "File Error!", MB_OK);
    return files;
}

// Sends the files to the recycle bin.
static void DeleteToTrash(const std::vector<std::string>& files) {
    std::string sources = SourceList(files);
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = sources.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    SHFileOperationA(&op);
}

std::vector<int> RowsUnderPoint(POINT menuPoint) {
    std::vector<int> rows;
    int selected = static_cast<int>(SendMessageA(Win.list, LVM_GETSELECTEDCOUNT, 0, 0));
    LVHITTESTINFO hit = {};
    hit.pt = menuPoint;
    ScreenToClient(Win.list, &hit.pt);
    SendMessageA(Win.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (!(hit.flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON)) || hit.iItem < 0)
        return rows;
    rows.push_back(hit.iItem);
    for (int i = -1;
         static_cast<int>(rows.size()) < selected &&
         (i = static_cast<int>(SendMessageA(Win.list, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
        if (i != hit.iItem) rows.push_back(i);
    return rows;
}

// The full path of a folder as the system spells it, for comparing folders.
static std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2] = "";
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return Upper(WithTrailingBackslash(n && n < sizeof full ? full : path));
}

bool TransferSelection(POINT menuPoint, bool move, const std::string& destination) {
    std::string folder = WithTrailingBackslash(destination);
    // Only an existing folder can take files; a wildcard would be expanded.
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (folder.find_first_of("*?") != std::string::npos || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ShowMessage("Destination Directory Does Not Exist", "File Error!", MB_OK);
        return false;
    }
    std::vector<int> rows = RowsUnderPoint(menuPoint);
    if (rows.empty()) return false;
    std::vector<std::string> files = FilesOfRows(rows);
    // Files moved into the folder they lie in are already there.
    if (files.empty() || (move && FullPath(ListedFolder()) == FullPath(folder))) return false;
    TransferFilesToFolder(move ? FO_MOVE : FO_COPY, files, folder, FOF_RENAMEONCOLLISION);
    return true;
}

std::string AskForDestination() {
    BROWSEINFOA info = {};
    info.hwndOwner = GetActiveWindow();
    info.lpszTitle = "Select a Directory";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    std::string path;
    if (LPITEMIDLIST chosen = SHBrowseForFolderA(&info)) {
        char buffer[MAX_PATH] = "";
        if (SHGetPathFromIDListA(chosen, buffer)) path = buffer;
        CoTaskMemFree(chosen);
    }
    if (path.empty()) ShowMessage("Function Cancelled", "", MB_OK);
    return path;
}

void TransferIntoNewFolder(POINT menuPoint, bool move) {
    std::string folder = CreateFolder(false);
    if (folder.empty()) return;
    TransferSelection(menuPoint, move, folder);
    RefreshTreePane();
}

void DeleteSelection(HWND list) {
    std::vector<int> rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (SendMessageA(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED)
            rows.push_back(i);
    if (rows.empty()) return;
    std::vector<std::string> files = FilesOfRows(rows);
    if (!files.empty()) DeleteToTrash(files);
}

static void OpenFiles(const std::vector<int>& rows) {
    if (rows.empty()) return;
    for (const std::string& path : FilesOfRows(rows))
        if (!IsBackupName(path))
            ShellExecuteA(Win.main, "open", path.c_str(), nullptr, nullptr, SW_SHOW);
}

void OpenSelectionAtPoint(POINT menuPoint) {
    OpenFiles(RowsUnderPoint(menuPoint));
}

void OpenSelection() {
    std::vector<int> rows;
    int count = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (SendMessageA(Win.list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED)
            rows.push_back(i);
    OpenFiles(rows);
}

void OpenRowAt(POINT clientPoint) {
    LVHITTESTINFO hit = {};
    hit.pt = clientPoint;
    SendMessageA(Win.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (!hit.flags || hit.iItem < 0) return;
    std::string name = RowFileName(hit.iItem);
    if (Trim(name).empty()) return;
    std::string path = ListedFolder() + name;
    if (!HasDrawingExtension(path)) return;
    // A name the system would read as another file's is not opened.
    bool opened = IsActionableName(name) &&
                  reinterpret_cast<INT_PTR>(ShellExecuteA(Win.main, "open", path.c_str(), nullptr,
                                                          nullptr, SW_SHOW)) > 32;
    if (!opened) ShowMessage("Error opening " + path, "Error", MB_OK);
}

void ShowFileProperties(POINT menuPoint) {
    std::vector<int> rows = RowsUnderPoint(menuPoint);
    if (rows.empty()) return;
    rows.resize(1);
    std::vector<std::string> files = FilesOfRows(rows);
    if (files.empty()) return;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = Win.main;
    info.lpVerb = "Properties";
    info.lpFile = files[0].c_str();
    info.nShow = 0;
    if (ShellExecuteExA(&info) && info.hProcess) CloseHandle(info.hProcess);
}

std::string CreateFolder(bool refresh) {
    std::string name = Trim(InputBox("Create New Folder", "Enter new folder name", ""));
    if (name.empty()) return "";
    // The folder is made in the listed folder, spelt out in full: the working
    // directory may have been moved by a dialog since the listing.
    std::string path = ListedFolder() + name;
    bool valid = IsValidFolderName(name);
    if (valid && PathExists(path)) {
        ShowMessage("Directory Already Exists!", "Error!", MB_OK);
        return "";
    }
    if (!valid || _mkdir(path.c_str()) != 0) {
        ShowMessage("Can't Create Directory!", "Error!", MB_OK);
        return "";
    }
    if (refresh) RefreshTreePane();
    return path + "\\";
}
