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
// filling its client area, and does on the main thread what the tree's thread
// posts to it: the tooltip's mouse messages, the keys that act on the file
// list, and navigation.
void SubclassTreeContainer(HWND container);

// Hands one of the tree's mouse messages to the shared tooltip without
// waiting: posted to the container; a mouse move not yet relayed is replaced
// by the newer one.
void PostMouseMessageForToolTip(HWND tree, UINT msg, LPARAM lParam);

// Subclass of the borrowed tree ("DTVSystemTreeview"): context menu, keys,
// mouse wheel and dropped files.
void SubclassTreeView(HWND tree);

// Subclass of the hidden browser dialog: hides it at its first move and
// steps aside again.
void SubclassTreeDialog(HWND dialog);

// Asks the main thread, through the tree's container, to navigate to the
// folder, or to act on a key released in the tree (Esc, or A with Ctrl down).
void GoToFolderLater(HWND tree, const std::string& folder);
void PostTreeKey(HWND tree, WPARAM key);

// Files dropped on the tree: a menu to copy or move them to the folder under
// the drop point, or to go to their folder.
void DropFilesOnTree(HWND tree, HDROP drop);

// The drop menu: copy and move entries only when the target folder is valid.
HMENU BuildTreeDropMenu(const std::string& target, bool targetValid,
                        const std::string& sourceFolder);
