#include <windows.h>

#include "runtime/app_state.h"
#include "filelist/listing_index.h"
#include "settings/settings_file.h"
#include "ui/command_line.h"
#include "ui/main_window.h"
#include "ui/shell_verb.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // "SHELLON" and "SHELLOFF" only edit the file-manager verb: no window,
    // no settings file.
    StartFolder = CommandLineArguments();
    if (RunShellSwitch(StartFolder)) return 0;
    PrepareSettingsFile();
    StartDrawingIndex();
    if (!CreateMainWindow()) return 1;
    int status = RunMessageLoop();
    StopDrawingIndex();
    return status;
}
