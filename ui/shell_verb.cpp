#include "ui/shell_verb.h"

#include <windows.h>
#include <shellapi.h>

#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/strings.h"
#include "runtime/win_helpers.h"

const char* const kBrowseVerbKey = "Directory\\shell\\Browse with KVX";
const char* const kBrowseVerbCommandKey = "Directory\\shell\\Browse with KVX\\command";

std::string BrowseVerbCommand(const std::string& programPath) {
    return "\"" + programPath + "\" %1";
}

void RegisterBrowseVerb() {
    std::string command = BrowseVerbCommand(ExeFolder() + ExeName());
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kBrowseVerbCommandKey, 0, const_cast<char*>(""),
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
}

// A key with children cannot be deleted: the command key goes first.
void RemoveBrowseVerb() {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kBrowseVerbCommandKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kBrowseVerbKey);
}

// Windows NT 6.0 and later have user account control.
static bool NeedsElevation() {
    return OsVersionCode() > 8;
}

static void RunElevated(const char* parameters) {
    std::string programPath = Paths.programFolder + Paths.programName;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.lpVerb = "runas";
    info.lpFile = programPath.c_str();
    info.lpParameters = parameters;
    info.nShow = SW_SHOWMAXIMIZED;
    ShellExecuteExA(&info); // a refused prompt changes nothing and is not reported
}

void EnableShellIntegration() {
    if (NeedsElevation())
        RunElevated("SHELLON");
    else
        RegisterBrowseVerb();
}

void DisableShellIntegration() {
    if (NeedsElevation())
        RunElevated("SHELLOFF");
    else
        RemoveBrowseVerb();
}

// The switches count only as the whole argument: a folder whose name holds
// "SHELLON" is a folder to open.
bool RunShellSwitch(const std::string& arguments) {
    if (Trim(arguments) == "SHELLON") {
        RegisterBrowseVerb();
        return true;
    }
    if (Trim(arguments) == "SHELLOFF") {
        RemoveBrowseVerb();
        return true;
    }
    return false;
}
