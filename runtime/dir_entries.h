// Directory entries as every part of Korvex reads them: the whole name in
// the program's code page (UTF-8), however many bytes its characters take.
// The byte-string enumeration hands names over in a MAX_PATH-byte field,
// which a name of 87 Chinese characters already passes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/handles.h"

struct DirEntry {
    std::string name;
    uint32_t attributes = 0;
    uint64_t size = 0;      // the whole size in bytes
    uint64_t lastWrite = 0; // the system's file time: 100 ns units since 1601, UTC
    uint64_t created = 0;   // in the same units
};

// The entries matching a wildcard pattern (a path of any length; the
// wildcards match short names too, as the system's own do), one at a time.
class DirEntries {
  public:
    explicit DirEntries(const std::string& pattern);
    DirEntries(const DirEntries&) = delete;
    DirEntries& operator=(const DirEntries&) = delete;
    // The next entry; false at the end, or when nothing matched.
    bool Next(DirEntry& entry);

  private:
    std::string pattern_;
    FindHandle find_;
    bool started_ = false;
};

// The first entry matching a path (a file's own entry); false when none.
bool FindFirstEntry(const std::string& path, DirEntry& entry);
