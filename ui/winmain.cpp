#include <windows.h>

#include "runtime/strings.h"
#include "settings/settings_file.h"
#include "ui/command_line.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string arguments = CommandLineArguments();
    // The file-manager verb switches end the process without a window.
    if (InStr(arguments, "SHELLON") > 0 || InStr(arguments, "SHELLOFF") > 0) return 0;
    PrepareSettingsFile();
    if (!CreateMainWindow()) return 1;
    return RunMessageLoop();
}
