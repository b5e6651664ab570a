#include "filelist/sort_keys.h"

#include <cctype>

#include "runtime/strings.h"

std::string VersionSortCode(const std::string& versionText) {
    static const char* const codes[][2] = {
        {"2.5", "000025"},   {"2.6", "000026"},  {"9", "000090"},    {"10", "000100"},
        {"11/12", "000110"}, {"13", "000130"},   {"14", "000140"},   {"2000", "020000"},
        {"2004", "020040"},  {"2007", "020070"}, {"2010", "020100"}, {"2013", "020130"},
        {"2018", "020180"},
    };
    std::string text = Trim(versionText);
    for (const auto& row : codes)
        if (text == row[0]) return row[1];
    return std::string();
}

std::string SizeLengthKey(const std::string& sizeText) {
    // " 5" for "12 KB". Texts of ten characters and more (100,000 KB and up)
    // would give " 10" and sort before " 9"; they get " 9~" and their length
    // instead, which orders after every nine-character text and among
    // themselves by length.
    if (sizeText.size() < 10) return NumberText(static_cast<double>(sizeText.size()));
    return " 9~" + std::to_string(sizeText.size());
}

std::string SortKey(int column, const std::string& fileName, const std::string& text) {
    switch (column) {
    case 3: return VersionSortCode(text) + "-" + fileName;
    case 4: return SizeLengthKey(text) + "-" + text + "-" + fileName;
    case 5:
        return Mid(text, 7, 4) + Mid(text, 1, 2) + Mid(text, 4, 2) +
               (InStr(text, "AM") > 0 ? "A" : "P") + Mid(text, 11) + "-" + fileName;
    case 6: return text + "-" + fileName;
    default: return fileName;
    }
}

std::string RankText(int k) {
    std::string digits = std::to_string(k);
    return digits.size() < 4 ? std::string(4 - digits.size(), '0') + digits : digits;
}

int CompareKeys(const std::string& a, const std::string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

const char* const kFileListHeaders[7] = {"SortItem", "Preview",  "Filename",  "Version",
                                         "Size",     "Modified", "Attributes"};

std::string MarkedHeader(const std::string& name, bool marked, bool ascending) {
    return marked ? name + (ascending ? " ^" : " v") : name;
}

std::string HeaderText(int column, int sortColumn, bool ascending) {
    if (column < 0 || column > 6) return std::string();
    return MarkedHeader(kFileListHeaders[column], column == sortColumn && column >= 2, ascending);
}
