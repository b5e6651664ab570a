#include "runtime/shell_open.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "runtime/file_facts.h"
#include "runtime/long_paths.h"

std::wstring CommandForPath(const std::wstring& command, const std::wstring& path) {
    std::wstring line;
    for (size_t i = 0; i < command.size(); ++i) {
        wchar_t next = i + 1 < command.size() ? command[i + 1] : L'\0';
        if (command[i] == L'%' && (next == L'1' || next == L'L' || next == L'l')) {
            line += path;
            ++i;
        } else if (command[i] == L'%' && next == L'*') {
            ++i;
        } else {
            line += command[i];
        }
    }
    return line;
}

// The shell keeps paths in buffers of MAX_PATH characters and writes past
// them for a longer one, even when given its short form: such a file is
// handed to its program directly, by its short form when that fits the
// program's buffers, else in full.
static bool OpenByAssociation(const std::string& path) {
    std::wstring wide = WideFromAnsi(path);
    size_t dot = wide.find_last_of(L".\\");
    if (dot == std::wstring::npos || wide[dot] != L'.') return false;
    std::wstring extension = wide.substr(dot);
    // A command line holds at most 32,767 characters.
    std::wstring command(32768, L'\0');
    DWORD n = static_cast<DWORD>(command.size());
    if (FAILED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, extension.c_str(), L"open",
                                 &command[0], &n)))
        return false;
    command.resize(wcslen(command.c_str()));
    std::string shortPath = UsablePath(path);
    std::wstring line =
        CommandForPath(command, WideFromAnsi(IsLongPath(shortPath) ? path : shortPath));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool OpenFile(HWND owner, const std::string& path) {
    if (IsLongPath(path)) return OpenByAssociation(path);
    // The shell reports a failure with any value up to 32, a drawing without
    // a program to open it (31) included, not only with 0.
    return reinterpret_cast<INT_PTR>(
               ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOW)) > 32;
}
