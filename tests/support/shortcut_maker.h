// Writes shell shortcut (.lnk) files for tests.
#pragma once
#include <string>

bool MakeShortcut(const std::string& linkPath, const std::string& targetPath);
