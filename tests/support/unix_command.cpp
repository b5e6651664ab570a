#include "tests/support/unix_command.h"

#include <windows.h>

#include "runtime/files.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"

std::string UnixPath(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    static ToUnix toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    int n = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, &wide[0], n);
    char* unix = toUnix(wide.c_str());
    if (!unix) return std::string();
    std::string path = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// One argument as the Windows command-line rules read it back (Wine splits a
// Linux program's command line by them): quoted, with backslashes doubled
// where they precede a quote.
static std::string WindowsArgument(const std::string& text) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

UnixCommandResult RunUnixCommand(const std::string& script, unsigned limitMs) {
    UnixCommandResult result;
    ScratchFolder work;
    std::string folder = UnixPath(work.path());
    if (folder.empty()) return result;
    if (folder.back() != '/') folder += '/';
    // The status file appears whole (renamed into place) once the script ends.
    std::string wrapped = "(" + script + ") >" + ShellQuote(folder + "out") + " 2>&1 </dev/null; " +
                          "echo $? >" + ShellQuote(folder + "rc.part") + "; mv " +
                          ShellQuote(folder + "rc.part") + " " + ShellQuote(folder + "rc");
    std::string commandLine = "/bin/sh -c " + WindowsArgument(wrapped);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA("/bin/sh", &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return result;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    // Waiting for another process's end: there is nothing to pump or hook.
    DWORD start = GetTickCount();
    while (!PathExists(work.file("rc"))) {
        if (GetTickCount() - start > limitMs) return result;
        Sleep(20);
    }
    result.finished = true;
    result.status = atoi(ReadBytes(work.file("rc")).c_str());
    result.output = ReadBytes(work.file("out"));
    return result;
}

bool UnixProgramExists(const std::string& name) {
    UnixCommandResult r = RunUnixCommand("command -v " + ShellQuote(name), 20000);
    return r.finished && r.status == 0;
}
