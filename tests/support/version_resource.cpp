#include "tests/support/version_resource.h"

#include <windows.h>

#include <vector>

static std::string StringValue(std::vector<char>& block, const char* name) {
    char* text = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ||
        !text)
        return std::string();
    return std::string(text);
}

VersionResource ReadVersionResource(const std::string& exePath) {
    VersionResource version;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(exePath.c_str(), &handle);
    if (size == 0) return version;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(exePath.c_str(), 0, size, block.data())) return version;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return version;
    version.found = true;
    version.numbers[0] = HIWORD(fixed->dwFileVersionMS);
    version.numbers[1] = LOWORD(fixed->dwFileVersionMS);
    version.numbers[2] = HIWORD(fixed->dwFileVersionLS);
    version.numbers[3] = LOWORD(fixed->dwFileVersionLS);
    version.fileVersion = StringValue(block, "FileVersion");
    version.productVersion = StringValue(block, "ProductVersion");
    return version;
}
