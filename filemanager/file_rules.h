// Rules of the file operations on listed drawings that need no window: which
// names may be acted on, the shell's source list and the context menu's texts.
#pragma once
#include <string>
#include <vector>

// Why the system cannot act on a listed name as it stands, as the end of a
// sentence about it ("ends in a dot or a space, ..."); "" when it can. The
// system drops a dot or a blank at a name's end, takes a device's name for
// the device, takes "*" and "?" as wildcards, "\\" or "/" as another
// folder. A blank at the start is kept and is no problem.
std::string NameProblem(const std::string& name);
bool IsActionableName(const std::string& name);

// Why a folder name typed by the user cannot name a new folder of the listed
// folder, as a whole sentence; "" when it can.
std::string FolderNameProblem(const std::string& name);

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
