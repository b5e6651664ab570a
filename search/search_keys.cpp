#include "search/search_keys.h"

#include "filelist/sort_keys.h"
#include "runtime/strings.h"

std::string SearchOrderKey(const std::string& path, const std::string& root) {
    std::string relative = Upper(path);
    std::string upperRoot = Upper(root);
    if (!upperRoot.empty()) relative = ReplaceAll(relative, upperRoot, "");
    size_t slash = relative.rfind('\\');
    if (slash == std::string::npos) return "00000" + relative;
    return relative.substr(0, slash + 1) + std::string(20, '0') + relative.substr(slash + 1);
}

std::string ResultSortKey(int column, const std::string& fileName, const std::string& directory,
                          const std::string& columnText, const std::string& root) {
    std::string order = SearchOrderKey(directory + fileName, root);
    switch (column) {
    case 1: return fileName;
    case 2: return order;
    // Version, Size and Modified use the file list's keys, with the search
    // order in place of the file name.
    case 3:
    case 4:
    case 5: return SortKey(column, order, columnText);
    case 6: return (Trim(columnText).empty() ? std::string("0") : columnText) + "-" + order;
    default: return order;
    }
}

const char* const kResultHeaders[7] = {"SortItem", "Filename", "Directory", "Version",
                                       "Size",     "Modified", "Attributes"};

std::string ResultHeaderText(int column, int sortColumn, bool ascending) {
    if (column < 0 || column > 6) return std::string();
    return MarkedHeader(kResultHeaders[column], column == sortColumn && column >= 1, ascending);
}

size_t InsertionIndex(const std::vector<std::string>& keys, const std::string& key) {
    size_t low = 0, high = keys.size();
    while (low < high) {
        size_t middle = low + (high - low) / 2;
        if (CompareKeys(keys[middle], key) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
