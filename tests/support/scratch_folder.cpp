#include "tests/support/scratch_folder.h"

#include <windows.h>

#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/long_paths.h"

ScratchFolder::ScratchFolder() {
    // Wine reuses process ids, so the name comes from the clock and a counter.
    static unsigned counter = 0;
    std::string base = TempFolder();
    for (;;) {
        std::string candidate = base + "kvxtest_" + std::to_string(GetTickCount()) + "_" +
                                std::to_string(++counter) + "\\";
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

void RemoveTree(const std::string& folder) {
    std::string base = folder.back() == '\\' ? folder : folder + "\\";
    // A listing makes its folder the current directory, and no folder can be
    // removed while it is one.
    char current[MAX_PATH + 1] = {};
    DWORD n = GetCurrentDirectoryA(MAX_PATH, current);
    if (n > 0 && n < MAX_PATH &&
        _strnicmp((std::string(current) + "\\").c_str(), base.c_str(), base.size()) == 0)
        SetCurrentDirectoryA(TempFolder().c_str());
    WIN32_FIND_DATAA data;
    {
        FindHandle find(FindFirstFileA((base + "*").c_str(), &data));
        if (find.valid()) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                std::string path = base + name;
                SetFileAttributesW(LongPathForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileW(LongPathForm(path).c_str()); // names of any length
            } while (FindNextFileA(find.get(), &data));
        }
    }
    RemoveDirectoryA(base.c_str());
}

std::string MakeFolderOfLength(const ScratchFolder& root, size_t length) {
    std::string folder = root.path();
    if (length > folder.size() + 1) folder += std::string(length - folder.size() - 1, 'f');
    folder += "\\";
    return CreateDirectoryA(folder.c_str(), nullptr) ? folder : std::string();
}
