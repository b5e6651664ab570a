// File management on the listed drawings: copy and move to a folder, delete
// to the recycle bin, open, properties and new folders. The operations of the
// context menu act on the selected rows, the one under the menu point first.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The full name in a row's "Filename" column, however long.
std::string RowFileName(int row);

// The selected rows in list order, the row under the menu point (screen
// coordinates) moved first when it is one of them. A row that is not
// selected is never acted on, whatever is under the point.
std::vector<int> RowsActedOn(POINT menuPoint);

// Copies (move false) or moves the files of the selected rows into the
// folder. True when a transfer was started.
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

// The selected rows' files as they stand now, full paths of any length. A
// row whose name cannot be handed on as it is, or whose file has gone since
// the listing, is left out, and the user hears of it.
std::vector<std::string> SelectedFiles(const std::vector<int>& rows);
std::vector<int> SelectedRows(HWND list);
