// The system's folder picker, for the "..." buttons of the option dialogs.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

// Shows the folder browser owned by the active window (empty title,
// file-system folders only), starting at startFolder when that folder exists.
// The chosen folder's path, or "" when cancelled or when the choice has no
// file-system path.
std::string BrowseForFolder(const std::string& startFolder);

// The file-system path of a shell item list, whole in UTF-8 however many
// bytes its characters take; "" when it has none.
std::string PathOfItems(LPCITEMIDLIST items);
