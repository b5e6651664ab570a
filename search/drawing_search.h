// The sub-folder search's walk: every .dwg file in and below a folder.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Watches the walk: called with the full path of every entry as the walk
// reaches it, before it pumps messages for that entry. Null in the program;
// tests use it to act while the walk is inside a particular folder.
extern void (*SearchEntryObserver)(const std::string& path);

// Depth-first walk in enumeration order, pumping messages once per entry:
// found() gets the full path of every file whose name ends in ".dwg" (any
// case). Hidden and system folders are walked; a folder the walk is already
// inside (reached again through a folder link) is not. Stops as soon as
// SearchActive is found cleared.
void WalkDrawings(const std::string& folder, const std::function<void(const std::string&)>& found);

// The walk with a result row in the search list for every drawing found.
void SearchDrawings(const std::string& folder, HWND list);
