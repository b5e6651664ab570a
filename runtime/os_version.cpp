// The operating-system version code: which colour-adaptation route previews
// take and whether the file-manager verb needs an elevated re-launch.
#include "runtime/win_helpers.h"

int OsVersionCodeFor(DWORD platformId, DWORD major, DWORD minor) {
    switch (platformId) {
    case VER_PLATFORM_WIN32s: return 0;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major == 4 && minor == 0) return 1;
        if (major == 4 && minor == 10) return 2;
        if (major == 4 && minor == 90) return 3;
        return 0;
    case VER_PLATFORM_WIN32_NT:
        if (major == 3 && minor == 51) return 4;
        if (major == 4 && minor == 0) return 5;
        if (major == 5 && minor == 0) return 6;
        if (major == 5 && minor == 1) return 7;
        if (major == 5 && minor >= 2) return 8;
        if (major == 6 && minor == 0) return 9;
        if (major == 6 && minor == 1) return 10;
        if (major >= 6 && minor >= 2) return 11;
        return 0;
    }
    return -1;
}

static int AskOsVersionCode() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return -1;
    return OsVersionCodeFor(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

// Asked once: the black background asks for every 8-bit preview it adapts.
int OsVersionCode() {
    static const int code = AskOsVersionCode();
    return code;
}
