// The command line of Korvex: a folder to open, or one of its switches.
#pragma once
#include <string>

// The process's command line without the program name, as a folder: one
// pair of double quotes around the whole text is removed, so that a folder
// handed over quoted ("%1") is the same as one handed over bare (%1).
std::string CommandLineArguments();

// The arguments text without one pair of double quotes around all of it.
std::string UnquotedArguments(const std::string& arguments);

// The arguments text of a command line: a program name that starts with a
// double quote ends at the next one, an unquoted name at the first blank; the
// blanks after it are skipped and the rest is kept as it is.
std::string ArgumentsText(const std::string& commandLine);
