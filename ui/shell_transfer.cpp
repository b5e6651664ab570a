#include "ui/shell_transfer.h"

#include "runtime/files.h"
#include "ui/file_rules.h"

static bool RunsOnWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

static bool ShellTransfer(UINT operation, const std::vector<std::string>& files,
                          const std::string& folder, FILEOP_FLAGS flags) {
    std::string from = SourceList(files);
    std::string to = folder + '\0'; // the destination is a list of its own
    SHFILEOPSTRUCTA op = {};
    op.wFunc = operation;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = flags;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

bool TransferFilesToFolder(UINT operation, const std::vector<std::string>& files,
                           const std::string& folder, FILEOP_FLAGS extraFlags) {
    if (files.empty()) return true;
    FILEOP_FLAGS flags = FOF_ALLOWUNDO | extraFlags;
    if (operation != FO_MOVE || files.size() < 2 || !RunsOnWine())
        return ShellTransfer(operation, files, folder, flags);
    for (const std::string& file : files)
        if (!ShellTransfer(FO_MOVE, {file}, folder, flags) && PathExists(file))
            return false; // refused or cancelled: the rest stay too
    return true;
}
