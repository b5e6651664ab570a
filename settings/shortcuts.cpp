#include "settings/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

std::string ResolveShortcutTarget(const std::string& shortcutPath) {
    char target[MAX_PATH] = {};
    HRESULT init = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH] = {};
            if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, shortcutPath.c_str(), -1, wide,
                                    MAX_PATH) > 0 &&
                SUCCEEDED(file->Load(wide, STGM_READ))) {
                if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_UNCPRIORITY)))
                    target[0] = '\0';
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return target;
}
