// The search window's result list: rows, their order, header marks, opening.
#pragma once
#include <windows.h>

#include <string>

#include "runtime/dir_entries.h"

// Gives a new result list its styles, font and columns, and the search root
// its rows' order keys are taken relative to.
void SetUpResultList(HWND list, const std::string& root);
// Frees what SetUpResultList attached; the list is being destroyed.
void ReleaseResultList(HWND list);

// One row for a found drawing, put straight at its place in the list's order,
// its size, date and attribute texts taken from its directory entry. Nothing
// when the list no longer exists. The list's drawing is held until
// ShowHeldResults: painting the list for every row would cost several times
// the whole search.
// The drawing's release is read while the walk goes on: its row comes with
// the next drawing found, or at FinishSearchResults.
// A drawing already read for its release (`read` non-null with a version)
// is not read again.
struct DrawingRead;
void AddSearchResult(HWND list, const std::string& path, const DirEntry& entry,
                     const DrawingRead* read = nullptr);
// Adds the row of the drawing found last; the walk has ended.
void FinishSearchResults(HWND list);
// Draws the rows added since the last call: always at the end of the search;
// on the search window's timer when the user has acted on the list, when new
// rows landed on the page shown or above it (a few times a second at most),
// and otherwise once a second.
void ShowHeldResults(HWND list, bool always);
// The user acted on the list (keys, mouse, scrolling, size, header): what
// the list shows must follow at the next showing.
void NoteResultListTouched(HWND list);

// Writes the header texts, marking ResultSortColumn when it is set.
void MarkResultHeaders(HWND list);
// Orders the rows by ResultSortColumn and ResultSortAscending.
void SortSearchResults(HWND list);
// At the end of a search, by ResultSortColumn and ResultSortAscending (the
// search order) again if a header click during the search reordered the rows,
// so that the header marks tell the truth.
void ReturnToSearchOrder(HWND list);
// A click on the header of column 1..6: the same column flips the direction.
void SortResultsByHeaderClick(HWND list, int column);

// Full path of a row's drawing: its Directory and Filename texts, whole.
std::string ResultPath(HWND list, int row);
// Opens the drawing of the row under the position of the current message.
void OpenResultAtMessagePos(HWND list);
