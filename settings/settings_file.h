// The settings file "KVX.ini": where it lives, its default contents, and the
// [MAIN] section loaded at start-up and saved when the main window closes.
#pragma once
#include <string>
#include <vector>

#include "settings/settings_rules.h"

// Forms the work paths (Paths), chooses the settings file (the program's
// folder when it is writable, else %APPDATA%\Korvex) and writes the default
// contents when it is missing. Ends the process with status 1 when the file
// cannot be created.
void PrepareSettingsFile();
// The same for a given program folder (with trailing backslash), executable
// name inside it, temporary folder and the user's settings folder (trailing
// backslashes added if missing). Without a settings folder, the temporary
// folder serves as one.
void PrepareSettingsFile(const std::string& programFolder, const std::string& programName,
                         const std::string& tempFolder, const std::string& userFolder);
void PrepareSettingsFile(const std::string& programFolder, const std::string& programName,
                         const std::string& tempFolder);

// Values of a section of the settings file, in the program's code page: the
// text after "=" without surrounding blanks, at most 2047 characters, "" for
// a key that is not there. The file is read once and kept in memory.
std::vector<std::string> ReadSettingsValues(const char* section,
                                            const std::vector<std::string>& keys);
// Writes the values into a section (a key's line replaced, or added at the
// end of the section, or the section added at the end of the file), the file
// replaced whole in its own encoding. When it cannot be, the user is told,
// the old file stays as it was, and the result is false.
bool WriteSettingsValues(const char* section, const std::vector<ProfileValue>& values);

// A value of the [MAIN] section: its text ("" when absent) or its number (0).
// A section without the window's and the columns' keys reads as a new file's.
std::string ReadMainText(const std::string& key);
int ReadMainInt(const char* key);
// The main window's outer rectangle ("Left", "Top", "Width", "Height"),
// brought onto the work area of the screen it is nearest to.
WindowBox ReadWindowBox();

// Applies the [MAIN] section to the main window, the file list, the View menu
// and the program-wide settings.
void LoadMainSettings();

// Writes the [MAIN] section from the main window, the file list and the
// program-wide settings. The file is replaced whole or not at all; when it
// cannot be, the user is told and the old file stays as it was.
void SaveMainSettings();
