#include "tests/support/main_window_start.h"

#include <windows.h>

#include "runtime/app_state.h"
#include "settings/settings_file.h"
#include "tests/support/pump_until.h"
#include "ui/main_window.h"

bool StartMainWindow(const ScratchFolder& home) {
    std::string program = home.file("program\\"), temp = home.file("temp\\");
    CreateDirectoryA(program.c_str(), nullptr);
    CreateDirectoryA(temp.c_str(), nullptr);
    PrepareSettingsFile(program, "Korvex.exe", temp);
    WritePrivateProfileStringA("MAIN", "Path", temp.c_str(), Paths.settingsFile.c_str());
    if (!CreateMainWindow()) return false;
    return PumpUntil([] { return TreeReady && !ListingActive; });
}

void CloseMainWindow() {
    if (Win.main && IsWindow(Win.main)) {
        SendMessageA(Win.main, WM_CLOSE, 0, 0);
        PumpUntil([] { return !IsWindow(Win.main); });
    }
    Win = MainWindow();
}
