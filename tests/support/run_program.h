// Runs another Windows program from a test (under Wine also its own
// programs, such as reg.exe) and reads what it printed.
#pragma once
#include <windows.h>

#include <string>

// Starts the command line, waits at most limitMs for it to end and returns its
// exit code; 0xFFFFFFFF when it cannot start, 0xFFFFFFFE when it had to be
// ended. What it writes to its standard output and error goes to *output.
DWORD RunProgram(const std::string& commandLine, std::string* output = nullptr,
                 DWORD limitMs = 30000);

// The program's path in the build folder: "Korvex.exe" beside the folder of
// the test programs.
std::string BuiltProgram(const std::string& name);
