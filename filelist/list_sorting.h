// Ordering the file list by one column.
#pragma once

// Puts the rows into the order of SortColumn and SortAscending; column 0 then
// holds rank texts (DETAIL) or file names (LIST).
void SortFileList();
// Writes the header marks, first flipping the direction when toggle is set.
void MarkSortHeader(bool toggle);
// A click on the header of a column: same column flips, another keeps the direction.
void SortByHeaderClick(int column);
