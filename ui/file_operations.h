// File management on the listed drawings, handed to the Windows shell: copy
// and move to a folder, delete to the recycle bin, open, properties and new
// folders. The menu point is the screen position at which the list's context
// menu was opened; the operations that take it act on the row under it first.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The full name in a row's "Filename" column, however long.
std::string RowFileName(int row);

// The hit row first, then the other selected rows in list order, until as
// many rows as are selected; none when the point is not on a row.
std::vector<int> RowsUnderPoint(POINT menuPoint);

// Copies (move false) or moves the files of the rows under the point into the
// folder. True when the shell was asked to do it.
bool TransferSelection(POINT menuPoint, bool move, const std::string& destination);
// The system folder browser for "Browse..."; "" (after "Function Cancelled")
// when no folder was chosen.
std::string AskForDestination();
// "Ne&w Folder...": creates a folder, transfers into it, refreshes the tree.
void TransferIntoNewFolder(POINT menuPoint, bool move);

// Sends the selected rows' files to the recycle bin.
void DeleteSelection(HWND list);
void OpenSelectionAtPoint(POINT menuPoint);
// Enter: every selected row's file.
void OpenSelection();
// A double-click: opens the drawing under the point (client coordinates).
void OpenRowAt(POINT clientPoint);
void ShowFileProperties(POINT menuPoint);

// Asks for a name and creates that folder in the listed folder; the folder's
// path with a trailing backslash, or "" when none was made. With refresh the
// tree pane is rebuilt to show it.
std::string CreateFolder(bool refresh);
