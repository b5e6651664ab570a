// Sort keys of the file list's rows, built from the rows' column texts.
// Free of window calls.
#pragma once
#include <string>
#include <vector>

// Code that orders release texts ("2004" -> "020040"); "" for any other text.
std::string VersionSortCode(const std::string& versionText);
// Leading part of a size key: the Size text's length, ordered numerically.
std::string SizeLengthKey(const std::string& sizeText);
// Key of a row for a sort column (2 Filename .. 6 Attributes, 7 Title ..
// 9 Last Saved By: texts, as Attributes).
std::string SortKey(int column, const std::string& fileName, const std::string& columnText);
// Rank text of row k: at least four digits, zero-padded ("0042").
std::string RankText(int k);
// Orders keys as the user's locale does, ignoring letter case.
int CompareKeys(const std::string& a, const std::string& b);
// The positions of keys in ascending CompareKeys order; equal keys keep their
// order. Much faster than sorting with CompareKeys itself.
std::vector<int> AscendingOrder(const std::vector<std::string>& keys);
// Headers of the file list's columns 0..9.
extern const char* const kFileListHeaders[10];
// A header's name with " ^" (ascending) or " v" (descending) when marked.
std::string MarkedHeader(const std::string& name, bool marked, bool ascending);
// Header text of a sortable column, with the mark when it is the sort column.
std::string HeaderText(int column, int sortColumn, bool ascending);
