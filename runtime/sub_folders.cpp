#include "runtime/sub_folders.h"

#include <algorithm>
#include <cstring>

#include "runtime/long_paths.h"

static HANDLE FindFirstEntry(const std::string& folder, WIN32_FIND_DATAW& data) {
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    // The system may then skip the files; it is only a hint.
    return FindFirstFileExW(LongPathForm(pattern).c_str(), FindExInfoStandard, &data,
                            FindExSearchLimitToDirectories, nullptr, 0);
}

bool IsShownSubFolder(DWORD attributes, const wchar_t* name) {
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) return false;
    return std::wcscmp(name, L".") != 0 && std::wcscmp(name, L"..") != 0;
}

SubFolderReader::SubFolderReader(const std::string& folder) {
    WIN32_FIND_DATAW data;
    find_ = FindFirstEntry(folder, data);
    if (find_ == INVALID_HANDLE_VALUE) {
        done_ = true;
        return;
    }
    if (IsShownSubFolder(data.dwFileAttributes, data.cFileName))
        names_.push_back(AnsiFromWide(data.cFileName));
}

SubFolderReader::~SubFolderReader() {
    if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
}

bool SubFolderReader::ReadSome(DWORD budget) {
    DWORD start = GetTickCount();
    WIN32_FIND_DATAW data;
    // The clock is read every few entries: reading it costs about as much as
    // an entry.
    for (int n = 1; !done_; ++n) {
        if (!FindNextFileW(find_, &data)) {
            done_ = true;
            break;
        }
        if (IsShownSubFolder(data.dwFileAttributes, data.cFileName))
            names_.push_back(AnsiFromWide(data.cFileName));
        if (n % 64 == 0 && GetTickCount() - start >= budget) break;
    }
    if (done_ && find_ != INVALID_HANDLE_VALUE) {
        FindClose(find_);
        find_ = INVALID_HANDLE_VALUE;
    }
    return done_;
}

std::vector<std::string> SubFolderReader::TakeSorted() {
    std::sort(names_.begin(), names_.end(), FolderNameBefore);
    std::vector<std::string> names;
    names.swap(names_);
    return names;
}

bool MayHaveSubFolder(const std::string& folder, int mostEntries) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstEntry(folder, data);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool found = false, more = true;
    for (int n = 0; !found && more; ++n) {
        found = IsShownSubFolder(data.dwFileAttributes, data.cFileName);
        if (n >= mostEntries) {
            found = true; // not looked at further: perhaps
            break;
        }
        if (!found) more = FindNextFileW(find, &data) != 0;
    }
    FindClose(find);
    return found;
}

static unsigned char Folded(unsigned char c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

bool FolderNameBefore(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = Folded(a[i]), y = Folded(b[i]);
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

bool SameFolderName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Folded(static_cast<unsigned char>(x)) ==
                      Folded(static_cast<unsigned char>(y));
           });
}
