#include "tests/support/pump_until.h"

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue; // a closed test window's quit is not ours
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  limitMs - elapsed < 50 ? limitMs - elapsed : 50, QS_ALLINPUT);
    }
}
