#include "tests/support/run_program.h"

#include "runtime/files.h"

// Moves whatever the pipe holds into text, without blocking.
static void DrainPipe(HANDLE pipe, std::string& text) {
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) || read == 0) return;
        text.append(buffer, read);
    }
}

DWORD RunProgram(const std::string& commandLine, std::string* output, DWORD limitMs) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return 0xFFFFFFFF;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                  nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return 0xFFFFFFFF;
    }

    std::string text;
    DWORD start = GetTickCount(), code = 0xFFFFFFFE;
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        DrainPipe(readEnd, text);
        if (GetTickCount() - start > limitMs) {
            TerminateProcess(process.hProcess, 0xFFFFFFFE);
            break;
        }
    }
    DrainPipe(readEnd, text);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    if (output) *output = text;
    return code;
}

std::string BuiltProgram(const std::string& name) {
    std::string path = ExeFolder() + "..\\" + name;
    char full[MAX_PATH] = {};
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full) : path;
}
