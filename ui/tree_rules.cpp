#include "ui/tree_rules.h"

#include "runtime/file_facts.h"
#include "runtime/strings.h"

std::string NavigationPath(std::string path) {
    path = WithTrailingBackslash(path);
    if (path.size() > 3 && path.compare(0, 2, "\\\\") != 0) path.pop_back();
    return path;
}

bool IsBlockedFolderCommand(int id) {
    return (id >= 17 && id <= 19) || (id >= 25 && id <= 27);
}

std::string ItemPathFromTexts(const std::vector<std::string>& texts, bool reachedRoot,
                              const std::string& desktopPath) {
    std::string result;
    for (const std::string& text : texts) {
        int colon = InStr(text, ":");
        if (colon > 0) return Mid(text, colon - 1, 2) + "\\" + result;
        result = text + "\\" + result;
    }
    if (!reachedRoot) return std::string();
    return ReplaceAll(desktopPath + "\\" + result, "\\\\", "\\");
}
