// File-system helpers shared by every subsystem.
#pragma once
#include <string>

// Folder of the running executable, with a trailing backslash, and its file name.
std::string ExeFolder();
std::string ExeName();

// The user's temporary folder with a trailing backslash.
std::string TempFolder();

// The whole contents of a file; false (and nothing read) when it cannot be
// opened.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes the bytes as the whole file, created or replaced; false when they
// did not all reach it.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// A path holding "*" or "?" exists when at least one entry matches it; any
// other path when its attributes can be read.
bool PathExists(const std::string& path);

// Sends one file to the Recycle Bin without a question; true when it is gone
// from its place. A file the bin cannot take stays where it is.
bool SendFileToTrash(const std::string& path);
