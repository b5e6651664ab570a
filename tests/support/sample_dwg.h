// Where the shared real drawings are, when the run provides them.
#pragma once
#include <string>
#include <vector>

// The folder of real drawings (Windows path, trailing backslash), or "" when
// this run has none.
std::string SampleDrawingFolder();

// The rows of the folder's MANIFEST.tsv below its column names, each split
// into its tab-separated cells.
std::vector<std::vector<std::string>> ReadManifestRows(const std::string& folder);
