#include "runtime/dir_entries.h"
#include "runtime/files.h"

#include <windows.h>
#include <shellapi.h>

#include "runtime/handles.h"
#include "runtime/long_paths.h"

static std::string ModulePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ExeFolder() {
    std::string path = ModulePath();
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ExeName() {
    std::string path = ModulePath();
    return path.substr(path.find_last_of('\\') + 1);
}

std::string TempFolder() {
    std::string path(GetTempPathA(0, nullptr) + 1, '\0');
    DWORD n = GetTempPathA(static_cast<DWORD>(path.size()), &path[0]);
    path.resize(n < path.size() ? n : 0);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    FileStream file(path.c_str(), "rb");
    if (!file) return false;
    char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, file.get())) > 0;)
        bytes.append(buf, n);
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    FileStream file(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
              std::fflush(file.get()) == 0;
    file.close();
    return ok;
}

bool PathExists(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) {
        DirEntry entry;
        return FindFirstEntry(path, entry);
    }
    return FileAttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool SendFileToTrash(const std::string& path) {
    std::string from = UsablePath(path);
    if (from.size() >= MAX_PATH) return false;
    from += '\0'; // the list ends in two nulls
    SHFILEOPSTRUCTA op = {};
    op.hwnd = GetActiveWindow();
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    // A file the bin cannot take, such as one larger than the bin, is asked
    // about, never deleted for good without a word.
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING | FOF_NOERRORUI;
    SHFileOperationA(&op);
    return !PathExists(path);
}
