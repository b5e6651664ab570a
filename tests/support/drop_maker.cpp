#include "tests/support/drop_maker.h"

#include <shlobj.h>

#include <cstring>

HDROP MakeDrop(const std::vector<std::string>& files, POINT pt) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& file : files)
        size += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size); // zeroed: the list ends in two NULs
    auto drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = pt;
    drop->fNC = FALSE;
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& file : files) {
        std::memcpy(names, file.c_str(), file.size() + 1);
        names += file.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
