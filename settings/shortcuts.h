// Shell shortcut (.lnk) files of the shown folder, and the Shortcuts button's
// menu of those that lead to folders.
#pragma once
#include <string>

// The target path stored in a shortcut file (absolute, or relative to the
// current directory), or "" when it cannot be loaded as a shell link or has no
// file-system target.
std::string ResolveShortcutTarget(const std::string& shortcutPath);

// A shortcut file's name as the menu shows it: the last four characters (the
// extension, in any letter case) dropped.
std::string ShortcutMenuName(const std::string& fileName);
// A menu item: the name, two blanks and the target in brackets.
std::string ShortcutMenuText(const std::string& name, const std::string& target);

// Pops up, at the mouse, a menu of the current directory's shortcuts whose
// targets are folders, and returns the chosen one's folder when it is still
// there; "" otherwise. No such shortcut: no menu.
std::string ShowShortcutsMenu();
