// The pieces of the folder tree pane shared between its source files: the
// pane's windows, its folders and the drop on the tree.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

// The pane's tree, null while the pane has none, and its hidden window.
HWND PaneTree();
HWND PaneDialog();
// The id of the thread that runs the pane, 0 while none runs.
DWORD PaneThreadId();

// Makes the tree fill the container's client area.
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

// Subclass of the tree ("DTVSystemTreeview"): context menu, keys,
// mouse wheel and dropped files.
void SubclassTreeView(HWND tree);

// The pane's hidden window, which hears the tree's notifications and the
// requests of the main thread, on the pane's thread.
HWND CreateTreeDialog();

// The folders of the tree, on the pane's thread (tree_folders.cpp): the
// desktop and the drives at the start, the rest read when first opened.
void StartTreeFolders(HWND dialog, HWND tree);
void EndTreeFolders();
// Selects the folder in the tree, reading the folders on its way; what is
// not done within `budget` milliseconds goes on in slices.
void SelectFolderInTree(const std::string& folder, DWORD budget);
// The next slice of reading (WM_KVX_TREE_WORK) of the pane of that window.
void DoTreeWork(HWND dialog);
// The tree's notifications: true when answered, with `result`.
bool AnswerTreeNotify(NMHDR* hdr, LRESULT& result);

// What the tree tells the pane (tree_pane.cpp): the user or a navigation
// selected the folder; a navigation to the folder ended without changing the
// selection.
void TreeSelectionChanged(const std::string& path);
void TreeSelectionUnchanged(const std::string& folder);

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
