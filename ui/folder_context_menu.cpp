// The shell's own context menu for a folder, with the entries that would
// manage files refused.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "runtime/long_paths.h"
#include "runtime/win_helpers.h"
#include "ui/tree_pane.h"
#include "ui/tree_rules.h"

// Each failing step has a text of its own, shown only while this is on.
static const bool ShowShellDiagnostics = false;

static void Diagnose(const char* text) {
    if (ShowShellDiagnostics) MessageBoxA(nullptr, text, "", MB_OK);
}

// What the menu holds on the way; released in reverse on every exit path.
struct ShellMenuParts {
    IMalloc* allocator = nullptr;
    IShellFolder* folder = nullptr;
    LPITEMIDLIST items = nullptr;
    IContextMenu* contextMenu = nullptr;
    HMENU popup = nullptr;

    ShellMenuParts() = default;
    ShellMenuParts(const ShellMenuParts&) = delete;
    ShellMenuParts& operator=(const ShellMenuParts&) = delete;
    ~ShellMenuParts() {
        if (popup) DestroyMenu(popup);
        if (contextMenu) contextMenu->Release();
        if (items && allocator) allocator->Free(items);
        if (folder) folder->Release();
        if (allocator) allocator->Release();
    }
};

static int ItemCount(LPCITEMIDLIST items) {
    int count = 0;
    for (const SHITEMID* id = &items->mkid; id->cb; ++count)
        id = reinterpret_cast<const SHITEMID*>(reinterpret_cast<const BYTE*>(id) + id->cb);
    return count;
}

static LPITEMIDLIST NextItem(LPITEMIDLIST item) {
    if (!item->mkid.cb) return nullptr;
    auto next = reinterpret_cast<LPITEMIDLIST>(reinterpret_cast<BYTE*>(item) + item->mkid.cb);
    return next->mkid.cb ? next : nullptr;
}

// The path as the shell parses it: bytes that already read as UTF-16 are
// taken as they are.
// The folder's full path as the shell parses it, whole however long.
static std::wstring WidePath(const std::string& path) {
    std::wstring wide = WideFromAnsi(path);
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return wide;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, &full[0], nullptr);
    full.resize(n);
    return full;
}

// Binds down the list to the folder that holds its last item; the parts then
// own that folder, and the last item is returned.
static LPITEMIDLIST BindToParent(ShellMenuParts& parts) {
    int count = ItemCount(parts.items);
    LPITEMIDLIST item = parts.items;
    for (int i = 0; i < count - 1; ++i) {
        USHORT size = item->mkid.cb;
        auto single = static_cast<LPITEMIDLIST>(parts.allocator->Alloc(size + 2u));
        if (!single) return nullptr;
        std::memcpy(single, item, size);
        std::memset(reinterpret_cast<BYTE*>(single) + size, 0, 2);
        IShellFolder* child = nullptr;
        HRESULT hr = parts.folder->BindToObject(single, nullptr, IID_IShellFolder,
                                                reinterpret_cast<void**>(&child));
        parts.allocator->Free(single);
        if (FAILED(hr) || !child) {
            Diagnose("psfFolder->lpVtbl->BindToObject Failed!");
            return nullptr;
        }
        parts.folder->Release();
        parts.folder = child;
        item = NextItem(item);
        if (!item) {
            Diagnose("pidlNextItem = NULL!");
            return nullptr;
        }
    }
    return count > 0 ? item : nullptr;
}

int ShowFolderContextMenu(HWND wnd, const std::string& path, POINT pt) {
    std::wstring wide = WidePath(path);

    ShellMenuParts parts;
    if (FAILED(SHGetMalloc(&parts.allocator)) || !parts.allocator) {
        Diagnose("SHGetMalloc Failed!");
        return 0;
    }
    if (FAILED(SHGetDesktopFolder(&parts.folder)) || !parts.folder) {
        Diagnose("SHGetDesktopFolder Failed!");
        return 0;
    }
    ULONG eaten = 0;
    if (FAILED(parts.folder->ParseDisplayName(wnd, nullptr, &wide[0], &eaten, &parts.items,
                                              nullptr)) ||
        !parts.items) {
        Diagnose("psfFolder->lpVtbl->ParseDisplayName Failed!");
        return 0;
    }
    LPITEMIDLIST last = BindToParent(parts);
    if (!last) return 0;
    LPCITEMIDLIST lastItems[1] = {last};
    if (FAILED(parts.folder->GetUIObjectOf(wnd, 1, lastItems, IID_IContextMenu, nullptr,
                                           reinterpret_cast<void**>(&parts.contextMenu))) ||
        !parts.contextMenu) {
        Diagnose("psfFolder->lpVtbl->GetUIObjectOf Failed!");
        return 0;
    }
    parts.popup = CreatePopupMenu();
    if (!parts.popup ||
        FAILED(parts.contextMenu->QueryContextMenu(parts.popup, 0, 1, 0x7FFF, CMF_EXPLORE))) {
        Diagnose("pContextMenu->lpVtbl->QueryContextMenu Failed!");
        return 0;
    }

    ClientToScreen(wnd, &pt);
    int chosen =
        static_cast<int>(TrackPopupMenu(parts.popup, TPM_RETURNCMD, pt.x, pt.y, 0, wnd, nullptr));
    if (chosen == 0) return 0;
    if (IsBlockedFolderCommand(chosen)) {
        ShowMessage("File Management Functions Are Not Active!", "Inactive Item", MB_OK);
        return 0;
    }
    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = wnd;
    invoke.lpVerb = MAKEINTRESOURCEA(chosen - 1);
    invoke.nShow = SW_SHOWNORMAL;
    if (FAILED(parts.contextMenu->InvokeCommand(&invoke))) {
        Diagnose("pContextMenu->lpVtbl->InvokeCommand Failed!");
        return 0;
    }
    return 1;
}
