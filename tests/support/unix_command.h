// Runs Linux programs from a test under Wine, such as the real readers of the
// files Korvex writes. Wine starts a Linux executable given by its Unix path
// but gives back no handle to wait on, so the shell writes the command's
// output and exit status to files that the test then reads.
//
//   UnixRun run = RunUnixCommand("unzip -tqq " + ShellQuote(UnixPath(zip)));
//   EXPECT_EQ(0, run.status) << run.output;
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct UnixRun {
    bool finished = false; // false: could not start, or still running at the limit
    int status = -1;       // the exit status; -1 when the command did not finish in time
    std::string output;    // standard output and error, together
};

// Runs the command with /bin/sh (PATH /usr/bin:/bin) and waits for it.
UnixRun RunUnixCommand(const std::string& command, DWORD limitMs = 300000);
// Runs the commands side by side and waits for all of them.
std::vector<UnixRun> RunUnixCommands(const std::vector<std::string>& commands,
                                     DWORD limitMs = 300000);

// The Unix path of a Windows path (Z:\tmp\a gives /tmp/a); "" when none.
std::string UnixPath(const std::string& windowsPath);

// The text quoted for the shell, as one word.
std::string ShellQuote(const std::string& text);

// Whether a program of that name is on the Linux PATH.
bool UnixProgramExists(const std::string& name);
