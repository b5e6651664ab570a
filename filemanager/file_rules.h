// Rules of the file operations on listed drawings that need no window: which
// names may be acted on, the shell's source list and the context menu's texts.
#pragma once
#include <string>
#include <vector>

// A row's name may be acted on when it names one file of the listed folder as
// it stands: not empty, without blanks at
// either end (the system would act on the trimmed name) and without a
// character a file name cannot hold (the shell would take "*" and "?" as
// wildcards, "\" or "/" as another folder).
bool IsActionableName(const std::string& name);

// A folder name typed by the user that names one folder of the listed folder.
bool IsValidFolderName(const std::string& name);

// The paths as the shell's file operations take them: each followed by a NUL,
// the whole list by one more.
std::string SourceList(const std::vector<std::string>& paths);

// ".DWG", ".DWT", ".BAK" or ".SV$" in any letter case.
bool HasDrawingExtension(const std::string& path);
// Backups are never opened with the drawing program.
bool IsBackupName(const std::string& name);

// "&Open plan.dwg" for one selected row, "&Open 3 Selected Files" for more.
std::string OpenItemText(const std::string& name, int selected);
// "Create plan.zip" for plan.dwg: the name's last three characters become "zip".
std::string ZipItemText(const std::string& name);
// A Copy To or Move To target's item text: the folder with a trailing
// backslash, or "" when the target is hidden or empty (no item).
std::string TargetItemText(const std::string& shown, const std::string& folder);
