#include "filelist/sort_keys.h"

#include <windows.h>

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
    case 5: {
        // The 12-hour clock starts each half of the day at 12: it sorts as 00.
        std::string time = Mid(text, 11);
        if (Mid(time, 2, 2) == "12") time = Mid(time, 1, 1) + "00" + Mid(time, 4);
        return Mid(text, 7, 4) + Mid(text, 1, 2) + Mid(text, 4, 2) +
               (InStr(text, "AM") > 0 ? "A" : "P") + time + "-" + fileName;
    }
    case 6: return text + "-" + fileName;
    default: return fileName;
    }
}

std::string RankText(int k) {
    std::string digits = std::to_string(k);
    return digits.size() < 4 ? std::string(4 - digits.size(), '0') + digits : digits;
}

int CompareKeys(const std::string& a, const std::string& b) {
    // The user's locale decides, as everywhere in Windows: letters beyond
    // ASCII ("Ö" and "ö") are equal apart from case and sort among their
    // kin. String sort keeps hyphens as symbols, so a key beginning with
    // one sorts first.
    int order = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.data(),
                               static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
    if (order != 0) return order - CSTR_EQUAL;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
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
