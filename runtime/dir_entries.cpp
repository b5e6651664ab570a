#include "runtime/dir_entries.h"

#include "runtime/long_paths.h"

static void Take(const WIN32_FIND_DATAW& data, DirEntry& entry) {
    entry.name = AnsiFromWide(data.cFileName);
    entry.attributes = data.dwFileAttributes;
    entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.lastWrite = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    entry.created = (static_cast<uint64_t>(data.ftCreationTime.dwHighDateTime) << 32) |
                    data.ftCreationTime.dwLowDateTime;
}

DirEntries::DirEntries(const std::string& pattern) : pattern_(pattern) {}

bool DirEntries::Next(DirEntry& entry) {
    WIN32_FIND_DATAW data;
    if (started_) {
        if (!find_.valid() || !FindNextFileW(find_.get(), &data)) return false;
    } else {
        started_ = true;
        if (pattern_.empty()) return false;
        std::wstring wide = IsLongPath(pattern_) ? LongPathForm(pattern_) : WideFromAnsi(pattern_);
        find_.reset(FindFirstFileW(wide.c_str(), &data));
        if (!find_.valid()) return false;
    }
    Take(data, entry);
    return true;
}

bool FindFirstEntry(const std::string& path, DirEntry& entry) {
    DirEntries entries(path);
    return entries.Next(entry);
}
