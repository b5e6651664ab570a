// The sub-folder search's walk: every .dwg file in and below a folder.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "runtime/dir_entries.h"

// Watches the walk: called with the full path of every entry the walk
// pumps messages for, just before it does. Null in the program; tests use it
// to act while the walk is inside a particular folder.
extern void (*SearchEntryObserver)(const std::string& path);

// What the walk reports for a drawing: its full path and its directory entry.
using FoundDrawing = std::function<void(const std::string& path, const DirEntry& entry)>;

// Depth-first walk in enumeration order: found() gets every file whose name
// ends in ".dwg" (any case). Hidden and system folders are walked; a folder
// the walk is already inside (reached again through a folder link) is not.
// Messages are pumped before every folder is entered and every drawing
// reported, and every 50 ms at least while other entries pass, so a cleared
// SearchActive stops the walk before it does anything more.
void WalkDrawings(const std::string& folder, const FoundDrawing& found);

// The walk with a result row in the search list for every drawing found.
void SearchDrawings(const std::string& folder, HWND list);
