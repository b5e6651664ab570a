// Shell shortcut (.lnk) files of the shown folder.
#pragma once
#include <string>

// The target path stored in a shortcut file (absolute, or relative to the
// current directory), or "" when it cannot be loaded as a shell link or has no
// file-system target.
std::string ResolveShortcutTarget(const std::string& shortcutPath);
