// Files dragged out of the file list, and files dropped on it.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// Drags the selected rows' files out of the list as an OLE file drop, for
// the receiver to copy or move; returns after the drop or the cancel.
void DragSelectionOut(HWND list);

// Offers to copy or move files dropped on the list into the listed folder;
// the list is rebuilt after either.
void DropOnList(HDROP drop);

// The name of dropped file `index`, whole however long.
std::string DroppedFileName(HDROP drop, UINT index);

// The menu of a drop on the list: copy to and move to the target, cancel.
HMENU BuildListDropMenu(const std::string& target);
