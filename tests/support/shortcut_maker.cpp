#include "tests/support/shortcut_maker.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

bool MakeShortcut(const std::string& linkPath, const std::string& targetPath) {
    HRESULT init = CoInitialize(nullptr);
    bool saved = false;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(targetPath.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
            saved = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return saved;
}
