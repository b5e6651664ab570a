// The settings file "KVX.ini": where it lives, its default contents, and the
// [MAIN] section loaded at start-up and saved when the main window closes.
#pragma once
#include <string>

// Forms the work paths (Paths), chooses the settings file (the program's
// folder when it is writable, else the temporary folder) and writes the
// default contents when it is missing. Ends the process with status 1 when
// the file cannot be created.
void PrepareSettingsFile();
// The same for a given program folder (with trailing backslash), executable
// name inside it and temporary folder (trailing backslash added if missing).
void PrepareSettingsFile(const std::string& programFolder, const std::string& programName,
                         const std::string& tempFolder);

// A value of the [MAIN] section: its text ("" when absent) or its number (0).
std::string ReadMainText(const std::string& key);
int ReadMainInt(const char* key);

// Applies the [MAIN] section to the main window, the file list, the View menu
// and the program-wide settings.
void LoadMainSettings();

// Writes the [MAIN] section from the main window, the file list and the
// program-wide settings.
void SaveMainSettings();
