// Keys of the sub-folder search's result rows, built from texts alone. Free of
// window calls.
#pragma once
#include <string>
#include <vector>

// Key that keeps results grouped folder by folder: the path relative to the
// search root, upper case, with the root's own drawings ("00000" + name) first
// and in every folder its own drawings (twenty zeros before the name) ahead of
// those of its sub-folders.
std::string SearchOrderKey(const std::string& path, const std::string& root);

// Sort key of a result row for a column (1 Filename .. 6 Attributes);
// columnText is the text of that column in the row. Ties are broken by the
// search order key of the row's path.
std::string ResultSortKey(int column, const std::string& fileName, const std::string& directory,
                          const std::string& columnText, const std::string& root);

// Headers of the result list's columns 0..6.
extern const char* const kResultHeaders[7];
// Header text of a result column (1..6), with " ^" or " v" on the sort column.
std::string ResultHeaderText(int column, int sortColumn, bool ascending);

// Index at which a row with this key joins rows whose keys are in order:
// before the first key that does not compare less, so a newer row comes
// first among equal keys.
size_t InsertionIndex(const std::vector<std::string>& keys, const std::string& key);
