// The system's folder picker, for the "..." buttons of the option dialogs.
#pragma once
#include <string>

// Shows the folder browser owned by the active window (empty title,
// file-system folders only), starting at startFolder when that folder exists.
// The chosen folder's path, or "" when cancelled or when the choice has no
// file-system path.
std::string BrowseForFolder(const std::string& startFolder);
