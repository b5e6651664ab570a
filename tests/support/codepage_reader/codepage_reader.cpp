// A receiver of dropped files as most programs are: without a code page
// setting of its own, so it runs in the system's. It reads the file-drop
// block on the clipboard and writes to the file named first on its command
// line its code page, then each name as it reads it, in UTF-8, a line each.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || !OpenClipboard(nullptr)) return 2;
    HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    std::string out = std::to_string(GetACP()) + "\n";
    UINT count = drop ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, &name[0], static_cast<UINT>(name.size())));
        std::string utf8(name.size() * 4 + 1, '\0');
        utf8.resize(WideCharToMultiByte(CP_UTF8, 0, name.c_str(), static_cast<int>(name.size()),
                                        &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr));
        out += utf8 + "\n";
    }
    CloseClipboard();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) return 3;
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    return drop ? 0 : 1;
}
