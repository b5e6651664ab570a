// Ordering the file list by one column.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// Puts the rows into the order of SortColumn and SortAscending; column 0 then
// holds rank texts (DETAIL) or file names (LIST).
void SortFileList();
// Writes the header marks, first flipping the direction when toggle is set.
void MarkSortHeader(bool toggle);
// A click on the header of a column: same column flips, another keeps the direction.
void SortByHeaderClick(int column);

// Orders the rows of a list view by one key per row (row i's key at index i),
// ascending or exactly reversed; column 0 then holds each row's rank text.
// Every row must carry a parameter of its own.
void OrderRowsByKeys(HWND list, const std::vector<std::string>& keys, bool ascending);

// Fills in column 0 of a sorted row of the file list, which the list view
// asks its parent for: the row's rank, or its name in LIST view.
void AnswerSortItem(NMLVDISPINFOA* info);
