#include "tests/support/unix_tools.h"

#include <windows.h>

void RunUnix(std::string line) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool EventuallyTrue(const std::function<bool()>& done) {
    for (DWORD start = GetTickCount(); !done();) {
        if (GetTickCount() - start > 10000) return false;
        Sleep(10);
    }
    return true;
}
