// Running Linux programs (archive checkers, a headless browser) from a test
// under Wine. Wine starts a Linux executable given to CreateProcess, but hands
// back no process handle, so the command reports its end through a file.
#pragma once
#include <string>

struct UnixCommandResult {
    bool finished = false; // false: could not start, or still running at the limit
    int status = -1;       // the shell's exit status
    std::string output;    // standard output and standard error together
};

// Runs a /bin/sh script and waits for it (at most limitMs).
UnixCommandResult RunUnixCommand(const std::string& script, unsigned limitMs = 120000);

// The Linux path of a Windows path ("" when Wine cannot tell, or not on Wine).
std::string UnixPath(const std::string& windowsPath);

// A text as one single-quoted shell word.
std::string ShellQuote(const std::string& text);

// Whether a program of that name is on the Linux PATH.
bool UnixProgramExists(const std::string& name);
