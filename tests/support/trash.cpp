#include "tests/support/trash.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/support/dwg_builder.h"

std::string TrashFilesFolder() {
    // Wine names the Unix home as an NT path: \??\Z:\home\user.
    const char* home = std::getenv("WINEHOMEDIR");
    if (!home) return "";
    std::string path = home;
    if (path.compare(0, 4, "\\??\\") == 0) path.erase(0, 4);
    return path + "\\.local\\share\\Trash\\files\\";
}

// The trash keeps each file's original path, percent-encoded, in an info file
// of the same name: a file sent by its short name lies there under that name.
std::string TrashedContents(const std::string& name) {
    std::string files = TrashFilesFolder();
    if (files.empty()) return "";
    std::string info = files.substr(0, files.size() - 6) + "info\\";
    // The info file's path is percent-encoded UTF-8.
    std::string encoded = "/";
    for (unsigned char c : name) {
        if (std::isalnum(c) || std::strchr("-._~!$&'()*+,;=:@", c)) {
            encoded += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            encoded += hex;
        }
    }
    encoded += "\n";
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((info + "*.trashinfo").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return "";
    std::string found;
    do {
        std::string text = ReadBytes(info + entry.cFileName);
        if (text.find(encoded) != std::string::npos) {
            std::string stored = entry.cFileName;
            found = ReadBytes(files + stored.substr(0, stored.size() - 10));
        }
    } while (found.empty() && FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}
