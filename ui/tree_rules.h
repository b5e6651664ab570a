// Path and menu rules of the folder tree pane. Free of window calls.
#pragma once
#include <string>
#include <vector>

// The folder text NavigateTo hands to the tree: one trailing backslash is
// added when missing, then removed again from anything longer than a drive
// root that is not a network path. "C:" gives "C:\", "C:\Drawings\" gives
// "C:\Drawings", "\\server\share" gives "\\server\share\".
std::string NavigationPath(std::string path);

// Entries of the shell's folder menu that would manage files; they are refused.
bool IsBlockedFolderCommand(int id);

// Path of a tree item from the texts the tree shows, item first and then
// each parent. The walk ends at the first text holding a drive ("Local Disk
// (C:)" gives "C:"), or, when reachedRoot, at the desktop; otherwise it gives
// "". The result ends with a backslash.
std::string ItemPathFromTexts(const std::vector<std::string>& texts, bool reachedRoot,
                              const std::string& desktopPath);
