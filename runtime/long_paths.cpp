#include "runtime/long_paths.h"

std::wstring WideFromAnsi(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string AnsiFromWide(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string narrow(n - 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], n, nullptr, nullptr);
    return narrow;
}

bool IsLongPath(const std::string& path) {
    return path.size() >= MAX_PATH;
}

std::wstring LongPathForm(const std::string& path) {
    std::wstring wide = WideFromAnsi(path);
    if (wide.compare(0, 4, L"\\\\?\\") == 0) return wide;
    // The prefixed form is taken literally: it must be complete and use
    // backslashes only, which the full-path call sees to.
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n > 0) {
        std::wstring full(n, L'\0');
        n = GetFullPathNameW(wide.c_str(), n, &full[0], nullptr);
        full.resize(n);
        wide = full;
    }
    if (wide.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

DWORD FileAttributesOf(const std::string& path) {
    if (!IsLongPath(path)) return GetFileAttributesA(path.c_str());
    return GetFileAttributesW(LongPathForm(path).c_str());
}

std::FILE* OpenFileStream(const std::string& path, const char* mode) {
    if (!IsLongPath(path)) return std::fopen(path.c_str(), mode);
    return _wfopen(LongPathForm(path).c_str(), WideFromAnsi(mode).c_str());
}

bool DeleteFileOf(const std::string& path) {
    if (!IsLongPath(path)) return DeleteFileA(path.c_str()) != 0;
    return DeleteFileW(LongPathForm(path).c_str()) != 0;
}

HANDLE OpenForReading(const std::string& path, DWORD flags) {
    // Reading must never stop another program, or the user, from renaming,
    // moving or deleting the file meanwhile.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    if (!IsLongPath(path))
        return CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, flags,
                           nullptr);
    return CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       flags, nullptr);
}

// A wide path in the "\\?\" form as the program's own text, without the prefix.
static std::string WithoutLongPrefix(std::wstring path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        path = L"\\\\" + path.substr(8);
    else if (path.compare(0, 4, L"\\\\?\\") == 0)
        path = path.substr(4);
    return AnsiFromWide(path.c_str());
}

std::string UsablePath(const std::string& path) {
    if (!IsLongPath(path)) return path;
    std::wstring longForm = LongPathForm(path);
    DWORD n = GetShortPathNameW(longForm.c_str(), nullptr, 0);
    if (n == 0) return path;
    std::wstring shortForm(n, L'\0');
    n = GetShortPathNameW(longForm.c_str(), &shortForm[0], n);
    shortForm.resize(n);
    std::string narrow = WithoutLongPrefix(shortForm);
    return !narrow.empty() && !IsLongPath(narrow) ? narrow : path;
}

bool FitsShellBuffers(const std::string& folder) {
    std::wstring wide = WideFromAnsi(folder);
    if (wide.empty() || wide.back() != L'\\') wide += L'\\';
    return wide.size() <= MAX_PATH - 2;
}

std::string FullPath(const std::string& path) {
    return WithoutLongPrefix(LongPathForm(path));
}
