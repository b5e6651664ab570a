#include "settings/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "runtime/dir_entries.h"
#include "runtime/long_paths.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "runtime/strings.h"
#include "runtime/win_helpers.h"

// Read through the wide interface: a target's UTF-8 spelling may pass
// MAX_PATH bytes while the path itself does not.
std::string ResolveShortcutTarget(const std::string& shortcutPath) {
    std::string target;
    HRESULT init = CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            std::wstring wide = WideFromAnsi(shortcutPath);
            WCHAR path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY)))
                target = AnsiFromWide(path);
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return target;
}

std::string ShortcutMenuName(const std::string& fileName) {
    return fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

std::string ShortcutMenuText(const std::string& name, const std::string& target) {
    return MenuItemText(name + "  (" + target + ")");
}

// Names of the current directory's shortcuts to existing folders, in the
// order the directory gives them; the menu holds the first 49. The pattern
// also matches short names ("x.lnkold" as "X~1.LNK"): the long name decides.
static std::vector<std::string> FolderShortcutNames() {
    std::vector<std::string> names;
    DirEntries entries("*.LNK");
    DirEntry entry;
    while (names.size() < SHORTCUTS_MENU_LIMIT && entries.Next(entry)) {
        if (Upper(Right(entry.name, 4)) != ".LNK") continue;
        std::string target = ResolveShortcutTarget(entry.name);
        if (InStr(AttributeText(target), "D") > 0) names.push_back(ShortcutMenuName(entry.name));
    }
    return names;
}

std::string ShowShortcutsMenu() {
    POINT at;
    GetCursorPos(&at);
    std::vector<std::string> names = FolderShortcutNames();
    if (names.empty()) return std::string();

    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < names.size(); ++i) {
        std::string text = ShortcutMenuText(names[i], ResolveShortcutTarget(names[i] + ".lnk"));
        AppendMenuA(menu, MF_STRING, IDM_SHORTCUT_FIRST + i, text.c_str());
    }
    int chosen = static_cast<int>(TrackPopupMenuEx(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, Win.main, nullptr));
    DestroyMenu(menu);
    PumpMessages();
    if (chosen < IDM_SHORTCUT_FIRST ||
        chosen >= IDM_SHORTCUT_FIRST + static_cast<int>(names.size()))
        return std::string();

    // The target may have gone while the menu was open.
    std::string target = ResolveShortcutTarget(names[chosen - IDM_SHORTCUT_FIRST] + ".lnk");
    return !target.empty() && PathExists(target) ? target : std::string();
}
