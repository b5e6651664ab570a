#include "ui/shell_transfer.h"

#include <shellapi.h>

#include "inspect/file_facts.h"
#include "ui/tree_rules.h"

int TransferFilesToFolder(UINT operation, const std::vector<std::string>& files,
                          const std::string& folder) {
    if (files.empty()) return 0;
    std::vector<std::string> destinations;
    destinations.reserve(files.size());
    for (const std::string& file : files)
        destinations.push_back(WithTrailingBackslash(folder) + FileNamePart(file));
    std::string from = ShellFileList(files);
    std::string to = ShellFileList(destinations);
    SHFILEOPSTRUCTA op = {};
    op.wFunc = operation;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_MULTIDESTFILES;
    return SHFileOperationA(&op);
}
