// The pieces of the folder tree pane shared between its source files: the
// subclasses of the borrowed windows and the drop on the tree.
#pragma once
#include <windows.h>

#include <string>

// The tree borrowed from the browser, null while the pane has none.
HWND PaneTree();
// The id of the thread that runs the pane's browser, 0 while none runs.
DWORD PaneThreadId();

// Makes the borrowed tree fill the container's client area.
void FitTreeToContainer(HWND tree, HWND container);

// Subclass of the pane's container ("DTVDialogContainer"): keeps the tree
// filling its client area.
void SubclassTreeContainer(HWND container);

// Subclass of the borrowed tree ("DTVSystemTreeview"): context menu, keys,
// mouse wheel and dropped files.
void SubclassTreeView(HWND tree);

// Subclass of the hidden browser dialog: hides it at its first move and
// steps aside again.
void SubclassTreeDialog(HWND dialog);

// Files dropped on the tree: a menu to copy or move them to the folder under
// the drop point, or to go to their folder.
void DropFilesOnTree(HWND tree, HDROP drop);

// The drop menu: copy and move entries only when the target folder is valid.
HMENU BuildTreeDropMenu(const std::string& target, bool targetValid,
                        const std::string& sourceFolder);
