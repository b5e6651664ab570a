// Opening a file with the program the system associates with it, whatever
// the length of its path.
#pragma once
#include <windows.h>

#include <string>

// The command of an association ("prog.exe" /x "%1") with the path put in
// for %1 and %L, and %* (further arguments) dropped. Free of window calls.
std::wstring CommandForPath(const std::wstring& command, const std::wstring& path);

// Opens the file as a double-click in the file manager does. True when the
// program was started.
bool OpenFile(HWND owner, const std::string& path);
