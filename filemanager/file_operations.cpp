#include "filemanager/file_operations.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "filelist/list_rows.h"
#include "inspect/dwg_inspect.h"
#include "filemanager/file_rules.h"
#include "filemanager/file_transfer.h"
#include "runtime/app_state.h"
#include "runtime/dir_entries.h"
#include "runtime/file_facts.h"
#include "runtime/files.h"
#include "runtime/folder_browser.h"
#include "runtime/ids.h"
#include "runtime/long_paths.h"
#include "runtime/shell_open.h"
#include "runtime/strings.h"
#include "runtime/win_helpers.h"

static std::string ListedFolder() {
    return WithTrailingBackslash(CurrentFolder());
}

// The tree pane belongs to the main window, which rebuilds it on its Refresh
// command.
static void RefreshTree() {
    SendMessageA(Win.main, WM_COMMAND, IDM_REFRESH, 0);
}

std::string RowFileName(int row) {
    return WholeRowText(Win.list, row, 2);
}

std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    for (int i = -1; (i = static_cast<int>(SendMessageA(
                          list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
        rows.push_back(i);
    return rows;
}

std::vector<std::string> SelectedFiles(const std::vector<int>& rows) {
    std::vector<std::string> files, refused;
    bool onlyMissing = true;
    std::string folder = ListedFolder();
    for (int row : rows) {
        std::string name = RowFileName(row);
        std::string problem = NameProblem(name);
        if (problem.empty()) {
            DWORD attributes = FileAttributesOf(folder + name);
            if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                files.push_back(folder + name);
                continue;
            }
            problem = "was not found";
        } else {
            onlyMissing = false;
        }
        refused.push_back(name + " " + problem);
    }
    if (refused.empty()) return files;
    if (onlyMissing) {
        ShowMessage("File Not Found", "File Error!", MB_OK);
    } else {
        std::string lines;
        for (size_t i = 0; i < refused.size() && i < 10; ++i)
            lines += "\r\n" + refused[i];
        if (refused.size() > 10)
            lines += "\r\nand " + std::to_string(refused.size() - 10) + " more";
        ShowMessage("These files cannot be acted on:" + lines, "File Error!", MB_OK);
    }
    return files;
}

std::vector<int> RowsActedOn(POINT menuPoint) {
    std::vector<int> rows = SelectedRows(Win.list);
    LVHITTESTINFO hit = {};
    hit.pt = menuPoint;
    ScreenToClient(Win.list, &hit.pt);
    SendMessageA(Win.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    for (size_t i = 1; i < rows.size(); ++i)
        if (rows[i] == hit.iItem) {
            rows.erase(rows.begin() + static_cast<long>(i));
            rows.insert(rows.begin(), hit.iItem);
            break;
        }
    return rows;
}

bool TransferSelection(POINT menuPoint, bool move, const std::string& destination) {
    std::string folder = WithTrailingBackslash(destination);
    // Only an existing folder can take files; a wildcard would be expanded.
    DWORD attributes = FileAttributesOf(folder);
    if (folder.find_first_of("*?") != std::string::npos || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ShowMessage("Destination Directory Does Not Exist", "File Error!", MB_OK);
        return false;
    }
    std::vector<int> rows = RowsActedOn(menuPoint);
    if (rows.empty()) return false;
    std::vector<std::string> files = SelectedFiles(rows);
    if (files.empty()) return false;
    TransferFilesToFolder(Win.main, move, files, folder);
    return true;
}

std::string AskForDestination() {
    BROWSEINFOA info = {};
    info.hwndOwner = GetActiveWindow();
    info.lpszTitle = "Select a Directory";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    std::string path;
    if (LPITEMIDLIST chosen = SHBrowseForFolderA(&info)) {
        path = PathOfItems(chosen);
        CoTaskMemFree(chosen);
    }
    if (path.empty()) ShowMessage("Function Cancelled", "", MB_OK);
    return path;
}

void TransferIntoNewFolder(POINT menuPoint, bool move) {
    std::string folder = CreateFolder(false);
    if (folder.empty()) return;
    TransferSelection(menuPoint, move, folder);
    RefreshTree();
}

void DeleteSelection(HWND list) {
    std::vector<int> rows = SelectedRows(list);
    if (rows.empty()) return;
    std::vector<std::string> files = SelectedFiles(rows);
    if (!files.empty()) SendToTrash(Win.main, files, true);
}

static void OpenFiles(const std::vector<int>& rows) {
    if (rows.empty()) return;
    for (const std::string& path : SelectedFiles(rows))
        if (!IsBackupName(path)) OpenFile(Win.main, path);
}

void OpenSelectionAtPoint(POINT menuPoint) {
    OpenFiles(RowsActedOn(menuPoint));
}

void OpenSelection() {
    OpenFiles(SelectedRows(Win.list));
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
    bool opened = IsActionableName(name) && OpenFile(Win.main, path);
    if (!opened) ShowMessage("Error opening " + path, "Error", MB_OK);
}

// What Properties shows where the shell has no properties sheet.
static std::string FilePropertiesText(const std::string& path) {
    DirEntry entry;
    if (!FindFirstEntry(path, entry)) return "File Not Found";
    std::string text = "Name:\t" + FileNamePart(path) + "\r\nFolder:\t" + FolderPart(path) +
                       "\r\nSize:\t" + KbText(entry.size) + " (" + GroupedDigits(entry.size) +
                       " bytes)\r\nModified:\t" + ModifiedTextOf(entry.lastWrite) +
                       "\r\nAttributes:\t" + AttributeLetters(entry.attributes);
    // What the drawing says about itself, under the file's facts.
    if (std::shared_ptr<const DrawingProperties> props = ReadPropertiesOf(path)) {
        auto lines = FilledProperties(*props);
        if (!lines.empty()) text += "\r\n";
        for (const auto& line : lines)
            text += "\r\n" + line.first + ":\t" + line.second;
    }
    return text;
}

void ShowFileProperties(POINT menuPoint) {
    std::vector<int> rows = RowsActedOn(menuPoint);
    if (rows.empty()) return;
    rows.resize(1);
    std::vector<std::string> files = SelectedFiles(rows);
    if (files.empty()) return;
    // The shell writes a path past MAX_PATH characters beyond its buffers,
    // even in its short form: such a file gets the facts Korvex knows.
    if (IsLongPath(files[0])) {
        ShowMessage(FilePropertiesText(files[0]), "Properties", MB_OK);
        return;
    }
    std::string shellPath = files[0];
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = Win.main;
    info.lpVerb = "Properties";
    info.lpFile = shellPath.c_str();
    info.nShow = 0;
    bool shown = ShellExecuteExA(&info) != 0;
    if (shown && info.hProcess) CloseHandle(info.hProcess);
    // Where the shell has no properties sheet, the facts Korvex knows.
    if (!shown) ShowMessage(FilePropertiesText(files[0]), "Properties", MB_OK);
}

std::string CreateFolder(bool refresh) {
    std::string name = Trim(InputBox("Create New Folder", "Enter new folder name", ""));
    if (name.empty()) return "";
    // The folder is made in the listed folder, spelt out in full: the working
    // directory may have been moved by a dialog since the listing.
    std::string path = ListedFolder() + name;
    std::string problem = FolderNameProblem(name);
    if (!problem.empty()) {
        ShowMessage("Can't Create Directory!\r\n" + problem, "Error!", MB_OK);
        return "";
    }
    if (FileAttributesOf(path) != INVALID_FILE_ATTRIBUTES) {
        ShowMessage("Directory Already Exists!", "Error!", MB_OK);
        return "";
    }
    if (!CreateDirectoryW(LongPathForm(path).c_str(), nullptr)) {
        ShowMessage("Can't Create Directory!\r\n" + SystemErrorText(GetLastError()), "Error!",
                    MB_OK);
        return "";
    }
    // The tree learns of the new folder (the shell does not tell it).
    SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW | SHCNF_FLUSH, LongPathForm(path).c_str(), nullptr);
    if (refresh) RefreshTree();
    return path + "\\";
}
