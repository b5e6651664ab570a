#include "runtime/folder_browser.h"

#include "runtime/long_paths.h"

#include <windows.h>
#include <shlobj.h>

#include "runtime/files.h"

static int CALLBACK StartAtFolder(HWND dialog, UINT msg, LPARAM, LPARAM data) {
    // Wine's browser can miss a folder along the path the first time it
    // reads it; asking again finds it, and asking for the selected folder
    // changes nothing.
    if (msg == BFFM_INITIALIZED && data)
        for (int attempt = 0; attempt < 3; ++attempt)
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

std::string BrowseForFolder(const std::string& startFolder) {
    BROWSEINFOA info = {};
    info.hwndOwner = GetActiveWindow();
    info.lpszTitle = "";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = StartAtFolder;
    if (!startFolder.empty() && PathExists(startFolder))
        info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen) return "";
    std::string path = PathOfItems(chosen);
    CoTaskMemFree(chosen);
    return path;
}

// The byte-string call gives at most MAX_PATH bytes, which a UTF-8 path of
// fewer characters may pass, and the plain wide call assumes a buffer of
// MAX_PATH characters: the sized call is given room for any path.
std::string PathOfItems(LPCITEMIDLIST items) {
    if (!items) return std::string();
    std::wstring path(32768, L'\0');
    if (!SHGetPathFromIDListEx(items, &path[0], static_cast<DWORD>(path.size()), GPFIDL_DEFAULT))
        return std::string();
    return AnsiFromWide(path.c_str());
}
