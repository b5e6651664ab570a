#include "tests/support/unix_command.h"

#include <cstdlib>

#include "runtime/files.h"
#include "tests/support/dwg_builder.h"

std::string UnixPath(const std::string& windowsPath) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    static UnixName toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    int n = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
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

namespace {

// One command started with the shell: its script and the files it writes.
struct UnixJob {
    std::string script, output, status;
    bool started = false;
};

UnixJob StartUnixJob(const std::string& command) {
    static unsigned counter = 0;
    std::string base = TempFolder() + "kvx_unix_" + std::to_string(GetTickCount()) + "_" +
                       std::to_string(++counter);
    UnixJob job{base + ".sh", base + ".out", base + ".rc"};
    // The status file appears whole (renamed into place) once the command ended.
    std::string status = ShellQuote(UnixPath(job.status));
    std::string pending = ShellQuote(UnixPath(job.status) + ".tmp");
    WriteBytes(job.script, "PATH=/usr/bin:/bin; export PATH\n( " + command + "\n) >" +
                               ShellQuote(UnixPath(job.output)) + " 2>&1\necho $? >" + pending +
                               "\nmv " + pending + " " + status + "\n");
    std::string line = "/bin/sh \"" + UnixPath(job.script) + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    job.started = CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &si, &pi);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    return job;
}

bool Finished(const UnixJob& job) {
    return !job.started || GetFileAttributesA(job.status.c_str()) != INVALID_FILE_ATTRIBUTES;
}

UnixRun Collect(const UnixJob& job) {
    UnixRun run;
    run.finished = job.started && GetFileAttributesA(job.status.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (run.finished) run.status = std::atoi(ReadBytes(job.status).c_str());
    run.output = ReadBytes(job.output);
    for (const std::string& file : {job.script, job.output, job.status})
        DeleteFileA(file.c_str());
    return run;
}

} // namespace

std::vector<UnixRun> RunUnixCommands(const std::vector<std::string>& commands, DWORD limitMs) {
    std::vector<UnixJob> jobs;
    for (const std::string& command : commands)
        jobs.push_back(StartUnixJob(command));
    // Waiting for other programs: no message of ours is involved.
    for (DWORD start = GetTickCount(); GetTickCount() - start < limitMs; Sleep(20)) {
        bool all = true;
        for (const UnixJob& job : jobs)
            all = all && Finished(job);
        if (all) break;
    }
    std::vector<UnixRun> runs;
    for (const UnixJob& job : jobs)
        runs.push_back(Collect(job));
    return runs;
}

UnixRun RunUnixCommand(const std::string& command, DWORD limitMs) {
    return RunUnixCommands({command}, limitMs).front();
}

bool UnixProgramExists(const std::string& name) {
    UnixRun run = RunUnixCommand("command -v " + ShellQuote(name), 20000);
    return run.finished && run.status == 0;
}
